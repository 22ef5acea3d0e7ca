// Tune: a light changed by eye. The panel starts from the level shown (its
// base) or from your map's light, and holds a field per light key, with a
// slider, a colour or the compass beside it. Every change repaints the tuned
// light's preview at once; its difference from the base and the nearest
// stock lights follow a moment later, and the address carries the tuning.
const tunePanel = $('tune');
const tuneStatus = $('tune-status');
const tuneHeight = $('tune-height');
const tuneYaw = $('tune-yaw');
const compass = $('tune-compass');
const compassSun = compass.querySelector('.sun');
const tunedFigure = $('tune-tuned');
const baseFigure = $('tune-base');
const horizon = 44; // the compass's rim, in its drawing's units

let tuning = null; // { name, level, base, values }: the base's name ('' for none), its level or null, key -> value

// A field per key, and the control beside it: a slider (its range and step)
// or a colour; made when the panel first opens.
const sliderRanges = { ambient: [0, 1, 0.01], diffusefraction: [0, 1, 0.01], sunlight: [0, 3, 0.05] };
let tuneFields = null;
function makeTuneFields() {
  if (tuneFields) return;
  tuneFields = new Map(lightKeys.map((key) => {
    const id = 'tune-key-' + key;
    const text = element('input', undefined, { id, autocomplete: 'off', autocapitalize: 'off', spellcheck: 'false' });
    const range = sliderRanges[key];
    const control = range ? element('input', undefined, { type: 'range', min: range[0], max: range[1], step: range[2], 'aria-label': key })
      : colourKeys.includes(key) ? element('input', undefined, { type: 'color', 'aria-label': key + ' picker' }) : null;
    const row = element('div', undefined, { class: 'tune-key' });
    row.append(element('label', key, { for: id }), text, ...(control ? [control] : []));
    $('tune-keys').append(row);
    text.addEventListener('input', () => {
      tuning.values.set(key, text.value);
      moveControl(key);
      changed();
    });
    control?.addEventListener('input', () => setValue(key, control.type === 'color' ? colourOfHex(control.value) : writtenNumber(Number(control.value))));
    return [key, { text, control }];
  }));
}

const lightOf = (values) => previewLight((key) => values.get(key) ?? '');
const sunPoint = ({ height, yaw }) => {
  const distance = horizon * (90 - Math.min(90, Math.max(-9, height))) / 90;
  return [distance * Math.cos(radians(yaw)), -distance * Math.sin(radians(yaw))];
};

// A canvas drawn at its size in device pixels, crisp at any zoom.
function paint(canvas, light) {
  const size = Math.round(128 * Math.min(3, devicePixelRatio || 1));
  if (canvas.width !== size) canvas.width = canvas.height = size;
  canvas.getContext('2d').putImageData(new ImageData(renderPreview(light, size), size, size), 0, 0);
}

// A value given that zorvin --set would refuse; the base's own are as they are.
const badValue = (key) => tuning.values.get(key) !== tuning.base.get(key) && valueNeeds(key, tuning.values.get(key)) !== '';

// The controls moved to what a key's field says (a value they cannot show leaves them be).
function moveControl(key) {
  const value = tuning.values.get(key);
  const { text, control } = tuneFields.get(key);
  text.setAttribute('aria-invalid', String(badValue(key)));
  const position = control?.type === 'range' ? readNumber(value) : control?.type === 'color' ? colourHex(value) : undefined;
  if (position !== undefined) control.value = position;
  const sun = key === 'sundirection' && sunAngles(value);
  if (!sun) return;
  tuneHeight.value = sun.height;
  tuneYaw.value = sun.yaw;
  const h = writtenAngle(Math.abs(sun.height));
  tuneHeight.setAttribute('aria-valuetext', h + (sun.height < 0 ? '° below the horizon' : '° above the horizon'));
  tuneYaw.setAttribute('aria-valuetext', 'yaw ' + writtenAngle(sun.yaw) + '°');
}

// The tuned light drawn, and the compass's sun where it stands, in its colour.
function drawTuned() {
  const { light, defaults: notes } = lightOf(tuning.values);
  paint(tunedFigure.querySelector('canvas'), light);
  const list = tunedFigure.querySelector('.defaults');
  if (list.textContent !== notes.join('')) list.replaceChildren(...notes.map((note) => element('li', note)));
  const sun = sunAngles(tuning.values.get('sundirection'));
  compassSun.toggleAttribute('hidden', !sun);
  if (!sun) return;
  const [x, y] = sunPoint(sun);
  compassSun.querySelector('.ray').setAttribute('x2', x);
  compassSun.querySelector('.ray').setAttribute('y2', y);
  const disc = compassSun.querySelector('.disc');
  disc.setAttribute('cx', x);
  disc.setAttribute('cy', y);
  const hex = colourHex(tuning.values.get('suncolor'));
  if (hex) disc.setAttribute('fill', hex);
  else disc.removeAttribute('fill');
}

