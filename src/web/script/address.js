// The address read: #level=NAME, #compare=NAME,OTHER, #effects=CATEGORY,
// #find=TEXT or #tune=NAME&KEY=VALUE... (each name percent-encoded) opens the page there, and Back and
// Forward step through what was opened (history.js writes it). Last of the
// scripts: it starts the tool.
// The page as first opened: nothing chosen, nothing shown.
function showNothing() {
  showNoLevel();
  showNoComparison();
  showNoCategory();
  find('', true);
}

// The part of the tool an address opens, brought into view. While the page
// loads that waits for the first frame, which lays the page out anyway: at
// once it would lay out the page a second time, as it still grows.
let loading = true;
function reveal(id) {
  if (loading) requestAnimationFrame(() => $(id).scrollIntoView({ block: 'nearest' }));
  else $(id).scrollIntoView({ block: 'nearest' });
}

function follow() {
  forgetFindAddress();  // Back or Forward came first
  stopRefining();
  const focus = followedFromFind();
  if (!location.hash.startsWith('#tune=')) closeTune();
  if (location.hash === '') return showNothing();
  const at = location.hash.indexOf('=');
  if (at < 0) return;  // a heading of the page
  const key = location.hash.slice(1, at);
  // Every link's value read alike: percent-decoded whole (a comma written as
  // %2C too), or, not being percent-encoded text, as it stands, which then
  // names nothing and says so.
  let value = location.hash.slice(at + 1);
  try {
    value = decodeURIComponent(value);
  } catch {
    // as it stands
  }
  if (key === 'compare') {
    const values = value.split(',');
    if (values.length !== 2) {
      showNoComparison();
      compareStatus.textContent = 'A comparison names two levels, a comma between them: not ' + shown(value) + '.';
      return;
    }
    levelField.value = values[0];
    compareField.value = values[1];
    compareWith(values[1], true);
    reveal('settings-tool');
    if (focus && !comparison.hidden) comparison.focus();
  } else if (key === 'level') {
    levelField.value = value;
    showLevel(value, true);
    reveal('settings-tool');
    if (focus) block.focus();
  } else if (key === 'effects') {
    showCategory(value, true);
    reveal('effects-tool');
    if (focus) listing.focus();
  } else if (key === 'find') {
    find(value, true);
    reveal('find-tool');
  } else if (key === 'tune') {
    openTuneLink(location.hash);
    reveal('tune');
  }
}
// The address bar, Back and Forward end in popstate.
window.addEventListener('popstate', follow);
// A link to something the tool opens opens it there: the address moves by the
// history, and the browser's own move to the entry of that id in the
// reference (and of the focus with it) is not made.
const toolHash = /^#(level|effects|compare|find|tune)=/;
document.addEventListener('click', (event) => {
  const link = event.target.closest('a[href^="#"]');
  if (!link || event.button !== 0 || event.ctrlKey || event.metaKey || event.shiftKey || event.altKey) return;
  const hash = link.getAttribute('href');
  if (!toolHash.test(hash)) return;
  event.preventDefault();
  goTo(hash);
  follow();
});

$('tool').hidden = false;
// An entry's id is its address, so that without the script the address lands
// on it. With the script the tool opens it instead: while the page loads, the
// entry is not there for the browser to scroll to.
let landing = null;
try {
  landing = toolHash.test(location.hash) && document.getElementById(decodeURIComponent(location.hash.slice(1)));
} catch {
  // not percent-encoded text: no entry has it
}
if (landing) {
  const id = landing.id;
  landing.removeAttribute('id');
  window.addEventListener('load', () => setTimeout(() => (landing.id = id)), { once: true });
}
follow();
loading = false;
// The Find rows are made once the page is up, so that neither the first
// paint nor the first keystroke waits for them.
(window.requestIdleCallback || setTimeout)(makeRows);
