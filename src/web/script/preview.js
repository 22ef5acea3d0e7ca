// The previews beside the level's light: the level shown, and beside it the
// level or the map it is compared with (preview-model.js draws them). A
// level's values come from the fields the writer listed, a map's from its
// worldspawn.
// The values of a level (its listed fields) or a map (fieldsOfMap), by key.
const fieldOfKey = new Map([...mapFields].map(([key, { field }]) => [key, field]));
const valuesIn = (fields) => (key) => (fields.get(fieldOfKey.get(key)) || { value: '' }).value;

// Draws a light into a figure: its canvas, "NAME's light", and what it drew by default.
function drawPreview(figure, name, fields) {
  const { light, defaults } = previewLight(valuesIn(fields));
  const canvas = figure.querySelector('canvas');
  const size = canvas.width;
  canvas.getContext('2d').putImageData(new ImageData(renderPreview(light, size), size, size), 0, 0);
  const label = name + '\u2019s light';
  canvas.setAttribute('aria-label', label);
  figure.querySelector('figcaption').textContent = label;
  figure.querySelector('.defaults').replaceChildren(...defaults.map((text) => element('li', text)));
  figure.hidden = false;
  return light;
}

const previewFirst = $('preview-first');
const previewSecond = $('preview-second');

// The page's first frame shows the block of a deep link without waiting for
// its picture, drawn just after; from then on each level's is drawn at once.
let firstFrameShown = false;
let firstDrawWaiting = false;
const drawLevel = () => {
  if (shownLevel !== null) drawPreview(previewFirst, shownLevel, fieldsOf(shownLevel));
};
requestAnimationFrame(() => (window.requestIdleCallback || setTimeout)(() => {
  firstFrameShown = true;
  if (firstDrawWaiting) drawLevel();
}));
levelField.addEventListener('levelshown', () => {
  previewSecond.hidden = true;
  if (firstFrameShown) drawLevel();
  else firstDrawWaiting = true;
});
// A comparison puts the other level's or the map's light beside it.
comparison.addEventListener('compared', (event) => {
  const { names, sides } = event.detail;
  drawPreview(previewSecond, names[1], sides[1]);
});
