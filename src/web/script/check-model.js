// Effect names in a designer's files, found and judged as zorvin check
// finds and judges them: on the file's bytes, line by line (LF or CR LF, a
// byte-order mark no part of the first line), a quoted string on one line or
// a run of name characters ending in ".efx" in any case; the name what
// follows the last slash, its column in code points. The known names are
// the stock effects, in catalog order (the page cannot be given your own).
// The stock effects in catalog order, each with its category, and the names
// each folded name stands for: made when a file is first checked.
let stock = null;
function stockEffects() {
  if (stock) return stock;
  const category = new Map();
  for (const [name, listing] of categories) {
    for (const file of listing.split('\n')) if (file !== '' && !category.has(file)) category.set(file, name);
  }
  const folded = new Map();
  for (const file of category.keys()) folded.set(foldAscii(file), [...(folded.get(foldAscii(file)) || []), file]);
  return (stock = { names: [...category.keys()], category, folded });
}

const runByte = new Uint8Array(256);
for (const c of 'abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-./\\') runByte[c.charCodeAt(0)] = 1;
const lower = (b) => b | 0x20;
const endsInEfx = (bytes, begin, end) => end - begin >= 4 && bytes[end - 4] === 0x2e && lower(bytes[end - 3]) === 0x65 &&
  lower(bytes[end - 2]) === 0x66 && lower(bytes[end - 1]) === 0x78;
// Where the first "efx" in any case at or after from starts, or -1.
function nextEfx(bytes, from) {
  for (let at = from + 2; at < bytes.length; ++at) {
    if ((bytes[at] | 0x20) === 0x78 && (bytes[at - 1] | 0x20) === 0x66 && (bytes[at - 2] | 0x20) === 0x65) return at - 2;
  }
  return -1;
}

// Code points among bytes: every byte that does not continue a UTF-8 sequence.
function codePoints(bytes, begin, end) {
  let count = 0;
  for (let at = begin; at < end; ++at) count += (bytes[at] & 0xc0) !== 0x80;
  return count;
}

// The references of the line bytes[begin, end): [{ begin, end, column, endColumn }].
function findReferences(bytes, begin, end) {
  const found = [];
  let counted = 0;
  let countedTo = begin;
  const add = (from, to) => {
    if (!endsInEfx(bytes, from, to)) return;
    let name = from;
    for (let at = from; at < to; ++at) if (bytes[at] === 0x2f || bytes[at] === 0x5c) name = at + 1;
    if (to - name <= 4) return;
    counted += codePoints(bytes, countedTo, name);
    countedTo = name;
    found.push({ begin: name, end: to, column: counted + 1, endColumn: counted + 1 + codePoints(bytes, name, to) });
  };
  for (let at = begin; at < end;) {
    const c = bytes[at];
    if (c === 0x22 || c === 0x27) {
      const close = bytes.indexOf(c, at + 1);
      if (close >= 0 && close < end) {
        add(at + 1, close);
        at = close + 1;
        continue;
      }
      ++at;
    } else if (runByte[c]) {
      let to = at;
      while (to < end && runByte[bytes[to]]) ++to;
      add(at, to);
      at = to;
    } else {
      ++at;
    }
  }
  return found;
}

// The restricted Damerau-Levenshtein distance of two texts' code points, ASCII case ignored.
function swapDistance(first, second) {
  const a = [...foldAscii(first)];
  const b = [...foldAscii(second)];
  let before = new Array(b.length + 1).fill(0);
  let last = Array.from({ length: b.length + 1 }, (_, j) => j);
  for (let i = 1; i <= a.length; ++i) {
    const row = [i];
    for (let j = 1; j <= b.length; ++j) {
      row[j] = Math.min(last[j] + 1, row[j - 1] + 1, last[j - 1] + (a[i - 1] === b[j - 1] ? 0 : 1));
      if (i > 1 && j > 1 && a[i - 1] === b[j - 2] && a[i - 2] === b[j - 1]) row[j] = Math.min(row[j], before[j - 2] + 1);
    }
    [before, last] = [last, row];
  }
  return last[b.length];
}

// A name as zorvin judges it: null when known; else { kind, suggestions }.
const stem = (name) => name.slice(0, -4);
const judged = new Map();
function judge(name) {
  if (judged.has(name)) return judged.get(name);
  let verdict = null;
  const { names, category, folded } = stockEffects();
  const same = folded.get(foldAscii(name));
  if (category.has(name)) verdict = null;
  else if (same && same.length === 1) verdict = { kind: 'case', suggestions: same };
  else {
    const reach = Math.max(2, Math.floor([...stem(name)].length / 4));
    const near = names.map((known) => ({ known, distance: swapDistance(stem(name), stem(known)) }))
      .filter(({ distance }) => distance <= reach).sort((x, y) => x.distance - y.distance);
    verdict = { kind: 'unknown', suggestions: near.slice(0, 3).map(({ known }) => known) };
  }
  judged.set(name, verdict);
  return verdict;
}

// The message as zorvin check says it, in parts: text, and each suggestion's name.
function messageParts({ name, kind, suggestions }) {
  if (kind === 'case') return [shown(name) + ' is written \'', { name: suggestions[0] }, '\' in the stock effects'];
  if (suggestions.length === 0) return [shown(name) + ' is no stock effect; no stock effect is near it'];
  const parts = [shown(name) + ' is no stock effect; did you mean '];
  suggestions.forEach((suggestion, i) => {
    parts.push(i === 0 ? '\'' : i + 1 === suggestions.length ? '\' or \'' : '\', \'', { name: suggestion });
  });
  return [...parts, '\'?'];
}
const messageText = (problem) => messageParts(problem).map((part) => (typeof part === 'string' ? part : part.name)).join('');
const problemLine = (p) => p.file + ':' + p.line + ':' + p.column + ': ' + (p.kind === 'case' ? 'warning: ' : 'error: ') + messageText(p);
const counted = (n, one) => n + ' ' + one + (n === 1 ? '' : 's');
function checkSummary(problems, files, references) {
  const errors = problems.filter((p) => p.kind === 'unknown').length;
  const withProblems = new Set(problems.map((p) => p.file)).size;
  return counted(errors, 'error') + ' and ' + counted(problems.length - errors, 'warning') + ' in ' + withProblems + ' of ' +
    counted(files, 'file') + ' (' + counted(references, 'reference') + ')';
}

// A folder's files as zorvin walks it: in name order, part by part; what it skips.
const isBackup = (name) => /\.bak(\.[0-9]+)?$/.test(name);
const walkedOrder = (a, b) => {
  const x = a.split('/');
  const y = b.split('/');
  for (let i = 0; i < Math.min(x.length, y.length); ++i) if (x[i] !== y[i]) return x[i] < y[i] ? -1 : 1;
  return x.length - y.length;
};
