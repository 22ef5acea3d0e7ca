// A tuned light's values: the eight light keys that zorvin apply writes,
// each value text as typed or as a control wrote it; the shapes zorvin
// --set takes; the link that carries a tuning; and its keys as a map holds
// them. A control writes as the stock levels do: the shortest decimal, at
// most three places (one for angles).
const lightKeys = ['_color', 'ambient', 'sundiffusecolor', 'diffusefraction', 'sundirection', 'suncolor', 'sunlight', 'contrastgain'];
const colourKeys = ['_color', 'sundiffusecolor', 'suncolor'];

const decimal = (places) => (x) => String(Math.round(x * 10 ** places) / 10 ** places);
const writtenNumber = decimal(3);
const writtenAngle = decimal(1);

// What a value its key cannot take lacks, as zorvin says it; '' when it is
// fine (empty is no value, and fine).
function valueNeeds(key, value) {
  if (value === '') return '';
  if (colourKeys.includes(key)) return readColour(value) ? '' : 'three or four numbers';
  if (key === 'sundirection') return readSunDirection(value) ? '' : 'three numbers';
  return readNumber(value) === undefined ? 'one number' : '';
}

const hexByte = (b) => b.toString(16).padStart(2, '0');
const colourHex = (value) => {
  const bytes = readColour(value);
  return bytes && '#' + bytes.map(hexByte).join('');
};
const colourOfHex = (hex) => [1, 3, 5].map((at) => writtenNumber(parseInt(hex.slice(at, at + 2), 16) / 255)).join(' ');

// The sun's height above the horizon and its yaw, in degrees, read as
// zorvin reads sundirection; and written back as -HEIGHT YAW 0.
function sunAngles(value) {
  const sun = readSunDirection(value);
  if (!sun) return undefined;
  const yaw = degrees(Math.atan2(sun[1], sun[0]));
  return { height: degrees(Math.asin(Math.min(1, Math.max(-1, sun[2])))), yaw: yaw < 0 ? yaw + 360 : yaw };
}
function sunValue(height, yaw) {
  const h = writtenAngle(height);
  const y = writtenAngle(yaw);
  return (h === '0' ? '0' : '-' + h) + ' ' + (y === '360' ? '0' : y) + ' 0';
}

// #tune=NAME&KEY=VALUE...: the base (empty for none) and each key whose
// value differs from the base's, in the keys' order.
function tuneHash(baseName, base, values) {
  let hash = '#tune=' + encodeURIComponent(wellFormed(baseName));
  for (const key of lightKeys) {
    if ((values.get(key) ?? '') !== (base.get(key) ?? '')) hash += '&' + key + '=' + encodeURIComponent(wellFormed(values.get(key)));
  }
  return hash;
}

// A link read back: its base's name and values, what was left out of it.
function readTuneHash(hash) {
  const decoded = (text) => {
    try {
      return decodeURIComponent(text);
    } catch {
      return text;
    }
  };
  const [first, ...rest] = hash.slice('#tune='.length).split('&');
  const name = decoded(first);
  const values = new Map();
  const left = [];
  for (const part of rest) {
    const at = part.indexOf('=');
    const key = foldAscii(decoded(at < 0 ? part : part.slice(0, at)));
    if (at < 0 || !lightKeys.includes(key)) left.push(shown(decoded(part)) + ', which sets no light key');
    else values.set(key, decoded(part.slice(at + 1)));
  }
  return { name, values, left };
}

// Where a key stands among a level's map keys, by its field: the lead
// lines', contrastgain, northyaw, the body's fields in their order, the tail's.
const keyRank = (field) => (field >= 14 ? 0 : field === 13 ? 1 : field <= 10 ? field : 99);

// The keys a map gets for a light: a level's as zorvin level NAME --format
// map prints them, the tuned values in place and a tuned key the level lacks
// where its block puts it; without a level, the light keys with a value.
function tunedMapKeys(level, values) {
  if (level === null) return lightKeys.filter((key) => values.get(key) !== '').map((key) => [key, values.get(key)]);
  const keys = levelEntries.get(level).querySelector('.map-keys').textContent.split('\n')
    .map((line) => /^"([^"]*)" "(.*)"$/.exec(line)).filter(Boolean).map(([, key, value]) => [key, value]);
  for (const key of lightKeys) {
    const value = values.get(key);
    const at = keys.findIndex(([k]) => k === key);
    if (at >= 0) keys[at][1] = value;
    else if (value !== '') {
      const rank = keyRank(fieldOfKey.get(key));
      const before = keys.findIndex(([k]) => keyRank(fieldOfKey.get(k)) > rank);
      keys.splice(before < 0 ? keys.length : before, 0, [key, value]);
    }
  }
  return keys.filter(([, value]) => value !== '');
}

// A word for a POSIX shell: as it stands when it is safe so, else in single quotes.
const shellWord = (word) => (/^[\w./=:,+-]+$/.test(word) ? word : '\'' + word.replace(/'/g, '\'\\\'\'') + '\'');
