// The level chooser: the field with its list of the window's 42 items,
// "MP/SPSettings" (Enter in the field presses it), the settings block, and
// the level's light beside it. The same exact match as the window: a miss
// changes nothing shown and says so, with zorvin's suggestions.
const levelField = $('level');
const levelStatus = $('level-status');
const block = $('block');
const blockStatus = $('block-status');
const blockShows = $('block-shows');
const lightPart = $('light-part');
const lightRegion = $('light');

let shownLevel = null; // whose block the box shows

function showLevel(name, fromAddress) {
  const found = levels.get(name);
  if (found === undefined) {
    return sayNotFound(levelStatus, 'level', name, levelNames, (s) => hashFor('level', s));
  }
  showIn(block, found, blockStatus);
  shownLevel = name;
  // Whose block the box shows, also after a miss has left the field holding other text.
  blockShows.textContent = '\u2014 ' + name;
  levelStatus.textContent = '';
  // The writer drew the light beside the level's block in the reference.
  const light = levelEntries.get(name).querySelector('.light');
  lightRegion.replaceChildren(...light.cloneNode(true).childNodes);
  lightPart.hidden = false;
  // What stands beside a level shown (the comparison) hears of it.
  levelField.dispatchEvent(new Event('levelshown'));
  if (!fromAddress) go('level', name);
  return true;
}

function showNoLevel() {
  levelField.value = '';
  levelStatus.textContent = '';
  showIn(block, '', blockStatus);
  shownLevel = null;
  blockShows.textContent = '';
  lightRegion.replaceChildren();
  lightPart.hidden = true;
  levelField.dispatchEvent(new Event('levelshown'));
}

combobox(levelField, $('level-list'), $('level-open'), () => showLevel(levelField.value, false));
$('show-settings').addEventListener('click', () => showLevel(levelField.value, false));