// The address follows the tuning, a few times a second at most, in place.
let addressTimer = 0;
const tuneAddress = () => tuneHash(tuning.level ?? '', tuning.level ? tuning.base : new Map(), tuning.values);
function writeTuneAddress() {
  clearTimeout(addressTimer);
  addressTimer = 0;
  if (tuning) goTo(tuneAddress(), true);
}

// The difference from the base and the five nearest stock lights, worked
// out a little after the last change, a few pictures a task.
let nearestTimer = 0;
let nearestRun = 0;
function rankNearest() {
  const run = ++nearestRun;
  const picture = renderPreview(lightOf(tuning.values).light, compareSize);
  const base = tuning.base.size ? pictureDifference(renderPreview(lightOf(tuning.base).light, compareSize), picture) : null;
  const ranked = [];
  const step = () => {
    if (run !== nearestRun) return;
    const until = performance.now() + 10;
    while (ranked.length < levelNames.length && performance.now() < until) {
      const name = levelNames[ranked.length];
      ranked.push({ name, difference: shownDifference(pictureDifference(picture, stockPicture(name))) });
    }
    if (ranked.length < levelNames.length) return setTimeout(step);
    ranked.sort((x, y) => x.difference - y.difference); // stable: ties in catalog order
    $('tune-difference').textContent = base === null ? '' : 'Difference from ' + tuning.name + '\u2019s light: ' + shownDifference(base).toFixed(1);
    $('tune-nearest').replaceChildren(...ranked.slice(0, 5).map(({ name, difference }) => {
      const item = element('li');
      item.append(element('a', name, { href: hashFor('level', name) }), ' ' + difference.toFixed(1));
      return item;
    }));
  };
  step();
}

function changed() {
  drawTuned();
  if (!addressTimer) addressTimer = setTimeout(writeTuneAddress, 250);
  clearTimeout(nearestTimer);
  nearestTimer = setTimeout(rankNearest, 30);
}

function setValue(key, value) {
  tuneFields.get(key).text.value = value;
  tuning.values.set(key, value);
  moveControl(key);
  changed();
}

// The sun's sliders and the compass write sundirection; each keeps what the other gave.
const sunNow = () => sunAngles(tuning.values.get('sundirection')) || { height: Number(tuneHeight.value), yaw: Number(tuneYaw.value) };
tuneHeight.addEventListener('input', () => setValue('sundirection', sunValue(Number(tuneHeight.value), sunNow().yaw)));
tuneYaw.addEventListener('input', () => setValue('sundirection', sunValue(sunNow().height, Number(tuneYaw.value))));
// On the compass the centre is straight up, the rim the horizon, yaw 0 to the right and 90 up.
function pointSun(event) {
  const point = new DOMPoint(event.clientX, event.clientY).matrixTransform(compass.getScreenCTM().inverse());
  const distance = Math.min(horizon, Math.hypot(point.x, point.y));
  const yaw = degrees(Math.atan2(-point.y, point.x));
  setValue('sundirection', sunValue(90 * (1 - distance / horizon), yaw < 0 ? yaw + 360 : yaw));
}
compass.addEventListener('pointerdown', (event) => {
  if (event.button !== 0 || !tuning) return;
  compass.setPointerCapture(event.pointerId);
  pointSun(event);
});
compass.addEventListener('pointermove', (event) => {
  if (compass.hasPointerCapture(event.pointerId)) pointSun(event);
});

// The stock levels' suns, faint on the compass.
let sunsMarked = false;
function markStockSuns() {
  if (sunsMarked) return;
  sunsMarked = true;
  for (const name of levelNames) {
    const sun = sunAngles(levelValues(name).get('sundirection'));
    if (!sun) continue;
    const [cx, cy] = sunPoint(sun);
    const mark = document.createElementNS(compass.namespaceURI, 'circle');
    for (const [attribute, value] of Object.entries({ cx, cy, r: 2.5 })) mark.setAttribute(attribute, value);
    compass.querySelector('.marks').append(mark);
  }
}

// A level's light keys and their values; a map's (fieldsOfMap).
const lightValues = (valueOf) => new Map(lightKeys.map((key) => [key, valueOf(key)]));
const levelValues = (name) => lightValues(valuesIn(fieldsOf(name)));

