// The previews on the page against zorvin's and against the second model
// of them (tests/preview/fixtures.json): the same pixels, ±1 per channel, the
// paper's CIEDE2000 pairs, and the gallery in zorvin similar's order.
const { test, expect, open, zorvin, zorvinPath } = require('./fixtures');
const { execFile } = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');

const previews = path.resolve(__dirname, '../preview');
const fixtures = JSON.parse(fs.readFileSync(path.join(previews, 'fixtures.json'), 'utf8'));
const pairs = fs.readFileSync(path.join(previews, 'ciede2000-sharma-2005.tsv'), 'utf8').split('\n')
  .filter((line) => line !== '' && !line.startsWith('#')).map((line) => line.split('\t').map(Number));
const levelNames = zorvin('levels').out.trimEnd().split('\n');

// The page once its pictures are drawn: the first preview and the gallery
// wait for the page's first frame and an idle moment.
async function openDrawn(page, hash = '') {
  await open(page, hash);
  await page.locator('#gallery-list[aria-busy=false]').waitFor({ state: 'attached' });
}

// zorvin preview NAME --size N --output -, as base64.
const pngOf = (name, size) => new Promise((resolve, reject) => execFile(zorvinPath,
  ['preview', name, '--size', String(size), '--output', '-'], { encoding: 'buffer', maxBuffer: 1 << 24 },
  (error, stdout) => (error ? reject(error) : resolve(stdout.toString('base64')))));

// The page's model, run on its own: tables.js (for shown) and preview-model.js as the page joins them.
const scripts = path.resolve(__dirname, '../../src/web/script');
const modelSource = ['tables.js', 'preview-model.js'].map((f) => fs.readFileSync(path.join(scripts, f), 'utf8')).join('\n');

test('the page\'s model gives the paper\'s pairs and the fixtures\' pixels and differences', async ({ page }) => {
  await page.setContent('<!DOCTYPE html><title>the model</title>');
  await page.evaluate(`'use strict'; { ${modelSource}\n window.model = { ciede2000, previewLight, renderPreview, pictureDifference }; }`);
  const found = await page.evaluate(({ pairs, fixtures }) => {
    const { ciede2000, previewLight, renderPreview, pictureDifference } = window.model;
    const faults = [];
    for (const p of pairs) {
      for (const [a, b] of [[p.slice(0, 3), p.slice(3, 6)], [p.slice(3, 6), p.slice(0, 3)]]) {
        const d = ciede2000(a, b);
        if (Math.abs(d - p[6]) >= 0.00005) faults.push(`pair ${p.join(' ')}: ${d}`);
      }
    }
    const pictures = new Map();
    for (const light of fixtures.lights) {
      const { light: read, defaults } = previewLight((key) => light.fields[key] ?? '');
      const pixels = renderPreview(read, light.size);
      pictures.set(light.name, pixels);
      for (const [i, j, rgb] of light.pixels) {
        const at = (j * light.size + i) * 4;
        const drawn = [...pixels.subarray(at, at + 3)];
        if (drawn.some((c, k) => Math.abs(c - rgb[k]) > 1)) faults.push(`${light.name} (${i}, ${j}): ${drawn} for ${rgb}`);
      }
      const keys = defaults.map((text) => text.split(' ')[0]);
      if (keys.join() !== light.defaults.join()) faults.push(`${light.name}: defaults ${keys}`);
    }
    for (const { first, second, difference } of fixtures.differences) {
      const d = pictureDifference(pictures.get(first), pictures.get(second));
      if (Math.abs(d - difference) > 0.001) faults.push(`${first} / ${second}: ${d}`);
    }
    return faults;
  }, { pairs, fixtures });
  expect(found).toEqual([]);
});

test('every stock level\'s preview is zorvin preview\'s picture, ±1 per channel', async ({ page }) => {
  const pngs = [];
  for (let i = 0; i < levelNames.length; i += 8) pngs.push(...await Promise.all(levelNames.slice(i, i + 8).map((n) => pngOf(n, 128))));
  await openDrawn(page);
  const found = await page.evaluate(async ({ names, pngs }) => {
    const faults = [];
    const canvas = document.querySelector('#preview-first canvas');
    const scratch = new OffscreenCanvas(128, 128).getContext('2d', { willReadFrequently: true });
    for (const [k, name] of names.entries()) {
      const changed = new Promise((done) => addEventListener('hashchange', done, { once: true }));
      location.hash = '#level=' + encodeURIComponent(name);
      await changed;
      await new Promise((drawn) => requestAnimationFrame(drawn));  // drawn in the frame after a change
      scratch.drawImage(canvas, 0, 0);
      const shown = scratch.getImageData(0, 0, 128, 128).data;
      const bytes = Uint8Array.from(atob(pngs[k]), (c) => c.charCodeAt(0));
      scratch.drawImage(await createImageBitmap(new Blob([bytes], { type: 'image/png' })), 0, 0);
      const written = scratch.getImageData(0, 0, 128, 128).data;
      let worst = 0;
      for (let at = 0; at < written.length; ++at) worst = Math.max(worst, Math.abs(written[at] - shown[at]));
      if (worst > 1) faults.push(`${name}: a channel ${worst} away`);
      if (canvas.getAttribute('aria-label') !== name + '\u2019s light') faults.push(`${name}: label ${canvas.getAttribute('aria-label')}`);
    }
    return faults;
  }, { names: levelNames, pngs });
  expect(found).toEqual([]);
});

const galleryOrder = (page) => page.locator('#gallery-list li').evaluateAll((items) =>
  items.map((item) => [item.querySelector('.name').textContent, item.querySelector('.difference').textContent.replace(', difference ', '')]));
const similar = (operand) => zorvin('similar', operand, '--top', '40').out.trimEnd().split('\n')
  .map((line) => line.split(/ +/));

test('the gallery: catalog order, then the level shown first and the rest as zorvin similar ranks them, and a map over both', async ({ page }) => {
  await openDrawn(page);
  expect((await galleryOrder(page)).map(([name]) => name)).toEqual(levelNames);
  for (const level of ['mp_toujane', 'sp_rhine', 'mp_dawnville']) {
    await openDrawn(page, '#level=' + level);
    expect(await galleryOrder(page), level).toEqual([[level, '0.0'], ...similar(level)]);
  }
  const map = path.resolve(__dirname, '../maps/lit.map');
  await page.getByLabel('Your map').setInputFiles(map);
  await expect(page.locator('#preview-second figcaption')).toHaveText('lit.map\u2019s light');
  expect(await galleryOrder(page)).toEqual(similar(map));
  // A link of the gallery followed by keyboard opens its level, which ends
  // the map's comparison, and the link keeps the focus, now first.
  const fourth = (await galleryOrder(page))[3][0];
  await page.locator('#gallery-list a').nth(3).focus();
  await page.keyboard.press('Enter');
  await expect(page.locator('#preview-second')).toBeHidden();
  await expect.poll(async () => (await galleryOrder(page))[0]).toEqual([fourth, '0.0']);
  await expect(page.locator('#gallery-list a').first()).toBeFocused();
});
