// The page, through its controls as a user meets them, found by the names a
// screen reader gives them.
const { test, expect, open, serve, names, expected, zorvin, zorvinMany, lf, pageUrl } = require('./fixtures');
const fs = require('node:fs');
const path = require('node:path');
const AxeBuilder = require('@axe-core/playwright').default;

const controls = (page) => ({
  level: page.getByRole('combobox', { name: 'Level', exact: true }),
  levelList: page.getByRole('listbox', { name: 'Level list' }),
  show: page.getByRole('button', { name: 'MP/SPSettings', exact: true }),
  block: page.getByRole('region', { name: 'Display Settings' }),
  copyBlock: page.getByRole('button', { name: 'Copy settings block' }),
  category: page.getByRole('listbox', { name: 'Effects Category' }),
  listing: page.getByRole('region', { name: 'Effects Listing' }),
  copyListing: page.getByRole('button', { name: 'Copy effects listing' }),
  light: page.getByRole('region', { name: 'Light' }),
  compareWith: page.getByRole('combobox', { name: 'Compare with', exact: true }),
  compare: page.getByRole('button', { name: 'Compare', exact: true }),
  comparison: page.getByRole('table', { name: 'Comparison' }),
  find: page.getByRole('searchbox', { name: 'Find' }),
  results: page.getByRole('list', { name: 'Find results' }),
});

// The Find results as zorvin find prints them, once the list is whole.
async function findLines(page) {
  await expect(page.locator('#find-results')).not.toHaveAttribute('aria-busy', 'true');
  return page.locator('#find-results li').evaluateAll((rows) =>
    rows.map((row) => [...row.children].map((c) => c.textContent).join('\t')));
}

const clipboard = (page) => page.evaluate(() => navigator.clipboard.readText());

