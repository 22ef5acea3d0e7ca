// A level's light, and comparisons: two levels, a level and your map, and
// every ordered pair of levels, as zorvin compares them.
const { test, expect, open, expected, zorvin, zorvinMany, lf, controls } = require('./fixtures');
const fs = require('node:fs');
const path = require('node:path');

// The light zorvin reads for a level, as the page must show it.
function lightOf(name) {
  const light = JSON.parse(zorvin('light', name, '--format', 'json').out);
  return {
    swatches: light.colors.filter((c) => c.hex).map((c) => `${c.label}: ${c.hex}`),
    notColours: light.colors.filter((c) => !c.hex).map((c) => `${c.label}: ${c.value} is not a colour`),
    sun: `Sun: ${Math.round(light.sun.elevation)}° above the horizon, yaw ${Math.round(light.sun.yaw) % 360}°`,
    hex: light.colors.filter((c) => c.hex).map((c) => c.hex),
  };
}

test('a level\'s light stands beside its block: swatches painted as their hex, and the sun', async ({ page, browser }) => {
  await open(page);
  const c = controls(page);
  await expect(c.light).toBeHidden();
  for (const name of ['mp_toujane', 'mp_dawnville', 'sp_newvillers', 'sp_crossroads', 'mp_breakout']) {
    await c.level.fill(name);
    await c.show.click();
    const want = lightOf(name);
    const images = await c.light.getByRole('img').evaluateAll((all) => all.map((i) => i.getAttribute('aria-label')));
    expect(images, name).toEqual([...want.swatches, want.sun]);
    for (const text of want.notColours) await expect(c.light, name).toContainText(text);
  }
  // The swatch's painted pixels are its hex, decoded on a page of their own.
  const swatches = c.light.locator('svg.swatch');
  const decoder = await browser.newPage();
  for (let i = 0; i < (await swatches.count()); ++i) {
    const png = (await swatches.nth(i).screenshot()).toString('base64');
    const painted = await decoder.evaluate(async (data) => {
      const image = new Image();
      image.src = 'data:image/png;base64,' + data;
      await image.decode();
      const canvas = Object.assign(document.createElement('canvas'), { width: image.width, height: image.height });
      const context = canvas.getContext('2d');
      context.drawImage(image, 0, 0);
      const [r, g, b] = context.getImageData(image.width >> 1, image.height >> 1, 1, 1).data;
      return '#' + [r, g, b].map((v) => v.toString(16).padStart(2, '0')).join('').toUpperCase();
    }, png);
    expect(painted).toBe(lightOf('mp_breakout').hex[i]);
    const box = await swatches.nth(i).boundingBox();
    expect(Math.min(box.width, box.height)).toBeGreaterThanOrEqual(16);
  }
  await decoder.close();
});

