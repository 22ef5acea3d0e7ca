// What every browser test shares: the page (file:// or over HTTP on the
// loopback), the expected files, zorvin itself, and the checks that hold in
// every test: no request leaves the page, no CSP violation, no console error,
// no dialog.
const base = require('@playwright/test');
const { execFile, execFileSync } = require('node:child_process');
const fs = require('node:fs');
const http = require('node:http');
const path = require('node:path');
const { pathToFileURL } = require('node:url');

const root = path.resolve(__dirname, '../..');
const pagePath = process.env.ZORVIN_PAGE || path.join(root, 'docs/index.html');
const zorvinPath = process.env.ZORVIN_CLI || path.join(root, 'build/native/bin/zorvin');
const golden = path.join(root, 'tests/golden');

const names = (kind) => fs.readdirSync(path.join(golden, kind)).map((f) => f.replace(/\.txt$/, ''));
const expected = (kind, name) => fs.readFileSync(path.join(golden, kind, name + '.txt'), 'utf8');

// zorvin's standard output, error and status for a command line.
function zorvin(...args) {
  try {
    return { out: execFileSync(zorvinPath, ['--lf', ...args], { encoding: 'utf8', stdio: 'pipe' }), err: '', status: 0 };
  } catch (error) {
    return { out: error.stdout, err: error.stderr, status: error.status };
  }
}

// The standard output of many zorvin command lines. Node's spawn costs more
// than a zorvin run, so each batch is one shell that starts them in turn (a
// fork and an exec each), their outputs parted by a NUL; two batches at a time.
const shellQuoted = (word) => "'" + word.replace(/'/g, "'\\''") + "'";
function zorvinBatch(argLists) {
  const script = argLists.map((args) => `"$0" --lf ${args.map(shellQuoted).join(' ')} || exit; printf '\\0'`).join('\n');
  return new Promise((resolve, reject) => execFile('/bin/sh', ['-c', script, zorvinPath],
    { encoding: 'utf8', maxBuffer: 1 << 28 }, (error, stdout) => (error ? reject(error) : resolve(stdout.split('\0').slice(0, -1)))));
}

async function zorvinMany(argLists, perBatch = 200) {
  const batches = [];
  for (let i = 0; i < argLists.length; i += perBatch) batches.push(argLists.slice(i, i + perBatch));
  const outs = new Array(batches.length);
  let next = 0;
  const worker = async () => {
    for (let i = next++; i < batches.length; i = next++) outs[i] = await zorvinBatch(batches[i]);
  };
  await Promise.all([worker(), worker()]);
  return outs.flat();
}

const pageUrl = pathToFileURL(pagePath).href;

const test = base.test.extend({
  // Each test's page, watched from the browser's side.
  page: async ({ page }, use) => {
    const problems = [];
    const allowed = new Set([pageUrl]);
    page.on('console', (message) => {
      if (message.type() === 'error' || message.type() === 'warning') problems.push('console: ' + message.text());
    });
    page.on('pageerror', (error) => problems.push('page error: ' + error.message));
    page.on('dialog', (dialog) => {
      problems.push('dialog: ' + dialog.message());
      dialog.dismiss();
    });
    page.context().on('request', (request) => {
      const url = request.url().split('#')[0];
      if (!allowed.has(url)) problems.push('request: ' + request.url());
    });
    await page.addInitScript(() => {
      window.__violations = [];
      document.addEventListener('securitypolicyviolation', (e) => window.__violations.push(e.violatedDirective + ' ' + e.blockedURI));
    });
    page.allowUrl = (url) => allowed.add(url.split('#')[0]);
    await use(page);
    const violations = (await page.evaluate(() => window.__violations).catch(() => [])) ?? [];
    for (const v of violations) problems.push('CSP violation: ' + v);
    base.expect(problems, 'no request, CSP violation, console error or dialog').toEqual([]);
  },
});

// Opens the page, at a deep link if given, once its script has taken over.
async function open(page, hash = '') {
  await page.goto(pageUrl + hash);
  await base.expect(page.locator('#tool')).toBeVisible();
}

// The same page served over HTTP on the loopback; gives the URL and a stop function.
async function serve() {
  const body = fs.readFileSync(pagePath);
  const server = http.createServer((request, response) => {
    response.writeHead(200, { 'Content-Type': 'text/html; charset=utf-8' });
    response.end(body);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return { url: `http://127.0.0.1:${server.address().port}/`, stop: () => new Promise((r) => server.close(r)) };
}

const lf = (text) => text.split('\r\n').join('\n');

// The tool's controls, found by the names a screen reader gives them.
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
  await base.expect(page.locator('#find-results')).not.toHaveAttribute('aria-busy', 'true');
  return page.locator('#find-results li').evaluateAll((rows) =>
    rows.map((row) => [...row.children].map((c) => c.textContent).join('\t')));
}

const clipboard = (page) => page.evaluate(() => navigator.clipboard.readText());

module.exports = {
  test, expect: base.expect, open, serve, names, expected, zorvin, zorvinPath, zorvinMany, lf, pageUrl, controls, findLines, clipboard,
};
