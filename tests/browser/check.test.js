// "Check your files" against zorvin check on the shared fixtures
// (tests/check/files): the same problems, the same summary, and "Copy as
// text" the same bytes as its standard output.
const { test, expect, open, zorvinPath, clipboard } = require('./fixtures');
const { spawnSync } = require('node:child_process');
const path = require('node:path');

const fixtures = path.resolve(__dirname, '../check');
const check = (...args) => spawnSync(zorvinPath, ['--lf', 'check', 'files', ...args], { cwd: fixtures, encoding: 'utf8' });

test('the fixtures\' problems are zorvin check\'s, with its summary and its text', async ({ page, context }) => {
  await context.grantPermissions(['clipboard-read', 'clipboard-write']);
  await open(page);
  await page.getByLabel('A folder').setInputFiles(path.join(fixtures, 'files'));
  const json = JSON.parse(check('--format', 'json').stdout);
  const text = check();
  await expect(page.getByRole('status').filter({ hasText: /errors? and/ })).toHaveText(text.stderr.trimEnd().split('\n').at(-1));
  const shown = await page.locator('#check-problems li').evaluateAll((items) => items.map((item) => {
    const [file, line, column] = item.querySelector('.where code').textContent.split(':');
    return { file, line: Number(line), column: Number(column), name: item.querySelector('mark').textContent,
      kind: item.className === 'warning' ? 'case' : 'unknown', suggestions: [...item.querySelectorAll('.message a')].map((a) => a.textContent) };
  }));
  expect(shown).toEqual(json.problems.map(({ endColumn, ...problem }) => problem));
  // .hidden.gsc, the folder .cache (once, whatever it holds), level.gsc.bak and binary.dat, as zorvin counts them.
  await expect(page.locator('#check-skipped')).toHaveText('Skipped 4 files: hidden, backups or not text.');
  expect(text.stderr).toContain('skipped 4 files');
  // Each suggestion opens its category, whose listing holds it.
  await page.locator('#check-problems a', { hasText: 'grenadeExp_mud.efx' }).click();
  await expect(page.getByRole('region', { name: 'Effects Listing' })).toContainText('grenadeExp_mud.efx');
  await page.getByRole('button', { name: 'Copy as text' }).click();
  await expect.poll(() => clipboard(page)).toBe(text.stdout.trimEnd().split('\n').join('\r\n'));
});