test.describe('settings', () => {
  test('every level typed and looked up shows its expected block', async ({ page }) => {
    await open(page);
    const c = controls(page);
    const levels = names('levels');
    expect(levels).toHaveLength(40);
    for (const [i, name] of levels.entries()) {
      await c.level.fill(name);
      // Half by the button, half by Enter in the field.
      if (i % 2) await c.show.click(); else await c.level.press('Enter');
      await expect(c.block, name).toHaveText(lf(expected('levels', name)), { useInnerText: false });
    }
  });

  test('copy puts the exact bytes on the clipboard: CR LF, nothing after the last line', async ({ page, context }) => {
    await context.grantPermissions(['clipboard-read', 'clipboard-write']);
    await open(page);
    const c = controls(page);
    for (const name of ['mp_toujane', 'sp_hill400_assault', 'mp_downtown', 'sp_88ridge']) {
      await c.level.fill(name);
      await c.show.click();
      await c.copyBlock.click();
      await expect.poll(() => clipboard(page), name).toBe(expected('levels', name));
    }
    // As map keys: what zorvin level NAME --format map prints, its lines joined as the block's are.
    for (const name of ['mp_matmata', 'sp_hill400_assault']) {
      await c.level.fill(name);
      await c.show.click();
      await page.getByRole('button', { name: 'Copy as map keys' }).click();
      const keys = zorvin('level', name, '--format', 'map').out.trimEnd().split('\n').join('\r\n');
      await expect.poll(() => clipboard(page), name).toBe(keys);
    }
    for (const name of ['Misc_Effects', 'Ammo_Effects', 'Wine_Effects']) {
      await c.category.selectOption(name);
      await c.copyListing.click();
      await expect.poll(() => clipboard(page), name).toBe(expected('effects', name));
    }
    // A status speaks of what its box shows: it goes when the box changes.
    await expect(page.locator('#listing-status')).toHaveText('Copied 1 line.');  // Wine_Effects
    await c.category.selectOption('Misc_Effects');
    await expect(page.locator('#listing-status')).toBeEmpty();
    await expect(page.locator('#block-status')).toHaveText(/^Copied \d+ lines\.$/);
    await c.level.fill('sp_rhine');
    await c.show.click();
    await expect(page.locator('#block-status')).toBeEmpty();
  });

  test('levels picked from the list, by mouse and by keyboard', async ({ page }) => {
    await open(page);
    const c = controls(page);
    await page.getByRole('button', { name: 'Level list' }).click();
    await expect(c.levelList).toBeVisible();
    await expect(c.levelList.getByRole('option')).toHaveCount(42);
    // An empty field's list starts at its first item, not at a blank one.
    await expect(c.levelList.getByRole('option', { selected: true })).toHaveText('mp_breakout');
    // A click on an item shows that level at once.
    await c.levelList.getByRole('option', { name: 'mp_carentan', exact: true }).click();
    await expect(c.level).toHaveValue('mp_carentan');
    await expect(c.levelList).toBeHidden();
    await expect(c.block).toHaveText(lf(expected('levels', 'mp_carentan')));
    // Alt+Down opens the list at the field's item; Down moves on; Enter shows it.
    await c.level.focus();
    await page.keyboard.press('Alt+ArrowDown');
    await page.keyboard.press('ArrowDown');
    await page.keyboard.press('Enter');
    await expect(c.level).toHaveValue('mp_dawnville');
    await expect(c.block).toHaveText(lf(expected('levels', 'mp_dawnville')));
    // Typing narrows the list to the items that hold the text, in its order,
    // blanks and the separator passed over; an exact text still goes by Enter.
    for (const [typed, items] of [['TOUJANE', ['mp_toujane', 'sp_toujane', 'sp_toujane_ride']],
      ['sp_d', ['sp_decoytown', 'sp_decoytrenches', 'sp_demolition', 'sp_downtown_assault', 'sp_downtown_sniper',
        'sp_duhoc_assault', 'sp_duhoc_defend']], ['-', []], ['hill400_a', []]]) {
      await c.level.fill(typed);
      if (items.length) await expect(c.levelList.getByRole('option')).toHaveText(items);
      else await expect(c.levelList).toBeHidden();
    }
    await c.level.press('Enter');
    await expect(page.locator('#level-status')).toHaveText(/^no level named 'hill400_a'/);
    await c.level.fill('toujane');
    await page.keyboard.press('ArrowDown');
    await page.keyboard.press('ArrowDown');
    await page.keyboard.press('Enter');
    await expect(c.block).toHaveText(lf(expected('levels', 'sp_toujane')));
    // Each key of the pattern: Down, F4 and Alt+Down open the list, Escape,
    // F4 and Alt+Up shut it; Escape with the list shut empties the field.
    for (const [opens, shuts] of [['ArrowDown', 'Escape'], ['F4', 'F4'], ['Alt+ArrowDown', 'Alt+ArrowUp']]) {
      await page.keyboard.press(opens);
      await expect(c.levelList, opens).toBeVisible();
      await expect(c.level).toHaveAttribute('aria-expanded', 'true');
      await page.keyboard.press(shuts);
      await expect(c.levelList, shuts).toBeHidden();
      await expect(c.level).toHaveAttribute('aria-expanded', 'false');
    }
    await expect(c.level).toHaveValue('sp_toujane');
    await page.keyboard.press('Escape');
    await expect(c.level).toHaveValue('');
    // Leaving the field shuts its list at once, not after a while.
    await page.keyboard.press('F4');
    await page.keyboard.press('Tab');
    expect(await page.locator('#level-list').isHidden()).toBe(true);
  });

  test('a text the window would not find changes nothing shown and says so, as zorvin does', async ({ page }) => {
    await open(page);
    const c = controls(page);
    await c.level.fill('mp_toujane');
    await c.show.click();
    const shown = lf(expected('levels', 'mp_toujane'));
    for (const miss of ['MP_TOUJANE', ' mp_toujane', 'mp_toujane ', '--SP_LEVELS--', '', 'mp_toujan', 'MP/SP_LEVELS',
      'toujane', 'carentan', 'caf\u00e9', '\u00e9'.repeat(70)]) {
      await c.level.fill(miss);
      await c.show.click();
      await expect(c.block, JSON.stringify(miss)).toHaveText(shown);
      // The box says whose block it still shows, as its description.
      await expect(c.block).toHaveAccessibleDescription('\u2014 mp_toujane');
      const said = zorvin('level', '--', miss);
      expect(said.status).toBe(1);
      await expect(page.locator('#level-status')).toHaveText(said.err.replace(/^zorvin: /, '').trimEnd());
    }
    // A suggestion is a link to the level.
    await c.level.fill('mp_toujan');
    await c.level.press('Enter');
    await page.locator('#level-status').getByRole('link', { name: 'sp_toujane' }).click();
    await expect(c.block).toHaveText(lf(expected('levels', 'sp_toujane')));
    // Typed, a level the list does not offer is found.
    await c.level.fill('sp_hill400_assault');
    await c.level.press('Enter');
    await expect(c.block).toHaveText(lf(expected('levels', 'sp_hill400_assault')));
  });
});