test('two levels compared field by field, as zorvin compares them', async ({ page }) => {
  await open(page);
  const c = controls(page);
  for (const [name, other] of [['mp_matmata', 'sp_matmana'], ['mp_toujane', 'mp_carentan'], ['mp_downtown', 'sp_cityhall']]) {
    await c.level.fill(name);
    await c.compareWith.fill(other);
    await c.compareWith.press('Enter');
    await expect(c.block).toHaveText(lf(expected('levels', name)));
    const want = JSON.parse(zorvin('compare', name, other, '--format', 'json').out).fields;
    const rows = await c.comparison.locator('tbody tr').evaluateAll((all) => all.map((row) =>
      [...row.children].map((cell) => cell.querySelector('code, strong')?.textContent ?? cell.textContent)));
    expect(rows, `${name} / ${other}`).toEqual(want.map((f) => [f.label, ...f.values, f.status.replace('-', ' ')]));
    const summary = zorvin('compare', name, other).out.trimEnd().split('\n').pop();
    await expect(page.locator('#compare-status')).toHaveText(summary);
    // A field that differs stands out by more than colour: its status in bold.
    await expect(c.comparison.locator('tr.differs strong')).toHaveCount(want.filter((f) => f.status === 'differs').length);
  }
  await expect(page).toHaveURL(/#compare=mp_downtown,sp_cityhall$/);
  // A colour row carries both swatches.
  await open(page, '#compare=' + encodeURIComponent('mp_toujane') + ',' + encodeURIComponent('sp_toujane'));
  await expect(c.comparison.getByRole('row', { name: /^sundiffusecolor/ }).getByRole('img'))
      .toHaveCount(2);
  await expect(c.compareWith).toHaveValue('sp_toujane');
  // A miss says so as zorvin does, its suggestions links that compare.
  await c.compareWith.fill('carentan');
  await c.compare.click();
  await expect(page.locator('#compare-status'))
      .toHaveText(zorvin('compare', 'mp_toujane', 'carentan').err.replace(/^zorvin: /, '').trimEnd());
  await page.locator('#compare-status').getByRole('link', { name: 'mp_carentan' }).click();
  await expect(page).toHaveURL(/#compare=mp_toujane,mp_carentan$/);
  await expect(c.comparison).toBeVisible();
  // Showing another level ends the comparison.
  await c.level.fill('sp_rhine');
  await c.show.click();
  await expect(c.comparison).toBeHidden();
});

// The same map files as the C++ tests, with what both faces must read of them.
test('your map is read as zorvin reads it, and compared with the level shown', async ({ page }) => {
  const maps = path.resolve(__dirname, '../maps');
  const want = JSON.parse(fs.readFileSync(path.join(maps, 'expected.json'), 'utf8'));
  await open(page);
  const c = controls(page);
  const yourMap = page.getByLabel('Your map');
  await yourMap.setInputFiles(path.join(maps, 'plain.map'));
  await expect(page.locator('#compare-status')).toHaveText('Choose a level first: your map is compared with it.');
  await c.level.fill(want.level);
  await c.show.click();
  for (const map of want.maps) {
    await yourMap.setInputFiles(path.join(maps, map.file));
    if (map.fault) {
      await expect(page.locator('#compare-status'), map.file).toHaveText(map.file + map.fault);
      await expect(c.comparison).toBeHidden();
      continue;
    }
    await expect(c.comparison.locator('thead .second'), map.file).toHaveText(map.file);
    const rows = await c.comparison.locator('tbody tr').evaluateAll((all) => all.map((row) =>
      [...row.children].map((cell) => cell.querySelector('code, strong')?.textContent ?? cell.textContent)));
    expect(rows.map((r) => [r[0], r[2], r[3]]), map.file).toEqual(map.rows);
  }
});

// The comparison's rule is the writer's fields and zorvin's, both ways round:
// every ordered pair of the 40 levels, row for row and in its summary; in four
// parts, each the pairs that start with ten of the levels.
const levelNames = zorvin('levels').out.trimEnd().split('\n');
for (let part = 0; part < 4; ++part) {
  const firsts = levelNames.slice(part * 10, part * 10 + 10);
  test(`every ordered pair of levels compares as zorvin compares it: ${firsts[0]} to ${firsts.at(-1)} first`, async ({ page }) => {
    await open(page);
    const pairs = firsts.flatMap((a) => levelNames.filter((b) => b !== a).map((b) => [a, b]));
    expect(pairs).toHaveLength(390);
    // zorvin's comparisons are made while the page walks the pairs.
    const outs = zorvinMany(pairs.map(([a, b]) => ['compare', a, b, '--format', 'json']));
    // Each pair's link followed, as Back or Forward would follow it, and its table read at once
    // (the page not scrolled to it: a layout each time, which is not what is checked here).
    const seen = await page.evaluate((all) => {
      Element.prototype.scrollIntoView = () => {};
      return all.map(([a, b]) => {
        history.replaceState(null, '', '#compare=' + a + ',' + b);
        window.dispatchEvent(new PopStateEvent('popstate'));
        return [a + ' / ' + b,
          [...document.querySelectorAll('#comparison tbody tr')].map((row) =>
            [...row.children].map((cell) => (cell.querySelector('code, strong') ?? cell).textContent)),
          document.querySelector('#compare-status').textContent];
      });
    }, pairs);
    // One comparison of the whole: a difference is shown with its pair's names.
    expect(seen).toEqual((await outs).map((out, i) => {
      const fields = JSON.parse(out).fields;
      const differing = fields.filter((f) => f.status === 'differs').length;
      return [pairs[i].join(' / '), fields.map((f) => [f.label, ...f.values, f.status.replace('-', ' ')]),
        `${differing} of ${fields.length} fields differ`];
    }));
  });
}
