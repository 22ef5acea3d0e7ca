// The preview of a light, as zorvin preview draws it (src/preview/ states
// it): a ball on a ground square 4 units across, seen from straight above,
// north up, lit by a worldspawn's sun, sky and ambient light; and how
// different two previews look, the mean CIEDE2000 difference of their
// pixels. Values are read as zorvin reads them. Uses nothing of the page but
// shown(); the browser tests run it on its own against the fixtures.
const compareSize = 64;

// A number as written, kept exact: its digits over a power of ten.
function decimalOf(word) {
  const number = /^([+-]?)([0-9]*)(?:\.([0-9]*))?$/.exec(word);
  if (!number) return undefined;
  const [, sign, whole, fraction = ''] = number;
  const digits = whole + fraction;
  if (digits.length === 0 || digits.length > 15) return undefined;
  return { mantissa: BigInt(sign + digits), scale: 10n ** BigInt(fraction.length) };
}

// A value's numbers, split at blanks; undefined when a word is none.
function numbersOf(value) {
  const numbers = value.split(/[ \t]+/).filter((word) => word !== '').map(decimalOf);
  return numbers.includes(undefined) ? undefined : numbers;
}

// Three numbers (or four, the fourth not drawn) as bytes: on the 0-255 scale
// when any is above 1, else times 255; rounded half up as written, clamped.
function readColour(value) {
  const numbers = numbersOf(value);
  if (!numbers || (numbers.length !== 3 && numbers.length !== 4)) return undefined;
  const onByteScale = numbers.slice(0, 3).some((n) => n.mantissa > n.scale);
  return numbers.slice(0, 3).map(({ mantissa, scale }) => {
    const twice = 2n * (onByteScale ? mantissa : mantissa * 255n) + scale;
    let q = twice / (2n * scale); // BigInt division rounds toward zero: floor it
    if (twice % (2n * scale) < 0n) q -= 1n;
    return Math.min(255, Math.max(0, Number(q)));
  });
}

function readNumber(value) {
  const numbers = numbersOf(value);
  return numbers && numbers.length === 1 ? Number(numbers[0].mantissa) / Number(numbers[0].scale) : undefined;
}

const radians = (degrees) => degrees * Math.PI / 180;
const degrees = (r) => r * 180 / Math.PI;

// sundirection's pitch and yaw as the unit vector toward the sun, by way of
// the sun's height and yaw, as zorvin reads them.
function readSunDirection(value) {
  const numbers = numbersOf(value);
  if (!numbers || numbers.length !== 3) return undefined;
  const [pitch, yaw] = numbers.map((n) => radians(Number(n.mantissa) / Number(n.scale)));
  const x = Math.cos(pitch) * Math.cos(yaw);
  const y = Math.cos(pitch) * Math.sin(yaw);
  const z = -Math.sin(pitch);
  let heading = degrees(Math.atan2(y, x));
  if (heading < 0) heading += 360;
  if (heading >= 360) heading -= 360;
  const elevation = radians(degrees(Math.asin(Math.min(1, Math.max(-1, z)))));
  const toward = radians(heading);
  return [Math.cos(elevation) * Math.cos(toward), Math.cos(elevation) * Math.sin(toward), Math.sin(elevation)];
}

// The light of a worldspawn's values (key -> value), and what was drawn by
// default: "suncolor '1.2' is not a colour: drawn white", as zorvin says it.
function previewLight(valueOf) {
  const defaults = [];
  const fault = (key, what, drawn) => {
    const value = valueOf(key);
    defaults.push(key + (/[^ \t]/.test(value) ? ' ' + shown(value) + ' ' + what : ' has no value') + ': ' + drawn);
  };
  const colour = (key) => {
    const bytes = readColour(valueOf(key));
    if (bytes) return bytes.map((b) => b / 255);
    fault(key, 'is not a colour', 'drawn white');
    return [1, 1, 1];
  };
  const number = (key, fallback) => {
    const read = readNumber(valueOf(key));
    if (read !== undefined) return read;
    fault(key, 'is not a number', 'drawn as ' + fallback);
    return fallback;
  };
  const light = { sunColour: colour('suncolor'), skyColour: colour('sundiffusecolor'), ambientColour: colour('_color') };
  light.sun = readSunDirection(valueOf('sundirection'));
  if (!light.sun) fault('sundirection', 'is not a direction', 'no direct sun');
  light.sunlight = Math.max(0, number('sunlight', 1));
  light.diffuseFraction = Math.min(1, Math.max(0, number('diffusefraction', 0)));
  light.ambient = Math.max(0, number('ambient', 0));
  return { light, defaults };
}

