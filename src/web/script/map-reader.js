// A map source's worldspawn read from its bytes as zorvin light reads it: up
// to the worldspawn's first brush (or its end), refusing what is no map
// source with the same words, line and column. tests/maps/ holds the files
// both are held to.
class MapFault extends Error {
  constructor(line, column, what) {
    super(what);
    this.line = line; // 0: the fault has no place
    this.column = column;
  }
}

// What each byte is: text, blank, line feed, braces, quote, slash, binary.
const [TEXT, BLANK, LF, OPEN, CLOSE, QUOTE, SLASH, BINARY] = [0, 1, 2, 3, 4, 5, 6, 7];
const byteClasses = (() => {
  const classes = new Uint8Array(256);
  classes.fill(BINARY, 0, 0x20);
  classes[0x7f] = BINARY;
  for (const c of ' \t\v\f\r') classes[c.charCodeAt(0)] = BLANK;
  classes[0x0a] = LF;
  classes[0x7b] = OPEN;
  classes[0x7d] = CLOSE;
  classes[0x22] = QUOTE;
  classes[0x2f] = SLASH;
  return classes;
})();
const deepestBraces = 64;
const utf8 = new TextDecoder('utf-8');

// A value in a message: printable ASCII as itself, else '?', cut after 40 bytes.
function quotedBytes(bytes) {
  const shown = [...bytes.subarray(0, 40)].map((b) => (b >= 0x20 && b < 0x7f ? String.fromCharCode(b) : '?')).join('');
  return '\'' + shown + (bytes.length > 40 ? '...\'' : '\'');
}

// The worldspawn's "key" "value" pairs, in their order, each with where its
// key and value stand (past the quotes) and where the key's line begins;
// throws MapFault. Of a file's first part (more), null when the worldspawn's
// keys run past it.
function readWorldspawn(bytes, more = false) {
  let line = 1;
  let lineBegin = 0;
  let depth = 0;
  let entities = 0;
  let brushSeen = false;
  let done = false;
  let mode = 'normal';
  let quote = null; // where the quote being read opened
  let key = null; // the key waiting for its value
  const opened = [];
  const pairs = [];
  let at = 0;
  const fail = (l, column, what) => {
    throw new MapFault(l, column, what);
  };
  const here = (what) => fail(line, at - lineBegin + 1, what);
  const noValue = () => fail(key.line, key.begin - key.lineBegin, 'a key without a value');
  const text = () => {
    if (depth >= 2) return;
    if (depth === 0) {
      if (entities === 0) return; // the header
      here('text outside an entity');
    }
    if (key) noValue();
    here('text in an entity that is neither a key nor a brush');
  };
  for (; at < bytes.length && !done; ++at) {
    const k = byteClasses[bytes[at]];
    if (mode === 'comment') {
      if (k === LF) mode = 'normal';
      else if (k !== BINARY) continue;
    } else if (mode === 'quote') {
      if (k === QUOTE) {
        mode = 'normal';
        if (depth !== 1) continue;
        if (!key) {
          key = { begin: quote.at + 1, end: at, line: quote.line, lineBegin: quote.lineBegin };
        } else {
          if (entities === 1) pairs.push({ ...key, valueBegin: quote.at + 1, valueEnd: at });
          key = null;
        }
        continue;
      }
      if (k === LF) fail(quote.line, quote.at - quote.lineBegin + 1, 'a quote that does not close');
      if (k !== BINARY) continue;
    } else if (mode === 'slash') {
      mode = 'normal';
      if (k === SLASH) {
        mode = 'comment';
        continue;
      }
      --at;
      text();
      ++at;
    }
    switch (k) {
      case TEXT: text(); break;
      case BLANK: break;
      case LF:
        if (key) noValue();
        ++line;
        lineBegin = at + 1;
        break;
      case OPEN:
        if (key) noValue();
        if (depth === 0) {
          ++entities;
          brushSeen = false;
        } else if (depth === 1) {
          if (entities === 1) done = true;
          brushSeen = true;
        }
        if (depth === deepestBraces) here('braces nested deeper than ' + deepestBraces);
        opened.push([line, at - lineBegin + 1]);
        ++depth;
        break;
      case CLOSE:
        if (key) noValue();
        if (depth === 0) here('a \'}\' that closes nothing');
        --depth;
        opened.pop();
        if (depth === 0 && entities === 1) done = true;
        break;
      case QUOTE:
        if (depth === 0) here('a quote outside an entity');
        if (depth === 1 && brushSeen) here('a key after the entity\'s first brush');
        quote = { at, line, lineBegin };
        mode = 'quote';
        break;
      case SLASH: mode = 'slash'; break;
      default:
        here('a binary byte (0x' + bytes[at].toString(16).toUpperCase().padStart(2, '0') + '): this is not a map source');
    }
  }
  if (!done) {
    if (more) return null;
    if (mode === 'quote') fail(quote.line, quote.at - quote.lineBegin + 1, 'a quote that does not close');
    if (mode === 'slash') {
      --at;
      text();
    }
    if (key) noValue();
    if (depth > 0) fail(...opened[opened.length - 1], 'a \'{\' that is never closed');
    if (entities === 0) fail(0, 0, 'has no worldspawn: it holds no entity');
  }
  const read = pairs.map((pair) => ({ ...pair, key: utf8.decode(bytes.subarray(pair.begin, pair.end)),
    value: utf8.decode(bytes.subarray(pair.valueBegin, pair.valueEnd)) }));
  const classnames = read.filter((pair) => foldAscii(pair.key) === 'classname');
  if (classnames.length === 0) fail(0, 0, 'has no worldspawn: its first entity has no classname');
  const classname = classnames[classnames.length - 1];
  if (foldAscii(classname.value) !== 'worldspawn') {
    fail(0, 0, 'has no worldspawn: its first entity is a ' + quotedBytes(bytes.subarray(classname.valueBegin, classname.valueEnd)));
  }
  return read;
}

// A fault as zorvin says it, after the file's name.
function mapFaultText(name, fault) {
  return fault.line === 0 ? name + ' ' + fault.message
    : name + ', line ' + fault.line + ', column ' + fault.column + ': ' + fault.message;
}
