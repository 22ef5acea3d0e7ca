// What every part of the tool shares: the tables, read back from the page's
// own reference sections, the matching zorvin does, and its way of quoting a
// text in a message. Every text reaches the page as text, never as markup.
const $ = (id) => document.getElementById(id);

// The tables, with the LF line ends the parser gives them; a copy joins the
// lines with CR LF, as the windows do.
const crlf = (text) => text.split('\n').join('\r\n');
const entries = (selector) => new Map([...document.querySelectorAll(selector)].map(
    (entry) => [entry.querySelector('h3').textContent, entry]));
const texts = (byName) => new Map([...byName].map(([name, entry]) => [name, entry.querySelector('pre').textContent]));
const levelEntries = entries('#settings .entry');
const levels = texts(levelEntries);
const categories = texts(entries('#effects .entry'));
const levelNames = [...levels.keys()];
const categoryNames = [...categories.keys()];

// Matching as zorvin does it: on UTF-8 bytes, ASCII letters without regard to case.
const encoder = new TextEncoder();
const fold = (b) => (b >= 0x41 && b <= 0x5a ? b + 0x20 : b);
const bytesOf = (text) => Uint8Array.from(encoder.encode(text), fold);
// Substrings of UTF-8 and of UTF-16 agree for well-formed text, and ASCII
// folding changes no other character: the same matches as zorvin's bytes.
const foldAscii = (text) => text.replace(/[A-Z]+/g, (letters) => letters.toLowerCase());

function editDistance(a, b) {
  const row = Array.from({ length: b.length + 1 }, (_, j) => j);
  for (let i = 1; i <= a.length; ++i) {
    let diagonal = row[0];
    row[0] = i;
    for (let j = 1; j <= b.length; ++j) {
      const above = row[j];
      row[j] = Math.min(row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] === b[j - 1] ? 0 : 1));
      diagonal = above;
    }
  }
  return row[b.length];
}

// The name that differs only in case; or else the names that contain the
// text, in their order, then those up to a quarter of its length in edits
// (at least two) away, nearest first; three at most.
function nearest(text, names) {
  const typed = bytesOf(text);
  if (typed.length === 0 || typed.length > 64) return [];
  const part = foldAscii(text);
  const same = names.find((name) => foldAscii(name) === part);
  if (same !== undefined) return [same];
  const suggested = names.filter((name) => name !== '' && foldAscii(name).includes(part));
  const reach = Math.max(2, Math.floor(typed.length / 4));
  const near = [];
  for (const name of names) {
    if (name === '' || suggested.includes(name)) continue;
    const distance = editDistance(typed, bytesOf(name));
    if (distance <= reach) near.push({ distance, name });
  }
  near.sort((x, y) => x.distance - y.distance); // stable: ties keep the names' order
  return suggested.concat(near.map((n) => n.name)).slice(0, 3);
}

// A text in quotes as zorvin's messages show it: letters as themselves,
// control characters as \xNN of their UTF-8 bytes, cut after 60 characters.
const control = /^[\x00-\x1f\x7f-\x9f]$/;
const hex = (c) => [...encoder.encode(c)].map((b) => '\\x' + b.toString(16).padStart(2, '0')).join('');
function shown(text) {
  const chars = [...text];
  const escaped = chars.slice(0, 60).map((c) => (control.test(c) ? hex(c) : c)).join('');
  return '\'' + escaped + (chars.length > 60 ? '...' : '') + '\'';
}

function element(tag, text, attributes = {}) {
  const node = document.createElement(tag);
  if (text !== undefined) node.textContent = text;
  for (const [name, value] of Object.entries(attributes)) node.setAttribute(name, value);
  return node;
}

// "no level named 'x'; did you mean 'a', 'b' or 'c'?" into status, as zorvin
// says it, each suggestion a link to the address hrefFor gives it.
function sayNotFound(status, what, text, names, hrefFor) {
  status.replaceChildren('no ' + what + ' named ' + shown(text));
  const near = nearest(text, names);
  near.forEach((suggestion, i) => {
    status.append(i === 0 ? '; did you mean \'' : i + 1 === near.length ? '\' or \'' : '\', \'');
    status.append(element('a', suggestion, { href: hrefFor(suggestion) }));
  });
  if (near.length) status.append('\'?');
}

// A status speaks of what a box shows: it goes when the box changes.
function showIn(box, text, status) {
  if (box.textContent === text) return;
  box.textContent = text;
  status.textContent = '';
}
