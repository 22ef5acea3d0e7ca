// The address written: what the tool opens goes into the history as
// #level=NAME, #compare=NAME,OTHER, #effects=CATEGORY or #find=TEXT, each
// name percent-encoded; address.js, the last script, reads it back.
// A text that is not well-formed UTF-16 (a lone surrogate, typed through an
// input method or pasted) cannot be percent-encoded: it goes in made well-formed.
const wellFormed = (text) => (text.toWellFormed ? text.toWellFormed()
  : text.replace(/[\uD800-\uDBFF](?![\uDC00-\uDFFF])|(?<![\uD800-\uDBFF])[\uDC00-\uDFFF]/g, '\uFFFD'));
const hashFor = (key, value) => '#' + key + '=' + encodeURIComponent(wellFormed(value));
const go = (key, value, replace) => goTo(hashFor(key, value), replace);
function goTo(hash, replace) {
  writeFindAddress();
  if (location.hash === hash) return;
  history[replace ? 'replaceState' : 'pushState'](null, '', hash);
}

// Find's address is written in a task of its own, after the keystroke's
// frame; whatever moves the address next writes it first. Typing refines one
// entry of the history, a new search starts another, and an emptied field
// (Escape, or every letter deleted) leaves no search in the address.
let findAddress = null;
function followFind(text) {
  if (findAddress === null) setTimeout(writeFindAddress);
  findAddress = text;
}
function writeFindAddress() {
  if (findAddress === null) return;
  const text = findAddress;
  findAddress = null;
  if (text !== '') go('find', text, location.hash.startsWith('#find='));
  else if (location.hash.startsWith('#find=')) history.replaceState(null, '', location.pathname + location.search);
}
// Back or Forward came before Find's address was written: it is not.
function forgetFindAddress() {
  findAddress = null;
}
