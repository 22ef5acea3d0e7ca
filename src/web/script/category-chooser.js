// The category chooser and its listing. Moving through the list by keys
// refines one entry of the history, as typing in Find does; a click, or Enter
// once the keys have moved, makes the next move start a new one.
const categoryChooser = $('category');
const categoryStatus = $('category-status');
const listing = $('listing');
const listingStatus = $('listing-status');
const listingShows = $('listing-shows');
const movingKeys = new Set(['ArrowDown', 'ArrowUp', 'Home', 'End', 'PageDown', 'PageUp']);
let movedByKeys = false;  // the change under way comes from a key
let refining = false;     // the current entry was made by keys

function showCategory(name, fromAddress) {
  const files = categories.get(name);
  if (files === undefined) {
    return sayNotFound(categoryStatus, 'effects category', name, categoryNames, (s) => hashFor('effects', s));
  }
  if (categoryChooser.value !== name) categoryChooser.value = name;
  showIn(listing, files, listingStatus);
  listingShows.textContent = '\u2014 ' + name;
  categoryStatus.textContent = '';
  if (!fromAddress) go('effects', name, movedByKeys && refining && location.hash.startsWith('#effects='));
}

// Nothing chosen, nothing shown.
function showNoCategory() {
  categoryChooser.selectedIndex = -1;
  categoryStatus.textContent = '';
  showIn(listing, '', listingStatus);
  listingShows.textContent = '';
}

// The address moved by Back, Forward or a link: the next move by keys starts a new entry.
function stopRefining() {
  refining = false;
}

categoryChooser.addEventListener('keydown', (event) => {
  movedByKeys = movingKeys.has(event.key) || (event.key.length === 1 && !event.ctrlKey && !event.metaKey);
  if (event.key === 'Enter') refining = false;
});
categoryChooser.addEventListener('pointerdown', () => (movedByKeys = false));
categoryChooser.addEventListener('change', () => {
  showCategory(categoryChooser.value, false);
  refining = movedByKeys;
  movedByKeys = false;
});
