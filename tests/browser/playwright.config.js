// The page zorvin writes, in Debian's Chromium: no browser is downloaded.
const { defineConfig } = require('@playwright/test');

module.exports = defineConfig({
  testDir: '.',
  testMatch: '*.test.js',
  outputDir: process.env.ZORVIN_BROWSER_OUT || '../../build/browser/results',
  workers: 2,
  fullyParallel: true,
  timeout: 60000,
  reporter: [['list']],
  use: {
    browserName: 'chromium',
    launchOptions: {
      executablePath: process.env.ZORVIN_CHROMIUM || '/usr/bin/chromium',
      // As root, in a closed network: no sandbox, and none of Chromium's own connections;
      // and no limit on navigations a second (a walk of links follows hundreds).
      args: ['--no-sandbox', '--disable-ipc-flooding-protection', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
             '--disable-component-update', '--disable-sync'],
    },
  },
});
