// Tune against zorvin: a tuned light's preview is zorvin preview --set's
// picture and its nearest lights zorvin similar --set's, a #tune= link opens with its values, "Copy as map keys" is zorvin
// level --format map --set, and the map downloaded is zorvin apply's bytes.
const { test, expect, open, zorvin, zorvinPath, lf, clipboard } = require('./fixtures');
const { execFile, execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');

const maps = path.resolve(__dirname, '../maps');
const levelNames = zorvin('levels').out.trimEnd().split('\n');
const setArgs = (values) => Object.entries(values).flatMap(([key, value]) => ['--set', key + '=' + value]);
const tuneLink = (name, values) => '#tune=' + encodeURIComponent(name) +
  Object.entries(values).map(([key, value]) => '&' + key + '=' + encodeURIComponent(value)).join('');

// Tunings that between them give every light key another value, or none.
const tunings = [
  ['mp_toujane', { sunlight: '2.25', sundirection: '-10 300 0', suncolor: '1 0.5 0.25' }],
  ['sp_rhine', { _color: '0.2 0.4 1', ambient: '0.6', diffusefraction: '0.9' }],
  ['mp_dawnville', { sundiffusecolor: '255 128 0', contrastgain: '0.5', sundirection: '' }],
  ['mp_carentan', { sunlight: '', ambient: '1.2' }],
];

const pngOf = (name, values) => new Promise((resolve, reject) => execFile(zorvinPath,
  ['preview', name, ...setArgs(values), '--size', '128', '--output', '-'], { encoding: 'buffer' },
  (error, stdout) => (error ? reject(error) : resolve(stdout.toString('base64')))));

test('a #tune= link opens with its values, the tuned light is zorvin preview --set\'s picture (±1) and its nearest zorvin similar\'s', async ({ page }) => {
  for (const [name, values] of tunings) {
    const png = await pngOf(name, values);
    await open(page, tuneLink(name, values));
    await expect(page.locator('#tune-heading')).toHaveText('Tune ' + name + '\u2019s light');
    const fields = await page.locator('#tune-keys input:not([type])').evaluateAll((inputs) => inputs.map((i) => [i.id.slice(9), i.value]));
    const expected = zorvin('level', name, '--format', 'map', ...setArgs(values)).out;
    for (const [key, value] of fields) {
      const line = lf(expected).split('\n').find((l) => l.startsWith('"' + key + '" '));
      expect(value, name + ' ' + key).toBe(line ? line.slice(key.length + 4, -1) : '');
    }
    const worst = await page.evaluate(async (png) => {
      await new Promise((drawn) => requestAnimationFrame(drawn));
      const scratch = new OffscreenCanvas(128, 128).getContext('2d', { willReadFrequently: true });
      scratch.drawImage(document.querySelector('#tune-tuned canvas'), 0, 0);
      const shown = scratch.getImageData(0, 0, 128, 128).data;
      const bytes = Uint8Array.from(atob(png), (c) => c.charCodeAt(0));
      scratch.drawImage(await createImageBitmap(new Blob([bytes], { type: 'image/png' })), 0, 0);
      const written = scratch.getImageData(0, 0, 128, 128).data;
      return written.reduce((w, b, at) => Math.max(w, Math.abs(b - shown[at])), 0);
    }, png);
    expect(worst, name).toBeLessThanOrEqual(1);
    const nearest = zorvin('similar', name, ...setArgs(values), '--top', '5').out.trimEnd().replace(/ +/g, ' ').split('\n');
    await expect(page.locator('#tune-nearest li'), name).toHaveText(nearest);
  }
  // A link with a key that is none and a base that is no level opens with the rest.
  await open(page, '#tune=mp_nowhere&sunligth=2&sunlight=1.5');
  await expect(page.locator('#tune-status')).toHaveText('Left out of the link: \'mp_nowhere\', which is no level; \'sunligth=2\', which sets no light key.');
  await expect(page.getByRole('textbox', { name: 'sunlight', exact: true })).toHaveValue('1.5');
  await expect(page.getByRole('textbox', { name: '_color', exact: true })).toHaveValue('');
});

test('controls write as the stock levels do, the address follows in place, and Back leaves the panel', async ({ page }) => {
  await open(page, '#level=mp_toujane');
  await page.getByRole('button', { name: 'Tune', exact: true }).click();
  await expect(page).toHaveURL(/#tune=mp_toujane$/);
  const entries = await page.evaluate(() => history.length);
  const cases = [
    [page.getByRole('slider', { name: 'sunlight' }), '2.35', 'sunlight', '2.35'],
    [page.getByRole('slider', { name: 'Sun height' }), '30', 'sundirection', '-30 135 0'],
    [page.getByRole('slider', { name: 'Sun yaw' }), '90', 'sundirection', '-30 90 0'],
    [page.getByRole('slider', { name: 'Sun height' }), '0', 'sundirection', '0 90 0'],
  ];
  for (const [control, to, key, value] of cases) {
    await control.fill(to);
    await expect(page.getByRole('textbox', { name: key, exact: true })).toHaveValue(value);
  }
  await page.getByLabel('suncolor picker').fill('#ffe0c0');
  await expect(page.getByRole('textbox', { name: 'suncolor', exact: true })).toHaveValue('1 0.878 0.753');
  await expect(page.getByRole('slider', { name: 'Sun yaw' })).toHaveAttribute('aria-valuetext', 'yaw 90°');
  await expect(page).toHaveURL(/#tune=mp_toujane&sundirection=0%2090%200&suncolor=1%200.878%200.753&sunlight=2.35$/);
  expect(await page.evaluate(() => history.length)).toBe(entries);
  // A field moves its control; the compass puts the sun where it is pressed.
  await page.getByRole('textbox', { name: 'sundirection', exact: true }).fill('-60 180 0');
  await expect(page.getByRole('slider', { name: 'Sun height' })).toHaveAttribute('aria-valuetext', '60° above the horizon');
  const box = await page.locator('#tune-compass').boundingBox();
  await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);  // the centre: straight up
  await expect(page.getByRole('textbox', { name: 'sundirection', exact: true })).toHaveValue(/^-(89\.\d|90) \d+(\.\d)? 0$/);
  await page.getByRole('button', { name: 'Reset' }).click();
  await expect(page.getByRole('textbox', { name: 'sunlight', exact: true })).toHaveValue('1.3');
  await page.goBack();
  await expect(page.locator('#tune')).toBeHidden();
});

test('"Copy as map keys" is zorvin level --format map --set for every level, and the command is apply\'s', async ({ page, context }) => {
  await context.grantPermissions(['clipboard-read', 'clipboard-write']);
  const values = { contrastgain: '0.5', sunlight: '', _color: '1 0.9 0.8' };
  for (const name of levelNames) {
    await open(page, tuneLink(name, values));
    await page.locator('#tune').getByRole('button', { name: 'Copy as map keys' }).click();
    await expect.poll(() => clipboard(page), name).toBe(zorvin('level', name, '--format', 'map', ...setArgs(values)).out.replace(/\n/g, '\r\n').replace(/\r\n$/, ''));
  }
  await page.getByRole('button', { name: 'Copy as command' }).click();
  await expect.poll(() => clipboard(page)).toBe('zorvin apply ' + levelNames.at(-1) + ' MAP --set \'_color=1 0.9 0.8\' --set sunlight= --set contrastgain=0.5');
  // Your map's light: its light keys with a value, in their order; the command takes the map as its source.
  await open(page, '#level=mp_toujane');
  await page.getByLabel('Your map').setInputFiles(path.join(maps, 'lit.map'));
  await page.getByRole('button', { name: 'Tune your map\u2019s light' }).click();
  await page.getByRole('textbox', { name: 'sunlight', exact: true }).fill('2');
  await page.locator('#tune').getByRole('button', { name: 'Copy as map keys' }).click();
  await expect.poll(() => clipboard(page)).toBe(['"_color" "0.813 0.804 0.706"', '"ambient" "0.02"', '"sundirection" "-45\t135\t0"',
    '"suncolor" "1 1 1"', '"sunlight" "2"', '"contrastgain" ".3"'].join('\r\n'));
  await page.getByRole('button', { name: 'Copy as command' }).click();
  await expect.poll(() => clipboard(page)).toBe('zorvin apply lit.map lit.map --set sunlight=2');
  await expect(page).toHaveURL(/#tune=&_color=0.813%200.804%200.706&ambient=0.02&sundirection=-45%09135%090&suncolor=1%201%201&sunlight=2&contrastgain=.3$/);
});

// A map whose worldspawn's keys run past one chunk, and whose brushes make up megabytes.
function bigMap(dir) {
  const file = path.join(dir, 'big.map');
  const keys = Array.from({ length: 3000 }, (_, i) => `"_note${i}" "${'x'.repeat(20)}"\n`).join('');
  const brush = '{\n( 0 0 0 ) ( 64 0 0 ) ( 0 64 0 ) "textures/common/caulk" 0 0 0 0.5 0.5 0 0 0\n}\n';
  fs.writeFileSync(file, '{\n"classname" "worldspawn"\n"sunlight" "1"\n' + keys + brush.repeat(60000) + '}\n');
  return file;
}

test('"Download your map with this light" gives zorvin apply\'s bytes', async ({ page }) => {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'zorvin-tune-'));
  const values = { sunlight: '2', contrastgain: '0.5', _color: '' };
  for (const map of ['lit.map', 'bom.map', 'plain.map', bigMap(dir)]) {
    const source = path.resolve(maps, map);
    const target = path.join(dir, 'applied-' + path.basename(map));
    fs.copyFileSync(source, target);
    execFileSync(zorvinPath, ['apply', 'mp_toujane', target, '--no-backup', ...setArgs(values)]);
    await open(page, tuneLink('mp_toujane', values));
    await page.getByLabel('Your map').setInputFiles(source);
    const [download] = await Promise.all([page.waitForEvent('download'),
      page.getByRole('button', { name: 'Download your map with this light' }).click()]);
    expect(download.suggestedFilename()).toBe(path.basename(map));
    expect(fs.readFileSync(await download.path()).equals(fs.readFileSync(target)), map).toBe(true);
  }
  // A map that cannot be read in its place leaves nothing to download.
  await page.getByLabel('Your map').setInputFiles(path.join(maps, 'binary.map'));
  await expect(page.getByRole('button', { name: 'Download your map with this light' })).toBeHidden();
  fs.rmSync(dir, { recursive: true });
});