// The linear values at which the byte steps up (255 of them).
const byteSteps = Float64Array.from({ length: 255 }, (_, i) => {
  const encoded = (i + 0.5) / 255;
  return encoded <= 0.04045 ? encoded / 12.92 : Math.pow((encoded + 0.055) / 1.055, 2.4);
});

function srgbByte(linear) {
  if (!(linear > 0)) return 0;
  let low = 0;
  let high = 255; // the byte is how many steps linear reaches
  while (low < high) {
    const middle = (low + high) >> 1;
    if (linear >= byteSteps[middle]) low = middle + 1;
    else high = middle;
  }
  return low;
}

function shade(light, albedo, normalZ, facing, out, at) {
  const direct = light.sunlight * (1 - light.diffuseFraction) * facing;
  const sky = light.sunlight * light.diffuseFraction * (1 + normalZ) / 2;
  for (let c = 0; c < 3; ++c) {
    out[at + c] = srgbByte(albedo * (direct * light.sunColour[c] + sky * light.skyColour[c] + light.ambient * light.ambientColour[c]));
  }
  out[at + 3] = 255;
}

// The scene at size x size, as RGBA bytes for an ImageData.
function renderPreview(light, size) {
  const pixels = new Uint8ClampedArray(size * size * 4);
  const d = light.sun || [0, 0, 0];
  const sunUp = light.sun !== undefined && d[2] > 0;
  // The ground, in the sun and in the ball's shadow, each one word of RGBA
  // (the platform's byte order) written at once.
  const ground = new Uint8ClampedArray(8);
  shade(light, 0.5, 1, sunUp ? d[2] : 0, ground, 0);
  shade(light, 0.5, 1, 0, ground, 4);
  const [lit, shaded] = new Uint32Array(ground.buffer);
  const words = new Uint32Array(pixels.buffer);
  let at = 0;
  for (let j = 0; j < size; ++j) {
    const y = 2 - 4 * (j + 0.5) / size;
    for (let i = 0; i < size; ++i, at += 4) {
      const x = -2 + 4 * (i + 0.5) / size;
      const r2 = x * x + y * y;
      if (r2 < 1) {
        const z = Math.sqrt(1 - r2);
        shade(light, 0.8, z, sunUp ? Math.max(0, x * d[0] + y * d[1] + z * d[2]) : 0, pixels, at);
      } else {
        // The ray toward the sun from (x, y, 0) meets the ball (centre (0, 0, 1)).
        const b = x * d[0] + y * d[1] - d[2];
        words[at >> 2] = sunUp && b < 0 && b * b >= r2 ? shaded : lit;
      }
    }
  }
  return pixels;
}

// An 8-bit sRGB colour in CIELAB (D65, white point 0.95047, 1, 1.08883).
const linearOfByte = Float64Array.from({ length: 256 }, (_, b) => {
  const u = b / 255;
  return u <= 0.04045 ? u / 12.92 : Math.pow((u + 0.055) / 1.055, 2.4);
});
function labCurve(t) {
  return t > 216 / 24389 ? Math.cbrt(t) : 24389 / 27 / 116 * t + 16 / 116;
}
function labOf(red, green, blue) {
  const r = linearOfByte[red];
  const g = linearOfByte[green];
  const b = linearOfByte[blue];
  const fx = labCurve((0.4124564 * r + 0.3575761 * g + 0.1804375 * b) / 0.95047);
  const fy = labCurve((0.2126729 * r + 0.7151522 * g + 0.0721750 * b) / 1.0);
  const fz = labCurve((0.0193339 * r + 0.1191920 * g + 0.9503041 * b) / 1.08883);
  return [116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)];
}

