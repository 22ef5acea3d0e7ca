// The settings, the effects, Find and the index, through their controls as a
// user meets them.
const { test, expect, open, names, expected, zorvin, lf, controls, findLines, clipboard } = require('./fixtures');

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
