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

// The standard output of many zorvin command lines, a few running at a time.
async function zorvinMany(argLists, atOnce = 4) {
  const outs = new Array(argLists.length);
  let next = 0;
  const worker = async () => {
    for (let i = next++; i < argLists.length; i = next++) {
      outs[i] = await new Promise((resolve, reject) => execFile(zorvinPath, ['--lf', ...argLists[i]],
        { encoding: 'utf8' }, (error, stdout) => (error ? reject(error) : resolve(stdout))));
    }
  };
  await Promise.all(Array.from({ length: atOnce }, worker));
  return outs;
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

module.exports = { test, expect: base.expect, open, serve, names, expected, zorvin, zorvinPath, zorvinMany, lf, pageUrl };
