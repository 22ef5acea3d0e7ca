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
}

const previewFirst = $('preview-first');
const previewSecond = $('preview-second');

// Work that waits for the page's first frame and an idle moment after it, so
// that the block of a deep link is not held up by pictures.
const afterFirstFrame = (work) => requestAnimationFrame(() => (window.requestIdleCallback || setTimeout)(work));

// Pictures are drawn once a frame, just before it, for what stands then: ten
// moves within one frame (Back held down, links followed by a script) draw
// once. Each kind of drawing is named; a later one of the same name replaces
// the one waiting.
const drawings = new Map();
let frameAsked = false;
function drawBeforeNextFrame(name, draw) {
  drawings.set(name, draw);
  if (frameAsked) return;
  frameAsked = true;
  requestAnimationFrame(() => {
    frameAsked = false;
    const waiting = [...drawings.values()];
    drawings.clear();
    for (const work of waiting) work();
  });
}

// The level's picture is drawn just after the first frame; from then on in
// the frame after each level shown.
let firstFrameShown = false;
const drawLevel = () => {
  if (shownLevel !== null) drawPreview(previewFirst, shownLevel, fieldsOf(shownLevel));
};
afterFirstFrame(() => {
  firstFrameShown = true;
  drawLevel();
});
levelField.addEventListener('levelshown', () => {
  previewSecond.hidden = true;
  drawings.delete('second');
  if (firstFrameShown) drawBeforeNextFrame('first', drawLevel);
});
// A comparison puts the other level's or the map's light beside it.
comparison.addEventListener('compared', (event) => {
  const { names, sides } = event.detail;
  drawBeforeNextFrame('second', () => drawPreview(previewSecond, names[1], sides[1]));
});
