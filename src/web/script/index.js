// The index's filter: as you type, the index keeps the levels and categories
// whose names contain the text (ASCII case ignored), and a group with none
// goes. Without the script the index is the whole list of links.
const indexFilter = $('index-filter');
const indexCount = $('index-count');
const indexLinks = [...document.querySelectorAll('#index li')].map((item) => ({
  item, folded: foldAscii(item.textContent),
}));
const indexGroups = [...document.querySelectorAll('#index section')];

indexFilter.addEventListener('input', () => {
  const part = foldAscii(indexFilter.value);
  let kept = 0;
  for (const link of indexLinks) {
    link.item.hidden = !link.folded.includes(part);
    if (!link.item.hidden) ++kept;
  }
  for (const group of indexGroups) group.hidden = !group.querySelector('li:not([hidden])');
  indexCount.textContent = part === '' ? '' : kept === 0 ? 'no entry contains ' + shown(indexFilter.value)
    : kept + ' of ' + indexLinks.length + (kept === 1 ? ' entry' : ' entries');
});
$('index-filter-row').hidden = false;