const seventh = (x) => x * x * x * x * x * x * x;
const hueOf = (b, a) => {
  if (a === 0 && b === 0) return 0;
  const h = degrees(Math.atan2(b, a));
  return h < 0 ? h + 360 : h;
};

// CIEDE2000 (Sharma, Wu and Dalal, 2005).
function ciede2000([l1, a1, b1], [l2, a2, b2]) {
  const c1 = Math.sqrt(a1 * a1 + b1 * b1);
  const c2 = Math.sqrt(a2 * a2 + b2 * b2);
  const meanC7 = seventh((c1 + c2) / 2);
  const g = 0.5 * (1 - Math.sqrt(meanC7 / (meanC7 + 6103515625)));
  const ap1 = (1 + g) * a1;
  const ap2 = (1 + g) * a2;
  const cp1 = Math.sqrt(ap1 * ap1 + b1 * b1);
  const cp2 = Math.sqrt(ap2 * ap2 + b2 * b2);
  const h1 = hueOf(b1, ap1);
  const h2 = hueOf(b2, ap2);
  let dh = 0;
  if (cp1 * cp2 !== 0) {
    dh = h2 - h1;
    if (dh > 180) dh -= 360;
    else if (dh < -180) dh += 360;
  }
  const dH = 2 * Math.sqrt(cp1 * cp2) * Math.sin(radians(dh / 2));
  const meanL = (l1 + l2) / 2;
  const meanCp = (cp1 + cp2) / 2;
  let meanH = h1 + h2;
  if (cp1 * cp2 !== 0) {
    if (Math.abs(h1 - h2) <= 180) meanH /= 2;
    else meanH = meanH < 360 ? (meanH + 360) / 2 : (meanH - 360) / 2;
  }
  const t = 1 - 0.17 * Math.cos(radians(meanH - 30)) + 0.24 * Math.cos(radians(2 * meanH)) +
    0.32 * Math.cos(radians(3 * meanH + 6)) - 0.20 * Math.cos(radians(4 * meanH - 63));
  const hueOff = (meanH - 275) / 25;
  const dTheta = 30 * Math.exp(-hueOff * hueOff);
  const meanCp7 = seventh(meanCp);
  const rc = 2 * Math.sqrt(meanCp7 / (meanCp7 + 6103515625));
  const l50 = (meanL - 50) * (meanL - 50);
  const l = (l2 - l1) / (1 + 0.015 * l50 / Math.sqrt(20 + l50));
  const c = (cp2 - cp1) / (1 + 0.045 * meanCp);
  const h = dH / (1 + 0.015 * meanCp * t);
  return Math.sqrt(l * l + c * c + h * h - Math.sin(radians(2 * dTheta)) * rc * c * h);
}

// The mean difference of two pictures of one size (RGBA bytes); runs of the
// same pair of colours (the ground) are worked out once.
function pictureDifference(first, second) {
  let sum = 0;
  let last = -1;
  let lastKey = '';
  for (let at = 0; at < first.length; at += 4) {
    const key = first[at] + ',' + first[at + 1] + ',' + first[at + 2] + ',' + second[at] + ',' + second[at + 1] + ',' + second[at + 2];
    if (key !== lastKey) {
      last = ciede2000(labOf(first[at], first[at + 1], first[at + 2]), labOf(second[at], second[at + 1], second[at + 2]));
      lastKey = key;
    }
    sum += last;
  }
  return sum / (first.length / 4);
}

// A difference as it is shown and ranked: to one decimal.
const shownDifference = (difference) => Math.round(difference * 10) / 10;

