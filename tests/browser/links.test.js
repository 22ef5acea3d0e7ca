// Links into the page: deep links, Back and Forward, a long walk of them, the
// page served over HTTP, and the page without its script.
const { test, expect, open, serve, expected, zorvin, lf, pageUrl, controls, findLines } = require('./fixtures');

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
