// Measures the page in Debian's Chromium: its size, the load to the first
// frame, which shows the block after a deep link, against a floor (the same
// page without its script, which only parses and paints), and the work of
// each keystroke in Find, moving from level to level (the longest task,
// the gallery), tuning a light by the compass, and checking a big file. Usage: node bench-page.js PAGE [RUNS]
const { chromium } = require('@playwright/test');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const zlib = require('node:zlib');
const { pathToFileURL } = require('node:url');
const config = require('./playwright.config.js');

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

const pagePath = () => path.resolve(process.argv[2]);

async function main() {
  const pagePath = path.resolve(process.argv[2]);
  const runs = Number(process.argv[3] || 15);
  const html = fs.readFileSync(pagePath);
  const gzip = zlib.gzipSync(html, { level: 9 }).length;
  console.log(`page size: ${html.length} bytes, ${gzip} bytes gzip -9 (target 47104, 46 KB)`);

  const floorFolder = fs.mkdtempSync(path.join(os.tmpdir(), 'zorvin-floor-'));
  const floorPath = path.join(floorFolder, 'floor.html');
  const floorHtml = html.toString('utf8').replace(/<script>[\s\S]*<\/script>/, '');
  fs.writeFileSync(floorPath, floorHtml);
  // For the keystrokes, the same with the tool shown (the script shows it), so
  // that the field typed into is laid out.
  const keysFloorPath = path.join(floorFolder, 'keys-floor.html');
  fs.writeFileSync(keysFloorPath, floorHtml.replace('<div id="tool" hidden>', '<div id="tool">'));

  const browser = await chromium.launch(config.use.launchOptions);
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });

  // Navigation start to the end of the first frame after the document is
  // whole (its DOMContentLoaded; the page's script has shown the block by
  // then). A message posted from the frame's animation callback arrives once
  // the frame's style, layout and paint are done, so both clocks include the
  // rendering their frame needed.
  async function load(file, hash, rate) {
    const page = await context.newPage();
    await slow(page, rate);
    await page.addInitScript(() => {
      document.addEventListener('DOMContentLoaded', () => {
        const shown = document.getElementById('block').textContent.startsWith('{');
        requestAnimationFrame(() => {
          const channel = new MessageChannel();
          channel.port1.onmessage = () => (window.__frame = { at: performance.now(), shown });
          channel.port2.postMessage(null);
        });
      });
    });
    await page.goto(pathToFileURL(file).href + hash, { waitUntil: 'load' });
    await page.waitForFunction(() => window.__frame);
    const frame = await page.evaluate(() => window.__frame);
    await page.close();
    if (hash && !frame.shown) throw new Error('the block was not shown by the first frame');
    return frame.at;
  }
  // The page's CPU slowed, as Lighthouse slows it to see a phone's (4 times).
  async function slow(page, rate) {
    const cdp = await page.context().newCDPSession(page);
    await cdp.send('Emulation.setCPUThrottlingRate', { rate });
  }
  for (const rate of [1, 4]) await measure(rate);

  async function measure(rate) {
  const pageTimes = [];
  const floorTimes = [];
  await load(pagePath, '#level=mp_toujane', rate);  // warm-up
  await load(floorPath, '', rate);
  for (let i = 0; i < runs; ++i) {
    pageTimes.push(await load(pagePath, '#level=mp_toujane', rate));
    floorTimes.push(await load(floorPath, '', rate));
  }
  const pageLoad = median(pageTimes);
  const floorLoad = median(floorTimes);
  console.log(`CPU ${rate} x slower: load to the end of the first frame, with the block shown (median of ${runs}): ${pageLoad.toFixed(1)} ms; floor ${floorLoad.toFixed(1)} ms;` +
              ` ratio ${(pageLoad / floorLoad).toFixed(2)} (target 1.20)`);

  // Each keystroke: the input event's handler and the style and layout it
  // causes, forced at once, measured in the page; its floor, the same on the
  // page without its script and with the tool shown: the field's own text
  // changed and laid out.
  const floorPage = await context.newPage();
  await slow(floorPage, rate);
  await floorPage.goto(pathToFileURL(keysFloorPath).href);
  const page = await context.newPage();
  await slow(page, rate);
  await page.goto(pathToFileURL(pagePath).href);
  // Find's rows are made once the page is idle: the keys are pressed after.
  await page.evaluate(() => new Promise((done) => setTimeout(done, 500)));
  for (const text of ['e', '_', 'effects']) {
    const [perKey, floor] = [await keystrokes(page, text), await keystrokes(floorPage, text)];
    console.log(`CPU ${rate} x slower: Find "${text}", keystroke by keystroke (median of 20, ms): ${perKey.map((t) => t.toFixed(2)).join(' ')}` +
                ` (target 4; floor ${floor.map((t) => t.toFixed(2)).join(' ')})`);
  }
  await floorPage.close();
  if (rate === 1) await moving(page);
  await page.close();
  await tuning(context, slow, rate);
  if (rate === 1) await checking(context);
  }
  await browser.close();
}