test('every category shows its listing, clicked or reached by arrow keys', async ({ page }) => {
  await open(page);
  const c = controls(page);
  const categories = zorvin('effects').out.trimEnd().split('\n');
  expect(categories).toHaveLength(66);
  expect(await c.category.locator('option').allTextContents()).toEqual(categories);
  await c.category.locator('option', { hasText: /^Ammo_Effects$/ }).click();
  await expect(c.listing).toHaveText(lf(expected('effects', 'Ammo_Effects')));
  const entries = () => page.evaluate(() => history.length);
  const afterClick = await entries();
  await page.keyboard.press('ArrowDown');
  await expect(c.listing).toHaveText(lf(expected('effects', categories[2])));
  await page.keyboard.press('ArrowUp');
  await page.keyboard.press('ArrowUp');
  await expect(c.listing).toHaveText(lf(expected('effects', categories[0])));
  // The keys' moves made one entry of the history: Back goes to the click's.
  await expect(page).toHaveURL(new RegExp('#effects=' + categories[0] + '$'));
  expect(await entries()).toBe(afterClick + 1);
  await page.goBack();
  await expect(page).toHaveURL(/#effects=Ammo_Effects$/);
  await expect(c.listing).toHaveText(lf(expected('effects', 'Ammo_Effects')));
  for (const name of categories) {
    await c.category.selectOption(name);
    await expect(c.listing, name).toHaveText(lf(expected('effects', name)));
  }
});

test('Find gives what zorvin find gives, in its order, and announces the count', async ({ page }) => {
  await open(page);
  const c = controls(page);
  for (const text of ['toujane', 'TouJane', 'tunnel', 'BOTTLE', 'smoke', 'e', '_', 'zzzq', '.efx']) {
    await c.find.fill(text);
    const said = zorvin('find', text);
    const lines = said.status === 0 ? said.out.trimEnd().split('\n') : [];
    expect(await findLines(page), text).toEqual(lines);
    await expect(page.locator('#find-count')).toHaveText(
        lines.length ? `${lines.length} result${lines.length === 1 ? '' : 's'}` : said.err.replace(/^zorvin: /, '').trimEnd());
  }
  await expect(page.locator('#find-count')).toHaveAttribute('role', 'status');
  // A search typed over one still filling its list leaves none of the older rows.
  await c.find.evaluate((field) => {
    for (const text of ['e', 'tunnel']) {
      field.value = text;
      field.dispatchEvent(new Event('input'));
    }
  });
  // The older search's next task was queued before this one, so it has run by then.
  await page.evaluate(() => new Promise((done) => setTimeout(done, 0)));
  await expect(c.results).not.toHaveAttribute('aria-busy', 'true');
  expect(await findLines(page)).toEqual(zorvin('find', 'tunnel').out.trimEnd().split('\n'));
  // Each result opens its level or category.
  await c.find.fill('wine_bottle');
  await c.results.getByRole('link', { name: 'wine_bottle.efx' }).click();
  await expect(c.listing).toHaveText(lf(expected('effects', 'Wine_Effects')));
  await expect(c.listing).toBeFocused();
  await c.find.fill('downtown');
  await c.results.getByRole('link', { name: 'mp_downtown', exact: true }).click();
  await expect(c.block).toHaveText(lf(expected('levels', 'mp_downtown')));
  await expect(c.level).toHaveValue('mp_downtown');
  await expect(c.block).toBeFocused();
  // Escape empties Find, and the address no longer holds the search.
  await c.find.fill('tunnel');
  await expect(page).toHaveURL(/#find=tunnel$/);
  await c.find.press('Escape');
  await expect(c.find).toHaveValue('');
  await expect(page).not.toHaveURL(/#find=/);
});

test('deep links open the page there, and Back and Forward step through what was opened', async ({ page }) => {
  const c = controls(page);
  await open(page, '#level=mp_toujane');
  await expect(c.block).toHaveText(lf(expected('levels', 'mp_toujane')));
  await expect(c.level).toHaveValue('mp_toujane');
  await open(page, '#effects=Ammo_Effects');
  await expect(c.listing).toHaveText(lf(expected('effects', 'Ammo_Effects')));
  await expect(c.category).toHaveValue('Ammo_Effects');
  await open(page, '#find=%54OUJANE');  // percent-encoded
  await expect(c.find).toHaveValue('TOUJANE');
  expect(await findLines(page)).toEqual(zorvin('find', 'TOUJANE').out.trimEnd().split('\n'));
  await open(page, '#level=' + encodeURIComponent('sp_hill400_assault'));
  await expect(c.block).toHaveText(lf(expected('levels', 'sp_hill400_assault')));
  // Every link reads its percent-encoding alike: %5F and %2C as _ and ,.
  await open(page, '#compare=mp%5Ftoujane' + encodeURIComponent(',mp_downtown'));
  await expect(c.comparison.locator('thead .second')).toHaveText('mp_downtown');
  // A link that names no level, or not two to compare, says so.
  await open(page, '#compare=mp_toujane');
  await expect(page.locator('#compare-status'))
      .toHaveText('A comparison names two levels, a comma between them: not \'mp_toujane\'.');
  await open(page, '#level=%E0%A4%A');  // not percent-encoded UTF-8
  await expect(page.locator('#level-status')).toHaveText('no level named \'%E0%A4%A\'');
  // A category that is none says so, as zorvin does, its suggestions links.
  await open(page, '#effects=ammo_effect');
  await expect(page.locator('#category-status'))
      .toHaveText(zorvin('effects', 'ammo_effect').err.replace(/^zorvin: /, '').trimEnd());
  await page.locator('#category-status').getByRole('link', { name: 'Ammo_Effects' }).click();
  await expect(c.listing).toHaveText(lf(expected('effects', 'Ammo_Effects')));

  await open(page);
  await c.level.fill('mp_carentan');
  await c.show.click();
  await expect(page).toHaveURL(/#level=mp_carentan$/);
  await c.category.selectOption('Misc_Effects');
  await expect(page).toHaveURL(/#effects=Misc_Effects$/);
  await c.find.fill('tun');
  await c.find.pressSequentially('nel');
  await expect(page).toHaveURL(/#find=tunnel$/);
  await c.level.fill('sp_rhine');
  await c.level.press('Enter');
  await page.goBack();
  await expect(page).toHaveURL(/#find=tunnel$/);
  await page.goBack();
  await expect(page).toHaveURL(/#effects=Misc_Effects$/);
  await page.goBack();
  await expect(page).toHaveURL(/#level=mp_carentan$/);
  await expect(c.block).toHaveText(lf(expected('levels', 'mp_carentan')));
  // Back to the page as first opened shows what it showed: nothing.
  await page.goBack();
  await expect(c.block).toHaveText('');
  await expect(c.level).toHaveValue('');
  await expect(c.listing).toHaveText('');
  await expect(c.find).toHaveValue('');
  await page.goForward();
  await page.goForward();
  await page.goForward();
  await page.goForward();
  await expect(c.block).toHaveText(lf(expected('levels', 'sp_rhine')));
  await expect(c.level).toHaveValue('sp_rhine');
});

// Past the session history's 50 entries, no link followed is undone: each
// address stays, and shows its own comparison. (The walk runs in the page, a
// link as soon as the one before it has been followed: Chromium's limit on
// navigations a second is lifted in the config.)
test('a long walk of links loses none', async ({ page }) => {
  await open(page);
  const names = zorvin('levels').out.trimEnd().split('\n');
  const walk = names.slice(0, 7).flatMap((name) => names.filter((o) => o !== name).map((o) => [name, o]));
  expect(walk).toHaveLength(273);
  const seen = await page.evaluate(async (pairs) => {
    const out = [];
    for (const [name, other] of pairs) {
      const followed = new Promise((resolve) => window.addEventListener('hashchange', resolve, { once: true }));
      location.hash = '#compare=' + name + ',' + other;
      await followed;
      out.push([location.hash, document.querySelector('#comparison thead .second').textContent]);
    }
    return out;
  }, walk);
  expect(seen).toEqual(walk.map(([name, other]) => ['#compare=' + name + ',' + other, other]));
});

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
// every ordered pair of the 40 levels, row for row and in its summary.
test('every ordered pair of levels compares as zorvin compares it', async ({ page }) => {
  await open(page);
  const levels = zorvin('levels').out.trimEnd().split('\n');
  const pairs = levels.flatMap((a) => levels.filter((b) => b !== a).map((b) => [a, b]));
  expect(pairs).toHaveLength(1560);
  // Each pair's link followed, as Back or Forward would follow it, and its table read at once
  // (the page not scrolled to it: a layout each time, which is not what is checked here).
  const seen = await page.evaluate((all) => {
    Element.prototype.scrollIntoView = () => {};
    return all.map(([a, b]) => {
      history.replaceState(null, '', '#compare=' + a + ',' + b);
      window.dispatchEvent(new PopStateEvent('popstate'));
      return {
        rows: [...document.querySelectorAll('#comparison tbody tr')].map((row) =>
          [...row.children].map((cell) => (cell.querySelector('code, strong') ?? cell).textContent)),
        summary: document.querySelector('#compare-status').textContent,
      };
    });
  }, pairs);
  const outs = await zorvinMany(pairs.map(([a, b]) => ['compare', a, b, '--format', 'json']));
  pairs.forEach(([a, b], i) => {
    const fields = JSON.parse(outs[i]).fields;
    const differing = fields.filter((f) => f.status === 'differs').length;
    expect(seen[i].rows, `${a} / ${b}`).toEqual(fields.map((f) => [f.label, ...f.values, f.status.replace('-', ' ')]));
    expect(seen[i].summary, `${a} / ${b}`).toBe(`${differing} of ${fields.length} fields differ`);
  });
});

test('the keyboard alone reaches and works every control', async ({ page }) => {
  await open(page);
  const c = controls(page);
  const focused = () => page.evaluate(() => document.activeElement.id);
  // Tab order: the contents links, then the tool.
  const order = [];
  for (let i = 0; i < 15; ++i) {
    await page.keyboard.press('Tab');
    order.push(await focused());
  }
  expect(order.slice(3, 15)).toEqual(['level', 'show-settings', 'block', 'copy-block', 'copy-keys', 'compare',
    'compare-button', 'your-map', 'category', 'listing', 'copy-listing', 'find']);
  await c.level.focus();
  await page.keyboard.type('sp_rhine');
  await page.keyboard.press('Enter');
  await expect(c.block).toHaveText(lf(expected('levels', 'sp_rhine')));
  await page.keyboard.press('Tab');
  await page.keyboard.press('Space');  // MP/SPSettings again
  await expect(c.block).toHaveText(lf(expected('levels', 'sp_rhine')));
  // Compare: the list opened and an item taken by keys, Enter presses Compare.
  await page.keyboard.press('Shift+Tab');
  for (let i = 0; i < 5; ++i) await page.keyboard.press('Tab');
  expect(await focused()).toBe('compare');
  await page.keyboard.press('Alt+ArrowDown');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('Enter');
  await expect(c.compareWith).toHaveValue('mp_brecourt');
  await expect(c.comparison).toBeVisible();
  await expect(page).toHaveURL(/#compare=sp_rhine,mp_brecourt$/);
  await c.category.focus();
  await page.keyboard.press('Home');
  await page.keyboard.press('ArrowDown');
  await expect(c.listing).toHaveText(lf(expected('effects', 'Ammo_Effects')));
  // "/" goes to Find from anywhere but a text field.
  await page.keyboard.press('/');
  expect(await focused()).toBe('find');
  await c.listing.focus();
  await page.keyboard.press('/');
  expect(await focused()).toBe('find');
  await page.keyboard.type('bottle');
  await page.keyboard.press('Tab');
  await page.keyboard.press('Enter');
  await expect(c.listing).toHaveText(lf(expected('effects', 'Wine_Effects')));
  // The focus is seen.
  await c.show.focus();
  await page.keyboard.press('Shift+Tab');
  await page.keyboard.press('Tab');
  const outline = await c.show.evaluate((e) => getComputedStyle(e).outlineStyle);
  expect(outline).toBe('solid');
});

test('hostile input runs nothing, sends nothing, and leaves the page working', async ({ page }) => {
  const hostile = [
    'x'.repeat(100000),
    '<img src=x onerror="window.__pwned=1">',
    '<script>window.__pwned=1</script>',
    '"><svg onload=window.__pwned=1>',
    '\u202Emp_toujane',
    'mp_\uD800toujane',
    '\uDC00',
    '&lt;b&gt;',
  ];
  await open(page);
  const c = controls(page);
  for (const text of hostile) {
    await c.level.fill(text);
    await c.level.press('Enter');
    await c.find.fill(text);
    await expect(page.locator('#find-count')).not.toBeEmpty();
  }
  // A lone surrogate, typed through an input method: the address follows, made well-formed.
  await c.find.evaluate((field) => {
    field.value = 'mp_\uD800toujane';
    field.dispatchEvent(new Event('input'));
  });
  await expect(page).toHaveURL(/#find=mp_%EF%BF%BDtoujane$/);
  // A lone surrogate cannot be percent-encoded: the address never holds one.
  for (const text of hostile.slice(1).filter((t) => !/[\uD800-\uDFFF]/.test(t))) {
    await open(page, '#find=' + encodeURIComponent(text));
    await open(page, '#level=' + encodeURIComponent(text));
  }
  await open(page, '#level=%E0%A4%A');  // not percent-encoded UTF-8
  await open(page, '#find=' + encodeURIComponent('x'.repeat(100000)));
  expect(await page.evaluate(() => window.__pwned)).toBeUndefined();
  expect(await page.locator('#tool img, #tool svg, #tool script').count()).toBe(0);
  expect(await page.locator('#level-status').textContent()).not.toContain('<');
  // And it still works.
  await c.level.fill('mp_toujane');
  await c.level.press('Enter');
  await expect(c.block).toHaveText(lf(expected('levels', 'mp_toujane')));
  await c.find.fill('ammo');
  expect(await findLines(page)).toEqual(zorvin('find', 'ammo').out.trimEnd().split('\n'));
});

test('served over HTTP it works the same', async ({ page }) => {
  const server = await serve();
  try {
    page.allowUrl(server.url);
    await page.goto(server.url + '#level=mp_toujane');
    await expect(controls(page).block).toHaveText(lf(expected('levels', 'mp_toujane')));
  } finally {
    await server.stop();
  }
});

for (const colorScheme of ['light', 'dark']) {
  test(`axe-core finds no violation, ${colorScheme}`, async ({ page }) => {
    await page.emulateMedia({ colorScheme });
    await open(page, '#compare=mp_matmata,sp_matmana');
    const c = controls(page);
    await expect(c.comparison).toBeVisible();
    await c.category.selectOption('Misc_Effects');
    await c.find.fill('toujane');
    await c.level.fill('mp_toujan');
    await c.level.press('Enter');
    await page.getByRole('button', { name: 'Level list' }).click();
    const results = await new AxeBuilder({ page }).analyze();
    expect(results.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(' ')}`)).toEqual([]);
  });
}

test.describe('without JavaScript', () => {
  test.use({ javaScriptEnabled: false });
  test('a deep link and the index land on the entry', async ({ page }) => {
    await page.goto(pageUrl + '#level=mp_toujane');
    const inView = (id) => page.evaluate((i) => {
      const top = document.getElementById(i).getBoundingClientRect().top;
      return top > -1 && top < innerHeight / 2;
    }, id);
    expect(await inView('level=mp_toujane')).toBe(true);
    await page.getByRole('navigation', { name: 'Index' }).getByRole('link', { name: 'Misc_Effects', exact: true }).click();
    await expect(page).toHaveURL(/#effects=Misc_Effects$/);
    expect(await inView('effects=Misc_Effects')).toBe(true);
    await expect(page.getByRole('heading', { name: 'Misc_Effects', level: 3, exact: true }).getByRole('link'))
        .toHaveAttribute('href', '#effects=Misc_Effects');
  });

  test('the page holds every block and every listing as text, in the windows\' orders', async ({ page }) => {
    await page.goto(pageUrl);
    await expect(page.locator('#tool')).toBeHidden();
    const levels = zorvin('levels').out.trimEnd().split('\n');
    const categories = zorvin('effects').out.trimEnd().split('\n');
    expect(await page.locator('#settings h3').allTextContents()).toEqual(levels);
    expect(await page.locator('#effects h3').allTextContents()).toEqual(categories);
    const blocks = await page.locator('#settings pre').allTextContents();
    expect(blocks).toEqual(levels.map((name) => lf(expected('levels', name))));
    const listings = await page.locator('#effects pre').allTextContents();
    expect(listings).toEqual(categories.map((name) => lf(expected('effects', name))));
    // Each level's light is drawn beside its block by the writer.
    const dawnville = page.locator('#settings .entry').filter({ has: page.getByRole('heading', { name: 'mp_dawnville' }) });
    await expect(dawnville.getByRole('img')).toHaveCount(3);  // two swatches and the sun
    await expect(dawnville.getByRole('img', { name: 'Sun: 57° above the horizon, yaw 169°' })).toBeVisible();
    await expect(dawnville).toContainText('suncolor: 1.2 is not a colour');
  });
});

test('the index filters as you type, and a link opens the entry in the tool', async ({ page }) => {
  await open(page);
  const c = controls(page);
  const index = page.getByRole('navigation', { name: 'Index' });
  await index.getByRole('searchbox', { name: 'Filter the index' }).fill('TOUJANE');
  await expect(index.getByRole('link')).toHaveText(['mp_toujane', 'sp_toujane', 'sp_toujane_ride', 'Toujane_Effects']);
  await expect(index.getByRole('status')).toHaveText('4 of 106 entries');
  await index.getByRole('link', { name: 'sp_toujane_ride' }).click();
  await expect(c.block).toHaveText(lf(expected('levels', 'sp_toujane_ride')));
  await expect(page.locator('#block-shows')).toHaveText('\u2014 sp_toujane_ride');
});

test('printed, the reference fits eight A4 pages, black on white from a dark system', async ({ page }) => {
  await page.emulateMedia({ colorScheme: 'dark' });
  await open(page);
  await page.emulateMedia({ media: 'print', colorScheme: 'dark' });
  const color = await page.locator('footer').evaluate((e) => getComputedStyle(e).color);
  expect(color).toBe('rgb(51, 51, 51)');
  const pdf = Buffer.from(await page.pdf({ format: 'A4' })).toString('latin1');
  const pages = (pdf.match(/\/Type\s*\/Page[^s]/g) || []).length;
  expect(pages).toBeGreaterThan(0);
  expect(pages).toBeLessThanOrEqual(8);
  const dir = path.resolve(__dirname, '../../build/browser/screenshots');
  fs.mkdirSync(dir, { recursive: true });
  await page.setViewportSize({ width: 794, height: 1123 });  // an A4 page at 96 dpi
  await page.screenshot({ path: path.join(dir, 'print-a4.png') });
});

// No box of the tool scrolls sideways on a desktop screen, for any level or
// category: each block and listing fits its box, and the widest is said.
for (const width of [1280, 1024]) {
  test(`at ${width} pixels no box of the tool scrolls sideways`, async ({ page }) => {
    await page.setViewportSize({ width, height: 800 });
    await open(page);
    const links = [
      ...zorvin('levels').out.trimEnd().split('\n').map((name) => `#level=${encodeURIComponent(name)}`),
      ...zorvin('effects').out.trimEnd().split('\n').map((name) => `#effects=${encodeURIComponent(name)}`),
    ];
    const found = await page.evaluate(async (hashes) => {
      const scrolling = [];
      let widest = { text: 0, box: 0, at: '' };
      for (const hash of hashes) {
        const changed = new Promise((done) => addEventListener('hashchange', done, { once: true }));
        location.hash = hash;
        await changed;
        for (const box of document.querySelectorAll('#tool pre, #tool table')) {
          if (box.scrollWidth > box.clientWidth) scrolling.push(`${hash}: #${box.id} ${box.scrollWidth} in ${box.clientWidth}`);
          if (box.id !== 'block') continue;
          const text = document.createRange();
          text.selectNodeContents(box);
          const textWidth = Math.ceil(text.getBoundingClientRect().width);
          if (textWidth > widest.text) widest = { text: textWidth, box: box.clientWidth, at: hash };
        }
      }
      return { scrolling, widest };
    }, links);
    console.log(`at ${width}: the widest block, ${found.widest.at}, ${found.widest.text} pixels of text in a box of ${found.widest.box}`);
    expect(found.scrolling).toEqual([]);
  });
}

// Pictures for README, looked at by a person.
for (const [width, height] of [[360, 800], [1280, 800]]) {
  for (const colorScheme of ['light', 'dark']) {
    test(`screenshot ${width}x${height} ${colorScheme}`, async ({ page }) => {
      await page.setViewportSize({ width, height });
      await page.emulateMedia({ colorScheme });
      await open(page, '#compare=mp_matmata,sp_matmana');
      await controls(page).category.selectOption('Misc_Effects');
      await page.evaluate(() => window.scrollTo(0, 0));
      // Nothing wider than the screen: no sideways scrolling of the page; at
      // 1280 no block or listing of the reference scrolls either.
      expect(await page.evaluate(() => document.documentElement.scrollWidth)).toBeLessThanOrEqual(width);
      const scrolling = await page.locator('.reference pre').evaluateAll((boxes) =>
        boxes.filter((box) => box.scrollWidth > box.clientWidth).length);
      if (width >= 1280) expect(scrolling).toBe(0);
      const dir = path.resolve(__dirname, '../../build/browser/screenshots');
      fs.mkdirSync(dir, { recursive: true });
      await page.screenshot({ path: path.join(dir, `page-${width}-${colorScheme}.png`) });
      await page.locator('#settings-tool').screenshot({ path: path.join(dir, `light-${width}-${colorScheme}.png`) });
      await page.locator('#gallery-list[aria-busy=false]').waitFor({ state: 'attached' });
      await page.locator('#gallery').screenshot({ path: path.join(dir, `gallery-${width}-${colorScheme}.png`) });
    });
  }
}
