// Measures the page in Debian's Chromium: its size, the load to the first
// frame, which shows the block after a deep link, against a floor (the same
// page without its script, which only parses and paints), and the work of
// each keystroke in Find. Usage: node bench-page.js PAGE [RUNS]
const { chromium } = require('@playwright/test');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const zlib = require('node:zlib');
const { pathToFileURL } = require('node:url');
const config = require('./playwright.config.js');

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

async function main() {
  const pagePath = path.resolve(process.argv[2]);
  const runs = Number(process.argv[3] || 15);
  const html = fs.readFileSync(pagePath);
  const gzip = zlib.gzipSync(html, { level: 9 }).length;
  console.log(`page size: ${html.length} bytes, ${gzip} bytes gzip -9 (target 32768)`);

  const floorPath = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'zorvin-floor-')), 'floor.html');
  fs.writeFileSync(floorPath, html.toString('utf8').replace(/<script>[\s\S]*<\/script>/, ''));

  const browser = await chromium.launch(config.use.launchOptions);
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });

  // Navigation start to the end of the first frame after the document is
  // whole (its DOMContentLoaded; the page's script has shown the block by
  // then). A message posted from the frame's animation callback arrives once
  // the frame's style, layout and paint are done, so both clocks include the
  // rendering their frame needed.
  async function load(file, hash) {
    const page = await context.newPage();
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
  const pageTimes = [];
  const floorTimes = [];
  await load(pagePath, '#level=mp_toujane');  // warm-up
  await load(floorPath, '');
  for (let i = 0; i < runs; ++i) {
    pageTimes.push(await load(pagePath, '#level=mp_toujane'));
    floorTimes.push(await load(floorPath, ''));
  }
  const pageLoad = median(pageTimes);
  const floorLoad = median(floorTimes);
  console.log(`load to the end of the first frame, with the block shown (median of ${runs}): ${pageLoad.toFixed(1)} ms; floor ${floorLoad.toFixed(1)} ms;` +
              ` ratio ${(pageLoad / floorLoad).toFixed(2)} (target 1.20)`);

  // Each keystroke: the input event's handler and the style and layout it
  // causes, forced at once, measured in the page.
  const page = await context.newPage();
  await page.goto(pathToFileURL(pagePath).href);
  for (const text of ['e', '_', 'effects']) {
    const perKey = await page.evaluate(async ({ text, repeats }) => {
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
    console.log(`Find "${text}", keystroke by keystroke (median of 20, ms): ${perKey.map((t) => t.toFixed(2)).join(' ')}` +
                ` (target 4)`);
  }
  await browser.close();
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
