// The web page's timings in headless chromium, served from 127.0.0.1: the menu
// after navigation (first visit with a cold cache, and a later visit), a screen
// change (a click to the next screen's console line) and an atlas choice (a key
// to the chosen entry's words in the live region). Run by hand after
// scripts/build-web.sh: node bench/web.js (from tests/web's node_modules).
'use strict';

const fs = require('fs');
const os = require('os');
const path = require('path');
const puppeteer = require(path.join(__dirname, '..', 'tests', 'web', 'node_modules', 'puppeteer-core'));
const {serveSite} = require(path.join(__dirname, '..', 'tests', 'web', 'serve-site'));

const site = path.join(__dirname, '..', 'build-web', 'site');
const Runs = 5;
const median = values => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));

// In the page: when an input event arrived, when each screen line and each
// live-region change came, in performance.now() milliseconds.
function instrument() {
  window.benchInputs = [];
  window.benchScreens = [];
  window.benchSaid = [];
  for (const type of ['mousedown', 'keydown'])
    window.addEventListener(type, () => window.benchInputs.push(performance.now()), true);
  const log = console.log.bind(console);
  console.log = (...args) => {
    if (String(args[0]).startsWith('kunishirabe: screen '))
      window.benchScreens.push([performance.now(), String(args[0])]);
    log(...args);
  };
  new MutationObserver(() => window.benchSaid.push(performance.now()))
    .observe(document, {subtree: true, childList: true, characterData: true});
}

async function launch(profile) {
  return puppeteer.launch({executablePath: '/usr/bin/chromium', headless: true, userDataDir: profile,
                           args: ['--no-sandbox', '--enable-unsafe-swiftshader']});
}

async function menuShown(page) {
  await page.waitForFunction(() => window.benchScreens && window.benchScreens.some(s => s[1].includes(' メニュー ')),
                             {timeout: 30000, polling: 10});
  return page.evaluate(() => window.benchScreens.find(s => s[1].includes(' メニュー '))[0]);
}

async function main() {
  const server = await serveSite(site);
  const cold = [], warm = [], firstChange = [], screenChange = [], choice = [];
  for (let run = 0; run < Runs; ++run) {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'kunishirabe-bench-'));
    const browser = await launch(profile);
    const page = await browser.newPage();
    await page.setViewport({width: 1024, height: 768});
    await page.evaluateOnNewDocument(instrument);
    await page.goto(server.url);
    cold.push(await menuShown(page));
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null, {timeout: 30000});
    await page.goto(server.url);
    warm.push(await menuShown(page));

    // メニュー → アジア (Enter), → atlas (Enter), then Down in its selector.
    await page.waitForFunction(() => document.activeElement && document.activeElement.id === 'screen');
    await sleep(500);
    const change = async (list, keys) => {
      for (const key of keys.slice(0, -1)) {
        await page.keyboard.press(key);
        await sleep(100);
      }
      const before = await page.evaluate(() => window.benchScreens.length);
      await page.keyboard.press(keys.at(-1));
      await page.waitForFunction(n => window.benchScreens.length > n, {polling: 10}, before);
      list.push(await page.evaluate(() => window.benchScreens.at(-1)[0] - window.benchInputs.at(-1)));
      await sleep(500);
    };
    await change(firstChange, ['Enter']);
    await change(firstChange, ['Enter']);
    for (let key = 0; key < 10; ++key) {
      const before = await page.evaluate(() => window.benchSaid.length);
      await page.keyboard.press('ArrowDown');
      await page.waitForFunction(n => window.benchSaid.length > n, {polling: 10}, before);
      choice.push(await page.evaluate(() => window.benchSaid.at(-1) - window.benchInputs.at(-1)));
      await sleep(100);
    }
    // Atlas → メニュー (Tab to its button) → アジア → atlas, again: screens made afresh.
    for (let round = 0; round < 3; ++round) {
      await change(screenChange, ['Tab', 'Tab', 'Enter']);
      await change(screenChange, ['Enter']);
      await change(screenChange, ['Enter']);
    }
    await browser.close();
    fs.rmSync(profile, {recursive: true, force: true});
  }
  server.close();
  const show = (name, values) =>
    console.log(`${name.padEnd(28)} median ${median(values).toFixed(1)} ms  (min ${Math.min(...values).toFixed(1)},` +
                ` max ${Math.max(...values).toFixed(1)}, n ${values.length})`);
  show('menu, first visit (cold)', cold);
  show('menu, later visit (warm)', warm);
  show('first two screen changes', firstChange);
  show('later screen changes', screenChange);
  show('atlas choice (key → words)', choice);
}

main().catch(error => {
  console.error(error);
  process.exit(1);
});