async function keystrokes(page, text) {
  return page.evaluate(async ({ text, repeats }) => {
    const field = document.getElementById('find');
    const times = Array.from(text, () => []);
    for (let r = 0; r < repeats; ++r) {
      field.value = '';
      field.dispatchEvent(new Event('input'));
      await new Promise(requestAnimationFrame);
      for (let i = 1; i <= text.length; ++i) {
        const start = performance.now();
        field.value = text.slice(0, i);
        field.dispatchEvent(new Event('input'));
        void document.body.offsetHeight;
        times[i - 1].push(performance.now() - start);
        await new Promise(requestAnimationFrame);
      }
    }
    return times.map((t) => t.sort((a, b) => a - b)[Math.floor(t.length / 2)]);
  }, { text, repeats: 20 });
}

async function moving(page) {
  // Moving from level to level: every level shown in turn by its link, as a
  // user follows them; the longest task (PerformanceObserver's longtask
  // entries are those over 50 ms, so the longest handler is also timed), and
  // whether the gallery was reordered and painted in the frame after the change.
  const moves = await page.evaluate(async () => {
    const names = [...document.querySelectorAll('#settings .entry h3')].map((h) => h.textContent);
    const longTasks = [];
    new PerformanceObserver((list) => longTasks.push(...list.getEntries().map((e) => e.duration)))
      .observe({ type: 'longtask', buffered: false });
    await new Promise((done) => (window.requestIdleCallback || setTimeout)(done));
    let longestHandler = 0;
    let inOneFrame = 0;
    for (const name of [...names, ...names]) {
      const changed = new Promise((done) => addEventListener('hashchange', done, { once: true }));
      const start = performance.now();
      location.hash = '#level=' + encodeURIComponent(name);
      await changed;  // the page's popstate handler has shown the level by then
      longestHandler = Math.max(longestHandler, performance.now() - start);
      await new Promise(requestAnimationFrame);
      const first = document.querySelector('#gallery-list li .name');
      if (first && first.textContent === name) ++inOneFrame;
      await new Promise((done) => setTimeout(done, 0));
    }
    return { count: names.length * 2, longestHandler, longTasks, inOneFrame };
  });
  console.log(`moving from level to level (${moves.count} moves): the longest handler ${moves.longestHandler.toFixed(1)} ms,` +
              ` ${moves.longTasks.length} tasks over 50 ms (longest ${Math.max(0, ...moves.longTasks).toFixed(0)} ms; target: none over 100);` +
              ` the gallery led by the level in the first frame after ${moves.inOneFrame} of ${moves.count}`);
}

