// Find: every level, category and file name that contains the text, in
// zorvin find's order, each a link that opens it. Each row is made once; a
// search puts the matching rows in the list.
const findField = $('find');
const findCount = $('find-count');
const findResults = $('find-results');
let rows = null;
const rowIndex = new Map();  // each row's place in rows
function makeRows() {
  if (rows !== null) return;
  rows = [];
  const addRow = (kind, name, key, target, within) => {
    const row = element('li', undefined, { 'data-kind': kind });
    row.append(element('span', kind, { class: 'kind' }), ' ', element('a', name, { href: hashFor(key, target) }));
    if (within) row.append(' ', element('span', within, { class: 'within' }));
    rowIndex.set(row, rows.length);
    rows.push({ row, folded: foldAscii(name) });
  };
  for (const name of levelNames) addRow('level', name, 'level', name);
  for (const name of categoryNames) addRow('category', name, 'effects', name);
  for (const [category, files] of categories) {
    for (const file of files.split('\n')) addRow('file', file, 'effects', category, category);
  }
}

// The list moves to the new matches in place, in zorvin's order: the rows
// that no longer match go, the new ones go in, and the rows already there
// cost nothing, so one more letter touches only the rows it changes. A
// keystroke puts in at most the rows the list shows at once and later tasks
// the rest, so typing never waits for hundreds of rows; until the list is
// whole it is busy, the rows past the point reached are hidden behind a
// marker, and a newer search drops what is left of an older one.
const rowsAtOnce = 20;
const rowsPerTask = 100;
const pending = element('li', undefined, { class: 'pending', 'aria-hidden': 'true' });
const stale = document.createRange();
// Inserts at most `budget` rows; returns whether rows are still to come.
function update(matches, budget) {
  pending.remove();
  let child = findResults.firstElementChild;
  // The rows before the first at or past `index` go, a run of them in one
  // call: a longer search can drop hundreds.
  const dropBefore = (index) => {
    let end = child;
    while (end && rowIndex.get(end) < index) end = end.nextElementSibling;
    if (end === child) return;
    stale.setStartBefore(child);
    if (end) stale.setEndBefore(end);
    else stale.setEndAfter(findResults.lastElementChild);
    stale.deleteContents();
    child = end;
  };
  for (const index of matches) {
    dropBefore(index);
    if (child && rowIndex.get(child) === index) {
      child = child.nextElementSibling;
    } else {
      if (budget-- === 0) {
        findResults.insertBefore(pending, child);
        return true;
      }
      findResults.insertBefore(rows[index].row, child);
    }
  }
  dropBefore(Infinity);
  return false;
}
let fills = 0;
function fill(matches) {
  const fillNumber = ++fills;
  const pass = (budget) => {
    if (fillNumber !== fills) return;
    const more = update(matches, budget);
    // Each later task lays out its own rows, or a keystroke's frame would.
    if (budget === rowsPerTask) void findResults.offsetHeight;
    if (more) {
      findResults.setAttribute('aria-busy', 'true');
      setTimeout(pass, 0, rowsPerTask);
    } else {
      findResults.removeAttribute('aria-busy');
    }
  };
  pass(rowsAtOnce);
}

let searched = '';
function find(text, fromAddress) {
  if (findField.value !== text) findField.value = text;
  if (text === searched) return;
  searched = text;
  makeRows();
  const part = foldAscii(text);
  const matches = [];
  if (text !== '') rows.forEach((r, i) => r.folded.includes(part) && matches.push(i));
  fill(matches);
  const count = matches.length;
  findCount.textContent = text === '' ? ''
    : count === 0 ? 'no level, category or file name contains ' + shown(text)
    : count + (count === 1 ? ' result' : ' results');
  if (!fromAddress) followFind(text);
}
// A search's first letter brings its results into view: the section to the
// top of the window where the list would start below it.
findField.addEventListener('input', () => {
  const starting = searched === '';
  find(findField.value, false);
  if (starting && findResults.getBoundingClientRect().top > innerHeight * 0.6) {
    $('find-tool').scrollIntoView({ block: 'start' });
  }
});

// A result followed takes the focus to what it opened.
let focusWhatOpens = false;
findResults.addEventListener('click', (event) => {
  if (event.target.closest('a')) focusWhatOpens = true;
});
// Whether the address now followed is a result's: asked once.
function followedFromFind() {
  const asked = focusWhatOpens;
  focusWhatOpens = false;
  return asked;
}

document.addEventListener('keydown', (event) => {
  if (event.key !== '/' || event.ctrlKey || event.metaKey || event.altKey) return;
  if (event.target.closest('input, textarea')) return;  // "/" is text there; no name holds one
  event.preventDefault();
  $('find-tool').scrollIntoView({ block: 'start' });
  findField.focus({ preventScroll: true });
  findField.select();
});
