// The level chooser: the field with its list of the window's 42 items (Alt+Down,
// F4 or the arrow opens it), "MP/SPSettings" (Enter in the field presses it),
// and the settings block. The same exact match as the window: a miss changes
// nothing shown and says so, with zorvin's suggestions.
const levelField = $('level');
const levelList = $('level-list');
const levelOpen = $('level-open');
const levelStatus = $('level-status');
const block = $('block');
const blockStatus = $('block-status');
const levelOptions = [...levelList.querySelectorAll('[role=option]')];
let activeOption = -1;

function showLevel(name, fromAddress) {
  const found = levels.get(name);
  if (found === undefined) return sayNotFound(levelStatus, 'level', name, levelNames, 'level');
  showIn(block, found, blockStatus);
  levelStatus.textContent = '';
  if (!fromAddress) go('level', name);
}

function setActiveOption(index) {
  activeOption = index;
  levelOptions.forEach((option, i) => option.setAttribute('aria-selected', String(i === index)));
  if (index >= 0) {
    levelField.setAttribute('aria-activedescendant', levelOptions[index].id);
    levelOptions[index].scrollIntoView({ block: 'nearest' });
  } else {
    levelField.removeAttribute('aria-activedescendant');
  }
}

function openLevelList(open) {
  levelList.hidden = !open;
  levelField.setAttribute('aria-expanded', String(open));
  if (open) setActiveOption(Math.max(0, levelOptions.findIndex((o) => o.textContent === levelField.value)));
  else setActiveOption(-1);
}

function pickLevel(index) {
  levelField.value = levelOptions[index].textContent;
  openLevelList(false);
  levelField.focus();
}

levelField.addEventListener('keydown', (event) => {
  const open = !levelList.hidden;
  if (event.key === 'ArrowDown' || event.key === 'ArrowUp') {
    event.preventDefault();
    if (!open || event.altKey) return openLevelList(!open || event.key === 'ArrowDown');
    const step = event.key === 'ArrowDown' ? 1 : -1;
    setActiveOption(Math.min(levelOptions.length - 1, Math.max(0, activeOption + step)));
  } else if (event.key === 'Enter') {
    event.preventDefault();
    if (open && activeOption >= 0) pickLevel(activeOption);
    else showLevel(levelField.value, false);
  } else if (event.key === 'Escape' && open) {
    event.preventDefault();
    openLevelList(false);
  } else if (event.key === 'F4') {
    event.preventDefault();
    openLevelList(!open);
  }
});
levelField.addEventListener('blur', () => setTimeout(() => {
  const at = document.activeElement;
  if (at !== levelField && at !== levelOpen && !levelList.contains(at)) openLevelList(false);
}, 150));
levelOpen.addEventListener('click', () => {
  openLevelList(levelList.hidden);
  levelField.focus();
});
levelList.addEventListener('mousedown', (event) => event.preventDefault()); // keep the focus in the field
levelList.addEventListener('click', (event) => {
  const option = event.target.closest('[role=option]');
  if (option) pickLevel(levelOptions.indexOf(option));
});
$('show-settings').addEventListener('click', () => showLevel(levelField.value, false));
