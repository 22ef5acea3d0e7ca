// Compare: the level shown beside another (or beside a map, your-map.js),
// field by field, from the fields the writer listed under each level's block. "same" is the same text,
// "written differently" the same numbers written otherwise (the writer gives
// each value's numbers in one form), anything else "differs".
const compareField = $('compare');
const compareList = $('compare-list');
const compareStatus = $('compare-status');
const comparison = $('comparison');
const comparisonRows = comparison.querySelector('tbody');

// The level list again, for this field.
compareList.append(...[...$('level-list').children].map((item, i) => {
  const copy = item.cloneNode(true);
  copy.id = 'compare-item-' + i;
  return copy;
}));

const compareHash = (name, other) => hashFor('compare', name) + ',' + encodeURIComponent(wellFormed(other));

// A level's fields: index in the record -> label, value, numbers.
function fieldsOf(name) {
  const fields = new Map();
  for (const value of levelEntries.get(name).querySelectorAll('.fields dd')) {
    fields.set(Number(value.dataset.field), {
      label: value.previousElementSibling.textContent, value: value.textContent, numbers: value.dataset.numbers,
    });
  }
  return fields;
}

// A value's numbers in one form, as the writer gives a level's (data-numbers):
// for a map's values, read in the page.
function numbersKey(value) {
  const words = value.split(/[ \t]+/).filter((word) => word !== '');
  if (words.length === 0) return undefined;
  const keys = [];
  for (const word of words) {
    const number = /^([+-]?)([0-9]*)(?:\.([0-9]*))?$/.exec(word);
    if (!number) return undefined;
    const [, sign, whole, fraction = ''] = number;
    const digits = whole.length + fraction.length;
    if (digits === 0 || digits > 15) return undefined;
    const zero = /^0*$/.test(whole + fraction);
    const rest = fraction.replace(/0+$/, '');
    keys.push((sign === '-' && !zero ? '-' : '') + (whole.replace(/^0+/, '') || '0') + (rest ? '.' + rest : ''));
  }
  return keys.join(' ');
}

function likeness(a, b) {
  if (a && b && a.value === b.value) return 'same';
  if (a && b && a.numbers !== undefined && a.numbers === b.numbers) return 'written differently';
  return 'differs';
}

// A value's cell: the swatch the writer drew for a level's value, if any, and its text.
function valueCell(name, field, value) {
  const cell = element('td', undefined, { class: 'value', 'data-level': name });
  const entry = levelEntries.get(name);
  const swatch = entry && entry.querySelector('.swatches [data-field="' + field + '"] svg');
  if (swatch) cell.append(swatch.cloneNode(true), ' ');
  cell.append(element('code', value ? value.value : ''));
  return cell;
}

function hideComparison() {
  comparison.hidden = true;
  comparisonRows.replaceChildren();
  compareStatus.textContent = '';
}

// Two sides' fields (index in the record -> label, value, numbers), one row
// each field either has, headed by their names; what stands beside the
// comparison (the previews) hears of it, and whether the second is a map.
function compareFields(names, sides, ofMap = false) {
  const [first, second] = sides;
  const indices = [...new Set([...first.keys(), ...second.keys()])].sort((x, y) => x - y);
  let differing = 0;
  const rows = indices.map((field) => {
    const a = first.get(field);
    const b = second.get(field);
    const status = likeness(a, b);
    if (status === 'differs') ++differing;
    const row = element('tr', undefined, { class: status.replace(' ', '-') });
    row.append(element('th', (a || b).label, { scope: 'row' }), valueCell(names[0], field, a), valueCell(names[1], field, b));
    const said = element('td', undefined, { class: 'status' });
    said.append(status === 'differs' ? element('strong', status) : status);
    row.append(said);
    return row;
  });
  comparison.querySelector('.first').textContent = names[0];
  comparison.querySelector('.second').textContent = names[1];
  comparisonRows.replaceChildren(...rows);
  comparison.hidden = false;
  compareStatus.textContent = differing + ' of ' + indices.length + ' fields differ';
  comparison.dispatchEvent(new CustomEvent('compared', { detail: { names, sides, ofMap } }));
}

function compareWith(other, fromAddress) {
  const name = levelField.value;
  if (!levels.has(other)) {
    return sayNotFound(compareStatus, 'level', other, levelNames, (s) => compareHash(name, s));
  }
  if (!showLevel(name, true)) return;
  compareFields([name, other], [fieldsOf(name), fieldsOf(other)]);
  if (!fromAddress) goTo(compareHash(name, other));
}

// Another level shown ends the comparison; compareWith shows the level first.
levelField.addEventListener('levelshown', hideComparison);

function showNoComparison() {
  compareField.value = '';
  hideComparison();
}

combobox(compareField, compareList, $('compare-open'), () => compareWith(compareField.value, false));
$('compare-button').addEventListener('click', () => compareWith(compareField.value, false));
