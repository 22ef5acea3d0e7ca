// Compare: the level shown beside another, field by field, from the fields
// the writer listed under each level's block. "same" is the same text,
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

function likeness(a, b) {
  if (a && b && a.value === b.value) return 'same';
  if (a && b && a.numbers !== undefined && a.numbers === b.numbers) return 'written differently';
  return 'differs';
}

// A value's cell: the swatch the writer drew for it, if any, and its text.
function valueCell(name, field, value) {
  const cell = element('td', undefined, { class: 'value', 'data-level': name });
  const swatch = levelEntries.get(name).querySelector('.swatches [data-field="' + field + '"] svg');
  if (swatch) cell.append(swatch.cloneNode(true), ' ');
  cell.append(element('code', value ? value.value : ''));
  return cell;
}

function hideComparison() {
  comparison.hidden = true;
  comparisonRows.replaceChildren();
  compareStatus.textContent = '';
}

function compareWith(other, fromAddress) {
  const name = levelField.value;
  if (!levels.has(other)) {
    return sayNotFound(compareStatus, 'level', other, levelNames, (s) => compareHash(name, s));
  }
  if (!showLevel(name, true)) return;
  const first = fieldsOf(name);
  const second = fieldsOf(other);
  const indices = [...new Set([...first.keys(), ...second.keys()])].sort((x, y) => x - y);
  let differing = 0;
  const rows = indices.map((field) => {
    const a = first.get(field);
    const b = second.get(field);
    const status = likeness(a, b);
    if (status === 'differs') ++differing;
    const row = element('tr', undefined, { class: status.replace(' ', '-') });
    row.append(element('th', (a || b).label, { scope: 'row' }), valueCell(name, field, a), valueCell(other, field, b));
    const said = element('td', undefined, { class: 'status' });
    said.append(status === 'differs' ? element('strong', status) : status);
    row.append(said);
    return row;
  });
  comparison.querySelector('.first').textContent = name;
  comparison.querySelector('.second').textContent = other;
  comparisonRows.replaceChildren(...rows);
  comparison.hidden = false;
  compareStatus.textContent = differing + ' of ' + indices.length + ' fields differ';
  if (!fromAddress) goTo(compareHash(name, other));
}

function showNoComparison() {
  compareField.value = '';
  hideComparison();
}

combobox(compareField, compareList, $('compare-open'), () => compareWith(compareField.value, false));
$('compare-button').addEventListener('click', () => compareWith(compareField.value, false));