// The panel opened on a base ({ name, level, base }) with these values.
function openTune(from, values, said = '') {
  tuning = { ...from, values: new Map(values) };
  makeTuneFields();
  markStockSuns();
  $('tune-heading').textContent = from.name === '' ? 'Tune a light' : 'Tune ' + from.name + '\u2019s light';
  baseFigure.hidden = from.base.size === 0;
  if (from.base.size) {
    paint(baseFigure.querySelector('canvas'), lightOf(from.base).light);
    baseFigure.querySelector('canvas').setAttribute('aria-label', from.name + '\u2019s light');
    baseFigure.querySelector('figcaption').textContent = from.name + '\u2019s light';
  }
  for (const key of lightKeys) {
    tuneFields.get(key).text.value = tuning.values.get(key);
    moveControl(key);
  }
  tunePanel.hidden = false;
  tuneStatus.textContent = said;
  drawTuned();
  clearTimeout(nearestTimer);
  rankNearest();
}

function closeTune() {
  clearTimeout(addressTimer);
  clearTimeout(nearestTimer);
  addressTimer = 0;
  ++nearestRun;
  tuning = null;
  tunePanel.hidden = true;
}

// From a #tune= link: its base, if it names a level, and its values over the base's.
function openTuneLink(hash) {
  const { name, values, left } = readTuneHash(hash);
  let from = { name: '', level: null, base: new Map() };
  if (levels.has(name)) {
    levelField.value = name;
    showLevel(name, true);
    from = { name, level: name, base: levelValues(name) };
  } else if (name !== '') {
    left.unshift(shown(name) + ', which is no level');
  }
  const start = new Map(lightKeys.map((key) => [key, from.base.get(key) ?? '']));
  for (const [key, value] of values) start.set(key, value);
  openTune(from, start, left.length ? 'Left out of the link: ' + left.join('; ') + '.' : '');
}

const startTuning = (from) => {
  openTune(from, from.base);
  goTo(tuneAddress());
  tuneFields.get(lightKeys[0]).text.focus();
};
$('tune-level').addEventListener('click', () => startTuning({ name: shownLevel, level: shownLevel, base: levelValues(shownLevel) }));
$('tune-map').addEventListener('click', () => startTuning({ name: yourMapRead.file.name, level: null,
  base: lightValues(valuesIn(fieldsOfMap(yourMapRead.pairs))) }));
// Another level shown ends a tuning that is not of it.
levelField.addEventListener('levelshown', () => {
  if (tuning && tuning.level !== shownLevel) closeTune();
});

$('tune-reset').addEventListener('click', () => {
  for (const key of lightKeys) setValue(key, tuning.base.get(key) ?? '');
});
$('tune-close').addEventListener('click', () => {
  closeTune();
  if (shownLevel !== null) go('level', shownLevel);
  $('light-part').querySelector('button').focus();
});

// Only values zorvin --set takes are copied or written: "sunlight 'x' needs one number".
function faultyValue() {
  const key = lightKeys.find(badValue);
  if (key === undefined) return false;
  tuneStatus.textContent = key + ' ' + shown(tuning.values.get(key)) + ' needs ' + valueNeeds(key, tuning.values.get(key)) + ': nothing was copied or written.';
  tuneFields.get(key).text.focus();
  return true;
}

$('tune-copy-keys').addEventListener('click', () => {
  if (!faultyValue()) copy(tunedMapKeys(tuning.level, tuning.values).map(([k, v]) => '"' + k + '" "' + v + '"').join('\n'), tuneStatus);
});
// zorvin apply SOURCE MAP --set KEY=VALUE...: the source the base level, or
// else your map itself; each key that differs from the base set.
$('tune-copy-command').addEventListener('click', () => {
  if (faultyValue()) return;
  const map = yourMapRead ? yourMapRead.file.name : 'MAP';
  const words = ['zorvin', 'apply', tuning.level ?? map, map];
  for (const key of lightKeys) {
    if (tuning.values.get(key) !== (tuning.base.get(key) ?? '')) words.push('--set', key + '=' + tuning.values.get(key));
  }
  copy(words.map(shellWord).join(' '), tuneStatus);
});

$('tune-download').addEventListener('click', async () => {
  if (faultyValue()) return;
  const { file } = yourMapRead;
  const settings = tunedMapKeys(tuning.level, tuning.values).filter(([key]) => lightKeys.includes(key))
    .map(([key, value]) => ({ key, value }));
  try {
    const link = element('a', undefined, { href: URL.createObjectURL(await mapWithSettings(file, settings)), download: file.name });
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
    tuneStatus.textContent = file.name + ' with this light: ' + settings.length + (settings.length === 1 ? ' key' : ' keys') + ' written into its worldspawn.';
  } catch (fault) {
    tuneStatus.textContent = fault instanceof MapFault ? mapFaultText(file.name, fault) : file.name + ' cannot be read: ' + fault.message;
  }
});
