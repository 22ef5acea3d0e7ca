// The page for every user: by keyboard alone, against hostile input, to
// axe-core, printed, on narrow and wide screens, light and dark.
const { test, expect, open, expected, zorvin, lf, controls, findLines } = require('./fixtures');
const fs = require('node:fs');
const path = require('node:path');
const AxeBuilder = require('@axe-core/playwright').default;

test('the keyboard alone reaches and works every control', async ({ page }) => {
  await open(page);
  const c = controls(page);
  const focused = () => page.evaluate(() => document.activeElement.id);
  // Tab order: the contents links, then the tool.
  const order = [];
  for (let i = 0; i < 18; ++i) {
    await page.keyboard.press('Tab');
    order.push(await focused());
  }
  expect(order.slice(3, 18)).toEqual(['level', 'show-settings', 'block', 'copy-block', 'copy-keys', 'compare',
    'compare-button', 'your-map', 'category', 'listing', 'copy-listing', 'check-files', 'check-folder', 'copy-check', 'find']);
  await c.level.focus();
  await page.keyboard.type('sp_rhine');
  await page.keyboard.press('Enter');
  await expect(c.block).toHaveText(lf(expected('levels', 'sp_rhine')));
  await page.keyboard.press('Tab');
  await page.keyboard.press('Space');  // MP/SPSettings again
  await expect(c.block).toHaveText(lf(expected('levels', 'sp_rhine')));
  // Compare: the list opened and an item taken by keys, Enter presses Compare.
  await page.keyboard.press('Shift+Tab');
  for (let i = 0; i < 6; ++i) await page.keyboard.press('Tab');
  expect(await focused()).toBe('compare');
  await page.keyboard.press('Alt+ArrowDown');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('Enter');
  await expect(c.compareWith).toHaveValue('mp_brecourt');
  await expect(c.comparison).toBeVisible();
  await expect(page).toHaveURL(/#compare=sp_rhine,mp_brecourt$/);
  // Tune: a field typed into, a slider moved by its keys, the sun's by Page Up and Down.
  await page.locator('#copy-keys').focus();
  await page.keyboard.press('Tab');
  await page.keyboard.press('Enter');
  expect(await focused()).toBe('tune-key-_color');
  await page.keyboard.press('Control+A');
  await page.keyboard.type('0.5 0.5 1');
  for (let i = 0; i < 3; ++i) await page.keyboard.press('Tab');
  await page.keyboard.press('Home');
  await page.keyboard.press('ArrowRight');
  await expect(page.getByRole('textbox', { name: 'ambient', exact: true })).toHaveValue('0.01');
  for (let i = 0; i < 11; ++i) await page.keyboard.press('Tab');
  await expect(page.getByRole('slider', { name: 'Sun height' })).toBeFocused();
  await page.keyboard.press('End');
  await page.keyboard.press('PageDown');
  await page.keyboard.press('Tab');
  await page.keyboard.press('Home');
  await expect(page).toHaveURL(/#tune=sp_rhine&_color=0.5%200.5%201&ambient=0.01&sundirection=-81%200%200/);
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
  expect(await page.locator('#tool img, #tool svg:not(#tune-compass), #tool script').count()).toBe(0);
  expect(await page.locator('#level-status').textContent()).not.toContain('<');
  // And it still works.
  await c.level.fill('mp_toujane');
  await c.level.press('Enter');
  await expect(c.block).toHaveText(lf(expected('levels', 'mp_toujane')));
  await c.find.fill('ammo');
  expect(await findLines(page)).toEqual(zorvin('find', 'ammo').out.trimEnd().split('\n'));
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
    await page.getByRole('button', { name: 'Tune', exact: true }).click();
    await page.getByLabel('A folder').setInputFiles(path.resolve(__dirname, '../check/files'));
    await expect(page.locator('#check-problems li')).toHaveCount(8);
    await page.getByRole('button', { name: 'Level list' }).click();
    // The page has no frames: axe runs in it alone (legacy mode, without the
    // second page that gathers frames' results), and details only what fails.
    // Every rule is checked either way; this takes a sixth of the time.
    const results = await new AxeBuilder({ page }).setLegacyMode(true).options({ resultTypes: ['violations'] }).analyze();
    expect(results.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(' ')}`)).toEqual([]);
  });
}

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
      await open(page, '#tune=mp_toujane&sundirection=-30%20200%200&sunlight=2');
      expect(await page.evaluate(() => document.documentElement.scrollWidth)).toBeLessThanOrEqual(width);
      await page.locator('#tune').screenshot({ path: path.join(dir, `tune-${width}-${colorScheme}.png`) });
      await page.getByLabel('A folder').setInputFiles(path.resolve(__dirname, '../check/files'));
      await expect(page.locator('#check-problems li')).toHaveCount(8);
      expect(await page.evaluate(() => document.documentElement.scrollWidth)).toBeLessThanOrEqual(width);
      await page.locator('#check-tool').screenshot({ path: path.join(dir, `check-${width}-${colorScheme}.png`) });
    });
  }
}
