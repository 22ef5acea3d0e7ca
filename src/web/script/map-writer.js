// A light written into a map source's worldspawn, as zorvin apply writes
// it: a key the worldspawn has (in any case) keeps its spelling, its place
// and its line's spacing, and only its value changes; a key it lacks gets a
// line of its own after its last key line, with the file's line ending.
// Only the start of the map is read and rewritten: the rest of the new file
// is a slice of the chosen one, however big it is.
const chunkSize = 64 * 1024;
const longestHead = 1024 * 1024;

// The map's first chunks, as many as hold the worldspawn's keys, and those keys.
async function readMapHead(file) {
  if (file.size === 0) throw new MapFault(0, 0, 'is empty');
  for (let length = chunkSize; ; length += chunkSize) {
    const bytes = new Uint8Array(await file.slice(0, length).arrayBuffer());
    const whole = length >= file.size;
    const pairs = readWorldspawn(bytes, !whole);
    if (pairs) return { bytes, pairs };
    if (length > longestHead) throw new MapFault(0, 0, 'has a worldspawn whose keys run past 1 MB: that is no map an editor writes');
  }
}

const blanks = /^[ \t\v\f\r]*$/;
const latin1Decoder = new TextDecoder('latin1');
const latin1 = (bytes) => latin1Decoder.decode(bytes);

// Where the new key lines go and their text: after the last key line, each
// on a line of its own, indented as it is. A file with no LF whose lines end
// in CR alone gets CR.
function insertion(head, last, added) {
  const LF = 0x0a;
  const CR = 0x0d;
  const after = last.valueEnd + 1; // past the value's closing quote
  const crAlone = !head.includes(LF) && head.includes(CR);
  const lf = head.indexOf(crAlone ? CR : LF, after);
  const rest = lf < 0 ? '' : latin1(head.subarray(after, lf)).replace(/^[ \t\v\f\r]*/, '');
  const ownLine = lf >= 0 && (rest === '' || rest.startsWith('//'));
  let lineEnd = '\r';
  if (!crAlone) {
    let end = ownLine ? lf : head.indexOf(LF, after);
    if (end < 0) end = head.indexOf(LF);
    lineEnd = end > 0 && head[end - 1] === CR ? '\r\n' : '\n';
  }
  let indent = head.subarray(last.lineBegin, last.begin - 1);
  if (!blanks.test(latin1(indent))) indent = new Uint8Array(0);
  const parts = [];
  for (const { key, value } of added) {
    const line = [indent, encoder.encode('"' + key + '" "' + value + '"')];
    parts.push(...(ownLine ? [...line, lineEnd] : [lineEnd, ...line]));
  }
  if (!ownLine) parts.push(lineEnd);
  return { begin: ownLine ? lf + 1 : after, end: ownLine ? lf + 1 : after, parts };
}

// The head with each setting ({ key, value }) written; a Blob of its parts.
function writeSettings(head, pairs, settings) {
  const edits = [];
  const added = [];
  for (const setting of settings) {
    const lines = pairs.filter((pair) => foldAscii(pair.key) === foldAscii(setting.key));
    if (lines.length === 0) added.push(setting);
    for (const line of lines) {
      if (line.value !== setting.value) edits.push({ begin: line.valueBegin, end: line.valueEnd, parts: [setting.value] });
    }
  }
  if (added.length) edits.push(insertion(head, pairs[pairs.length - 1], added));
  edits.sort((x, y) => x.begin - y.begin);
  const parts = [];
  let cursor = 0;
  for (const edit of edits) {
    parts.push(head.subarray(cursor, edit.begin), ...edit.parts);
    cursor = edit.end;
  }
  parts.push(head.subarray(cursor));
  return parts;
}

// The chosen map with the settings written, as a file of the map's name.
async function mapWithSettings(file, settings) {
  const { bytes, pairs } = await readMapHead(file);
  return new File([...writeSettings(bytes, pairs, settings), file.slice(bytes.length)], file.name,
    { type: 'application/octet-stream' });
}
