// Your map: a map source chosen here, read in the page (it goes nowhere),
// its worldspawn compared with the level shown, the map's column headed by
// its file name. The writer lists which key is which field (#map-keys).
const yourMap = $('your-map');
const mapFields = new Map([...$('map-keys').children].map(
    (item) => [item.dataset.key, { field: Number(item.dataset.field), label: item.textContent }]));

// The map's fields as fieldsOf gives a level's (a key twice counts as its
// last); one left empty, as the writer leaves out a level's, it has not.
function fieldsOfMap(pairs) {
  const fields = new Map();
  for (const { key, value } of pairs) {
    const known = mapFields.get(foldAscii(key));
    if (known) fields.set(known.field, { label: known.label, value, numbers: numbersKey(value) });
  }
  for (const [field, { value }] of fields) if (value === '') fields.delete(field);
  return fields;
}

// The map last read whole, which Tune can start from and write into; its
// buttons show while there is one.
let yourMapRead = null;
function mapChosen(read) {
  yourMapRead = read;
  $('tune-map').hidden = $('tune-download').hidden = read === null;
}

async function compareWithMap(file) {
  hideComparison();
  mapChosen(null);
  const name = levelField.value;
  if (name === '') return (compareStatus.textContent = 'Choose a level first: your map is compared with it.');
  if (!showLevel(name, true)) return;
  let pairs;
  try {
    const bytes = new Uint8Array(await file.arrayBuffer());
    if (bytes.length === 0) throw new MapFault(0, 0, 'is empty');
    pairs = readWorldspawn(bytes);
  } catch (fault) {
    compareStatus.textContent = fault instanceof MapFault ? mapFaultText(file.name, fault)
      : file.name + ' cannot be read: ' + fault.message;
    return;
  }
  mapChosen({ file, pairs });
  compareFields([name, file.name], [fieldsOf(name), fieldsOfMap(pairs)], true);
}

// The same file chosen again, after an edit, is read again: a field that
// still holds it would not change.
yourMap.addEventListener('click', () => (yourMap.value = ''));
yourMap.addEventListener('change', () => {
  if (yourMap.files.length === 1) compareWithMap(yourMap.files[0]);
});