// Tuning by the compass: 60 pointer moves dragging the sun around, each
// move's handler timed from a listener that runs before the page's to one
// that runs after it (the tuned preview is repainted in it, at the canvas's
// size in device pixels); its floor, the same listeners for moves the page
// does not take (no button down). Then the time from the last move to the
// nearest lights updated; its floor, the wait before they are ranked (30 ms)
// as a timer keeps it.
async function tuning(context, slow, rate) {
  const page = await context.newPage();
  await slow(page, rate);
  await page.goto(pathToFileURL(pagePath()).href + '#tune=mp_toujane');
  await page.evaluate(() => new Promise((done) => setTimeout(done, 500)));
  await page.evaluate(() => {
    const compass = document.getElementById('tune-compass');
    window.__moves = [];
    window.__longTasks = [];
    new PerformanceObserver((list) => window.__longTasks.push(...list.getEntries().map((e) => e.duration)))
      .observe({ type: 'longtask', buffered: false });
    let start = 0;
    window.addEventListener('pointermove', () => (start = performance.now()), { capture: true });
    compass.addEventListener('pointermove', () => window.__moves.push(performance.now() - start));
    new MutationObserver(() => (window.__ranked = performance.now())).observe(document.getElementById('tune-nearest'), { childList: true });
  });
  const box = await page.locator('#tune-compass').boundingBox();
  const [cx, cy, r] = [box.x + box.width / 2, box.y + box.height / 2, box.width * 0.25];
  const around = async () => {
    for (let i = 1; i <= 60; ++i) await page.mouse.move(cx + r * Math.cos(i / 10), cy - r * Math.sin(i / 10));
  };
  await page.mouse.move(cx + r, cy);
  await around();
  const floor = await page.evaluate(() => window.__moves.splice(0));
  await page.mouse.down();
  await around();
  const last = await page.evaluate(() => performance.now());
  await page.mouse.up();
  await page.waitForFunction((last) => window.__ranked > last, last);
  const { moves, longTasks, ranked, timer } = await page.evaluate(async () => {
    const start = performance.now();
    await new Promise((done) => setTimeout(done, 30));
    return { moves: window.__moves, longTasks: window.__longTasks, ranked: window.__ranked, timer: performance.now() - start };
  });
  console.log(`CPU ${rate} x slower: dragging the sun on the compass (${moves.length} moves): the longest handler ${Math.max(...moves).toFixed(2)} ms,` +
              ` median ${median(moves).toFixed(2)} (target 8; floor ${Math.max(...floor).toFixed(2)});` +
              ` the nearest lights ${(ranked - last).toFixed(0)} ms after the last move (target 100; floor ${timer.toFixed(0)});` +
              ` ${longTasks.length} tasks over 50 ms`);
  await page.close();
}

// "Check your files" on one file of 100 MB (a level script's lines, a name
// every eight): the time to the summary, the longest task (a chunk a task),
// and how many times the progress moved.
async function checking(context) {
  const file = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'zorvin-check-')), 'big.gsc');
  const block = Array.from({ length: 96 }, (_, i) => (i % 8 === 0 ? '\tlevel._effect["dirt"] = loadfx("fx/explosions/grenadeExp_dirt.efx");\n'
    : '\tthread maps\\mp\\_fx::loopfx("fire", (1024, -512, 64), 0.3);\n')).join('');
  fs.writeFileSync(file, block.repeat(Math.ceil(100 * 1024 * 1024 / block.length)) + '\tloadfx("fx/explosions/grenadeExp_drit.efx");\n');
  const page = await context.newPage();
  await page.goto(pathToFileURL(pagePath()).href);
  await page.evaluate(() => {
    window.__longTasks = [];
    window.__moved = 0;
    new PerformanceObserver((list) => window.__longTasks.push(...list.getEntries().map((e) => e.duration)))
      .observe({ type: 'longtask', buffered: false });
    new MutationObserver(() => ++window.__moved).observe(document.getElementById('check-progress'), { attributes: true });
    window.__start = performance.now();
  });
  await page.setInputFiles('#check-files', file);
  await page.waitForFunction(() => /errors? and/.test(document.getElementById('check-status').textContent), null, { timeout: 120000 });
  const { took, longTasks, moved, summary } = await page.evaluate(() => ({ took: performance.now() - window.__start,
    longTasks: window.__longTasks, moved: window.__moved, summary: document.getElementById('check-status').textContent }));
  console.log(`checking one file of ${fs.statSync(file).size} bytes: ${took.toFixed(0)} ms to "${summary}";` +
              ` the longest task ${Math.max(0, ...longTasks).toFixed(0)} ms (${longTasks.length} over 50; target: none over 100);` +
              ` the progress moved ${moved} times`);
  await page.close();
  fs.rmSync(path.dirname(file), { recursive: true });
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
