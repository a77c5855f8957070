// The web page in Debian's chromium, headless, driven over the DevTools
// protocol: pointer, taps and keys through every kind of screen, the page
// link, the review's record over a reload, the service worker's offline start,
// a first visit on a slow line and a data edit as a school makes it, the site
// from Debian's nginx and Apache as the guide sets them up, and a site with a
// broken data file.
// Usage: node browser-journey.js SITE_DIR DATA_DIR SHOTS_DIR
'use strict';

const fs = require('fs');
const os = require('os');
const path = require('path');
const {execFileSync} = require('child_process');
const puppeteer = require('puppeteer-core');
const {serveSite} = require('./serve-site');
const {startServer} = require('./school-servers');

const [siteDir, dataDir, shotsDir] = process.argv.slice(2);
const Sizes = [[1024, 768], [1366, 768]];
const Red = [255, 0, 0];
const Magenta = [255, 0, 255];

// Client-area places of the controls the journey uses, in program pixels.
const Menu = {dove: [596, 60], resultsButton: [604, 132], redCrossFlag: [142, 246], background: [560, 335], exit: [722, 328],
              review: [355, 336],
              flagText: [104, 8, 574, 154], southAmerica: [656, 433]};
const Submenu = {atlas: [127, 59], drill: [127, 257], flagDrill: [127, 324], nameDrill: [127, 420]};
const Atlas = {selector: [404, 58], titlePicture: [138, 42], flag: [203, 157], background: [380, 474], drillButton: [585, 42],
               southAmericaMap: [404, 85, 291, 379], flagFrame: [75, 82, 257, 144],
               overviewFrame: [65, 239, 272, 223], originFrame: [341, 80, 267, 164]};
const Drill = {menuButton: [704, 37], southAmericaMap: [455, 100, 291, 378], reviewButton: [145, 96],
               restart: [140, 34], confirmRestart: [384, 38], count: [295, 12, 179, 52]};
const Results = {title: [138, 31], titleBox: [44, 2, 189, 59], menuButton: [669, 32]};
// アジア's atlas: its overview's frame.
const Profile = {asia: {overviewFrame: [12, 232, 259, 223]}};
// An iPad's page: 1080 x 810 CSS pixels at two device pixels each, then turned.
const Tablet = [1080, 810];
// きょうの復習 (818 wide): 学習の記録 in the title row, アジア's map.
const Review = {recordButton: [631, 37], asiaMap: [333, 103, 463, 370]};
const RecordKey = 'kunishirabe-review';
// The learning drills: the first of the four names.
const Learning = {firstName: [145, 141]};
// What a learning drill says after an answer: both names after a miss.
const Feedback = /^(正解　\S+|不正解　あなたの答えは\S+　正しい答えは\S+)　正解率/;

function fail(message) {
  throw new Error(message);
}

async function check(condition, message) {
  if (!condition)
    fail(message);
}

const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));

// Follows the page: the screens it logs, and what its live region says.
class Journey {
  constructor(browser, page, label) {
    this.browser = browser;
    this.page = page;
    this.label = label;
    this.screens = [];
    this.seen = 0;
    this.step = 0;
    page.on('console', message => {
      const found = /^kunishirabe: screen (\S+) (\d+),(\d+),(\d+),(\d+)$/.exec(message.text());
      if (found)
        this.screens.push({name: found[1], rect: found.slice(2).map(Number)});
    });
    page.on('pageerror', error => console.log(`${label}: page error: ${error.message}`));
  }

  // The next screen shown after the last one asked for; its rectangle.
  async screen(name, timeout = 20000) {
    const since = Date.now();
    for (;;) {
      const index = this.screens.findIndex((screen, i) => i >= this.seen && screen.name === name);
      if (index >= 0) {
        this.seen = index + 1;
        return this.screens[index].rect;
      }
      if (Date.now() - since > timeout)
        fail(`${this.label}: screen ${name} not shown; shown: ${this.screens.map(s => s.name).join(' ')}`);
      await sleep(50);
    }
  }

  // The place of a client-area point on the page, in CSS pixels.
  at(rect, [x, y], base) {
    const scale = rect[2] / base[0];
    return [rect[0] + x * scale, rect[1] + y * scale];
  }

  async said() {
    return this.page.$eval('#announcer', e => Number(e.dataset.count || 0));
  }

  // What the page says next (after `since` things said) that matches.
  async announced(pattern, timeout = 10000, since = this.lastSaid) {
    const handle = await this.page.waitForFunction((p, since) => {
      const announcer = document.getElementById('announcer');
      const text = announcer.textContent;
      return Number(announcer.dataset.count || 0) > since && new RegExp(p).test(text) ? text : null;
    }, {timeout, polling: 50}, pattern.source, since ?? -1).catch(() => null);
    if (!handle) {
      const text = await this.page.$eval('#announcer', e => e.textContent);
      fail(`${this.label}: the page did not say /${pattern.source}/; it says "${text}"`);
    }
    this.lastSaid = await this.said();
    return handle.jsonValue();
  }

  async shot(name) {
    this.step += 1;
    await sleep(150);
    const file = path.join(shotsDir, `${this.label}-${String(this.step).padStart(2, '0')}-${name}.png`);
    await this.page.screenshot({path: file});
    return file;
  }

  // Counts pixels of a colour, or pixels that differ between two shots, in a page rectangle.
  async pixels(file, [x, y, w, h], colour, otherFile) {
    const images = [fs.readFileSync(file).toString('base64')];
    if (otherFile)
      images.push(fs.readFileSync(otherFile).toString('base64'));
    return this.page.evaluate(async (images, box, colour) => {
      const data = [];
      for (const image of images) {
        const bitmap = await createImageBitmap(await (await fetch('data:image/png;base64,' + image)).blob());
        const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
        const context = canvas.getContext('2d');
        context.drawImage(bitmap, 0, 0);
        // Screenshots have as many pixels per CSS pixel as the device.
        const [x, y, w, h] = box.map(v => Math.round(v * bitmap.width / window.innerWidth));
        data.push(context.getImageData(x, y, w, h).data);
      }
      let count = 0;
      for (let i = 0; i < data[0].length; i += 4) {
        if (data.length === 2)
          count += data[0][i] !== data[1][i] || data[0][i + 1] !== data[1][i + 1] || data[0][i + 2] !== data[1][i + 2];
        else
          count += data[0][i] === colour[0] && data[0][i + 1] === colour[1] && data[0][i + 2] === colour[2];
      }
      return count;
    }, images, [x, y, w, h], colour);
  }

  // Centres of the marker squares (8 x 8 magenta) in a page rectangle.
  async markers(file, box) {
    const image = fs.readFileSync(file).toString('base64');
    return this.page.evaluate(async (image, box, colour) => {
      const bitmap = await createImageBitmap(await (await fetch('data:image/png;base64,' + image)).blob());
      const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
      canvas.getContext('2d').drawImage(bitmap, 0, 0);
      const ratio = bitmap.width / window.innerWidth;
      const [left0, top0, width0, height0] = box.map(v => Math.round(v * ratio));
      const {data, width, height} = canvas.getContext('2d').getImageData(left0, top0, width0, height0);
      const isMarker = (x, y) => {
        const i = (y * width + x) * 4;
        return data[i] === colour[0] && data[i + 1] === colour[1] && data[i + 2] === colour[2];
      };
      const seen = new Uint8Array(width * height);
      const centres = [];
      for (let y = 0; y < height; ++y) {
        for (let x = 0; x < width; ++x) {
          if (seen[y * width + x] || !isMarker(x, y))
            continue;
          let [left, top, right, bottom, size] = [x, y, x, y, 0];
          const stack = [[x, y]];
          seen[y * width + x] = 1;
          while (stack.length) {
            const [px, py] = stack.pop();
            ++size;
            left = Math.min(left, px); right = Math.max(right, px);
            top = Math.min(top, py); bottom = Math.max(bottom, py);
            for (const [nx, ny] of [[px + 1, py], [px - 1, py], [px, py + 1], [px, py - 1]]) {
              if (nx >= 0 && ny >= 0 && nx < width && ny < height && !seen[ny * width + nx] && isMarker(nx, ny)) {
                seen[ny * width + nx] = 1;
                stack.push([nx, ny]);
              }
            }
          }
          // The square, not its leader line.
          if (size >= 30 * ratio * ratio)
            centres.push([(left0 + (left + right) / 2) / ratio, (top0 + (top + bottom) / 2) / ratio]);
        }
      }
      return centres;
    }, image, box, Magenta);
  }

  box(rect, [x, y, w, h], base) {
    const scale = rect[2] / base[0];
    return [rect[0] + x * scale, rect[1] + y * scale, w * scale, h * scale];
  }
}

function pageAddresses(region) {
  const text = new TextDecoder('shift_jis').decode(fs.readFileSync(path.join(dataDir, '外務省', region, 'url.txt')));
  return new Map(text.split(/\r?\n/).filter(Boolean).map(line => line.split(',')));
}

// Menu → 南アメリカ → atlas: an entry from the list and one by its marker; the page
// link; the drill with one right and one wrong answer, then to its end; its miss
// asked again; 正解率 with its bar.
async function pointerJourney(journey) {
  const {page, menu} = journey;
  await journey.shot('menu');
  await page.mouse.click(...journey.at(menu, Menu.southAmerica, [766]));
  const submenu = await journey.screen('南アメリカ');
  await journey.shot('submenu');
  await page.mouse.click(...journey.at(submenu, Submenu.atlas, [254]));
  const atlas = await journey.screen('南アメリカ');
  const mapBox = journey.box(atlas, Atlas.southAmericaMap, [768]);
  const before = await journey.shot('atlas');
  await check(await journey.pixels(before, mapBox, Red) === 0, 'the atlas map is red before any entry is chosen');

  // From the list: open it and pick its third line.
  await page.mouse.click(...journey.at(atlas, Atlas.selector, [768]));
  await sleep(300);
  await journey.shot('atlas-list-open');
  const [sx, sy] = journey.at(atlas, Atlas.selector, [768]);
  await page.mouse.click(sx, sy + 12 + 2.5 * 20 * atlas[2] / 768);
  const listName = await journey.announced(/./);
  const chosen = await journey.shot('atlas-from-list');
  await check(await journey.pixels(chosen, mapBox, Red) > 20, `${listName}: not red on the map`);
  await check(await journey.pixels(before, journey.box(atlas, Atlas.flagFrame, [768]), null, chosen) > 500,
              `${listName}: no flag shown`);
  await check(await journey.pixels(before, journey.box(atlas, Atlas.overviewFrame, [768]), null, chosen) > 2000,
              `${listName}: no overview shown`);

  // By markers: each one names its entry; the names are kept for the drill.
  const squares = await journey.markers(chosen, mapBox);
  await check(squares.length === 12, `南アメリカ shows ${squares.length} markers, not 12`);
  const markerOf = new Map();
  for (const square of squares) {
    await page.mouse.click(...square);
    const name = await journey.announced(/./);
    markerOf.set(name, square.map((v, i) => (v - mapBox[i]) / mapBox[i + 2]));
  }
  await check(markerOf.size === 12, `the 12 markers named ${markerOf.size} entries`);
  const byMarker = await journey.shot('atlas-by-marker');
  await check(await journey.pixels(byMarker, mapBox, Red) > 20, 'the entry chosen by its marker is not red');

  // The page link opens the entry's address in a new tab.
  const lastName = [...markerOf.keys()].pop();
  const newTab = new Promise(resolve => journey.browser.once('targetcreated', resolve));
  await page.mouse.move(...journey.at(atlas, Atlas.background, [768]));
  await page.mouse.move(...journey.at(atlas, Atlas.titlePicture, [768]), {steps: 4});
  await sleep(200);
  await journey.shot('atlas-link');
  await page.mouse.click(...journey.at(atlas, Atlas.titlePicture, [768]));
  const tab = await Promise.race([newTab, sleep(10000).then(() => null)]);
  await check(tab, 'the page link opened no tab');
  const expected = pageAddresses('南アメリカ').get(lastName);
  await check(tab.url() === expected, `the page link opened ${tab.url()}, not ${expected} for ${lastName}`);
  const tabPage = await tab.page();
  if (tabPage)
    await tabPage.close();
  await page.bringToFront();

  // The drill: the asked entry's marker, then another one.
  await page.mouse.click(...journey.at(atlas, Atlas.drillButton, [768]));
  const drill = await journey.screen('南アメリカドリル');
  const drillMap = journey.box(drill, Drill.southAmericaMap, [768]);
  const place = name => markerOf.get(name).map((v, i) => drillMap[i] + v * drillMap[i + 2]);
  let question = await journey.announced(/はどこ？/);
  await journey.shot('drill');
  await page.mouse.click(...place(question.split('はどこ')[0]));
  await journey.announced(/^正解/);
  await journey.shot('drill-right');
  question = await journey.announced(/はどこ？.*残 11 問/, 15000);
  const asked = question.split('はどこ')[0];
  const other = [...markerOf.keys()].find(name => name !== asked);
  await page.mouse.click(...place(other));
  await journey.announced(/^不正解/);
  await journey.shot('drill-wrong');
  // The rest right, to the verdict: 11 of 12.
  for (;;) {
    const next = await journey.announced(/はどこ？|合格/, 15000);
    if (/合格/.test(next))
      break;
    await page.mouse.click(...place(next.split('はどこ')[0]));
  }
  await journey.shot('drill-verdict');

  // まちがえた国をもう一度: the one miss alone, answered right; nothing stored.
  await page.mouse.click(...journey.at(drill, Drill.reviewButton, [768]));
  const review = await journey.screen('南アメリカドリル（もう一度）');
  question = await journey.announced(/はどこ？　残 1 問/);
  await check(question.startsWith(asked), `the review asks ${question}, not the missed ${asked}`);
  await page.mouse.click(...place(asked));
  await journey.announced(/金メダル 合格/, 15000);
  await journey.shot('review-verdict');

  // 正解率: 南アメリカ's bar at 91 %.
  await page.mouse.click(...journey.at(review, Drill.menuButton, [768]));
  const menuAgain = await journey.screen('メニュー');
  await page.mouse.move(...journey.at(menuAgain, Menu.background, [766]));
  await page.mouse.move(...journey.at(menuAgain, Menu.dove, [766]), {steps: 4});
  await sleep(200);
  await page.mouse.click(...journey.at(menuAgain, Menu.resultsButton, [766]));
  await journey.screen('正解率');
  await journey.announced(/南アメリカ 9[12]％/);
  await journey.shot('results');
}

// The learning drills by pointer: one 国旗ドリル answer on a marker, one 国名ドリル
// answer by a name; each names what was answered.
async function learningJourney(journey) {
  const {page, menu} = journey;
  await page.mouse.click(...journey.at(menu, Menu.southAmerica, [766]));
  let submenu = await journey.screen('南アメリカ');
  await page.mouse.click(...journey.at(submenu, Submenu.flagDrill, [254]));
  const flagDrill = await journey.screen('南アメリカ国旗ドリル');
  await journey.announced(/この国旗の国はどこ？　残 12 問/);
  const asking = await journey.shot('flag-drill');
  const squares = await journey.markers(asking, journey.box(flagDrill, Drill.southAmericaMap, [768]));
  await check(squares.length === 12, `the flag drill shows ${squares.length} markers, not 12`);
  await page.mouse.click(...squares[0]);
  await journey.announced(Feedback);
  await journey.shot('flag-drill-answer');

  await page.mouse.click(...journey.at(flagDrill, Drill.menuButton, [768]));
  const menuAgain = await journey.screen('メニュー');
  await page.mouse.click(...journey.at(menuAgain, Menu.southAmerica, [766]));
  submenu = await journey.screen('南アメリカ');
  await page.mouse.click(...journey.at(submenu, Submenu.nameDrill, [254]));
  const nameDrill = await journey.screen('南アメリカ国名ドリル');
  await journey.announced(/名前は？　残 12 問/);
  await journey.shot('name-drill');
  await page.mouse.click(...journey.at(nameDrill, Learning.firstName, [768]));
  await journey.announced(Feedback);
  await journey.shot('name-drill-answer');
}

// A reload starts the program afresh: its screens and what it says count from nothing.
async function reload(journey) {
  journey.screens = [];
  journey.seen = 0;
  journey.lastSaid = undefined;
  await journey.page.reload();
}

// きょうの復習: nothing stored before the first answer, the answer stored at
// once, the record still there after a reload, and a bad one kept aside.
async function reviewJourney(journey) {
  const {page} = journey;
  const stored = () => page.evaluate(key => window.localStorage.getItem(key), RecordKey);
  await check(await stored() === null, 'the site stored a record before any review');
  await page.mouse.click(...journey.at(journey.menu, Menu.review, [766]));
  const review = await journey.screen('きょうの復習');
  await journey.announced(/はどこ？　残 10 問/);
  await check(await stored() === null, 'opening the review stored a record');
  const asking = await journey.shot('review');
  const squares = await journey.markers(asking, journey.box(review, Review.asiaMap, [818]));
  await check(squares.length === 25, `the review shows ${squares.length} アジア markers, not 25`);
  await page.mouse.click(...squares[0]);
  await journey.announced(Feedback);
  await journey.shot('review-answer');
  const firstRecord = await stored();
  const record = JSON.parse(firstRecord || '{}');
  await check(record.format === 1 && Object.keys(record.entries || {}).length === 1,
              `the first answer stored ${JSON.stringify(record)}`);

  await reload(journey);
  const menu = await journey.screen('メニュー', 30000);
  await check(await stored() === firstRecord, 'the record changed with the reload');
  await page.mouse.click(...journey.at(menu, Menu.review, [766]));
  const again = await journey.screen('きょうの復習');
  await page.mouse.click(...journey.at(again, Review.recordButton, [818]));
  await journey.screen('学習の記録');
  await journey.announced(/28 日のうち 1 日 練習しました/);
  await journey.shot('learning-record');

  // A record that cannot be read is kept under another key, unchanged.
  await page.evaluate(key => window.localStorage.setItem(key, 'not a record'), RecordKey);
  await reload(journey);
  const menuAgain = await journey.screen('メニュー', 30000);
  await page.mouse.click(...journey.at(menuAgain, Menu.review, [766]));
  await journey.screen('きょうの復習');
  await journey.announced(/これまでの記録が読めませんでした/);
  const aside = await page.evaluate(key => Object.keys(window.localStorage).filter(k => k.startsWith(key + '.bad-'))
    .map(k => window.localStorage.getItem(k)), RecordKey);
  await check(aside.length === 1 && aside[0] === 'not a record', `the bad record was not kept aside: ${aside}`);
  await check(await stored() === null, 'the bad record was written over before an answer');
  await journey.shot('review-bad-record');
}

// Taps alone: 正解率表示, a flag's text, an atlas flag's story and the page link.
async function tapJourney(journey) {
  const {page, menu} = journey;
  const plain = await journey.shot('tap-menu');
  await page.touchscreen.tap(...journey.at(menu, Menu.redCrossFlag, [766]));
  const flagText = await journey.shot('tap-flag-text');
  const textBox = journey.box(menu, Menu.flagText, [766]);
  await check(await journey.pixels(plain, textBox, null, flagText) > 2000, 'a tap on a flag shows no text');
  await page.touchscreen.tap(...journey.at(menu, Menu.background, [766]));
  await check(await journey.pixels(plain, textBox, null, await journey.shot('tap-background')) === 0,
              'a tap on the background leaves the flag text');
  await page.touchscreen.tap(...journey.at(menu, Menu.dove, [766]));
  await journey.shot('tap-dove');
  await page.touchscreen.tap(...journey.at(menu, Menu.resultsButton, [766]));
  const results = await journey.screen('正解率');
  await journey.shot('tap-results');
  await page.touchscreen.tap(...journey.at(results, [669, 32], [768]));
  const menuAgain = await journey.screen('メニュー');
  await page.touchscreen.tap(...journey.at(menuAgain, Menu.southAmerica, [766]));
  const submenu = await journey.screen('南アメリカ');
  await page.touchscreen.tap(...journey.at(submenu, Submenu.atlas, [254]));
  const atlas = await journey.screen('南アメリカ');
  const shown = await journey.shot('tap-atlas');
  const squares = await journey.markers(shown, journey.box(atlas, Atlas.southAmericaMap, [768]));
  await page.touchscreen.tap(...squares[0]);
  const name = await journey.announced(/./);
  const chosen = await journey.shot('tap-entry');
  await page.touchscreen.tap(...journey.at(atlas, Atlas.flag, [768]));
  const story = await journey.shot('tap-flag-story');
  await check(await journey.pixels(chosen, journey.box(atlas, Atlas.originFrame, [768]), null, story) > 2000,
              'a tap on the atlas flag shows no flag story');
  const newTab = new Promise(resolve => journey.browser.once('targetcreated', resolve));
  await page.touchscreen.tap(...journey.at(atlas, Atlas.titlePicture, [768]));
  await journey.shot('tap-link');
  await page.touchscreen.tap(...journey.at(atlas, Atlas.titlePicture, [768]));
  const tab = await Promise.race([newTab, sleep(10000).then(() => null)]);
  await check(tab && tab.url() === pageAddresses('南アメリカ').get(name), `taps on the page link opened ${tab && tab.url()}`);
}

// The most open marker square of a map, and the place `miss` CSS pixels off it away from its nearest neighbour.
function openMarker(squares, miss) {
  const distance = (a, b) => Math.hypot(a[0] - b[0], a[1] - b[1]);
  const nearest = square => squares.filter(other => other !== square)
    .reduce((best, other) => distance(square, other) < distance(square, best) ? other : best);
  const square = squares.reduce((best, s) => distance(s, nearest(s)) > distance(best, nearest(best)) ? s : best);
  const from = nearest(square);
  const length = distance(square, from);
  return {square, off: [square[0] + (square[0] - from[0]) / length * miss, square[1] + (square[1] - from[1]) / length * miss]};
}

// By finger on a tablet: the screens fill the page; one tap on a trigger presses nothing; a restart asks
// first; a tap 10 px off a marker takes it; leaving during a run asks; the screen stays whole when turned.
async function fingerJourney(journey) {
  const {page, menu} = journey;
  await check(menu[2] >= 0.8 * Tablet[0] || menu[3] >= 0.8 * Tablet[1],
              `the menu fills ${menu[2]} x ${menu[3]} of the ${Tablet.join(' x ')} page`);
  await check(await page.title() === 'メニュー', `the menu's page is titled ${await page.title()}`);
  await journey.shot('finger-menu');
  const nothingShown = async (what, since) => {
    await sleep(800);
    await check(journey.screens.length === since, `one tap on ${what} opened ${journey.screens.slice(since).map(s => s.name)}`);
  };

  // The dove: a tap where its button comes up shows the button and opens nothing.
  let shown = journey.screens.length;
  await page.touchscreen.tap(...journey.at(menu, Menu.resultsButton, [766]));
  await nothingShown('the dove', shown);
  await journey.shot('finger-dove');
  await page.touchscreen.tap(...journey.at(menu, Menu.resultsButton, [766]));
  const results = await journey.screen('正解率');
  const plainResults = await journey.shot('finger-results');
  await page.touchscreen.tap(...journey.at(results, Results.title, [768]));
  await check(await journey.pixels(plainResults, journey.box(results, Results.titleBox, [768]), null,
                                   await journey.shot('finger-results-clear')) > 500, 'a tap on 正解率 shows no 正解率消去');
  await page.touchscreen.tap(...journey.at(results, Results.menuButton, [768]));
  const menuAgain = await journey.screen('メニュー');
  await page.touchscreen.tap(...journey.at(menuAgain, Menu.southAmerica, [766]));
  const submenu = await journey.screen('南アメリカ');
  await check(await page.title() === '南アメリカ', `the submenu's page is titled ${await page.title()}`);
  await page.touchscreen.tap(...journey.at(submenu, Submenu.drill, [254]));

  // The drill: two answers, then the title plate; 再スタート asks first with 本当にやり直す.
  const drill = await journey.screen('南アメリカドリル');
  await journey.announced(/残 12 問/);
  const squares = await journey.markers(await journey.shot('finger-drill'), journey.box(drill, Drill.southAmericaMap, [768]));
  await page.touchscreen.tap(...squares[0]);
  await journey.announced(/残 11 問/, 15000);
  shown = journey.screens.length;
  await page.touchscreen.tap(...journey.at(drill, Drill.restart, [768]));
  const plate = await journey.shot('finger-restart');
  await page.touchscreen.tap(...journey.at(drill, Drill.restart, [768]));
  await check(await journey.pixels(plate, journey.box(drill, Drill.count, [768]), null,
                                   await journey.shot('finger-restart-asks')) > 500, 'a tap on 再スタート does not ask first');
  await check(!/残 12 問/.test(await page.$eval('#announcer', e => e.textContent)), 'a tap on 再スタート restarted the run');
  await page.touchscreen.tap(...journey.at(drill, Drill.confirmRestart, [768]));
  await journey.announced(/残 12 問/);

  // A run with an answer: going back asks, through the browser's own prompt.
  await page.touchscreen.tap(...squares[1]);
  await journey.announced(/残 11 問/, 15000);
  const prompt = new Promise(resolve => page.once('dialog', async dialog => {
    resolve(dialog.type());
    await dialog.dismiss();
  }));
  await page.evaluate(() => history.back());
  const asked = await Promise.race([prompt, sleep(5000).then(() => null)]);
  await check(asked === 'beforeunload', `going back during a run asked ${asked}`);
  await page.touchscreen.tap(...journey.at(drill, Drill.menuButton, [768]));

  // The atlas: a tap 10 CSS pixels off a marker takes that marker, as a tap on it does.
  const menuThird = await journey.screen('メニュー');
  await page.touchscreen.tap(...journey.at(menuThird, Menu.southAmerica, [766]));
  await page.touchscreen.tap(...journey.at(await journey.screen('南アメリカ'), Submenu.atlas, [254]));
  const atlas = await journey.screen('南アメリカ');
  await check(await page.title() === '南アメリカ 国しらべ', `the atlas's page is titled ${await page.title()}`);
  const atlasSquares = await journey.markers(await journey.shot('finger-atlas'), journey.box(atlas, Atlas.southAmericaMap, [768]));
  const {square, off} = openMarker(atlasSquares, 10);
  await page.touchscreen.tap(...off);
  const offName = await journey.announced(/./);
  await journey.shot('finger-off-marker');
  await page.touchscreen.tap(...atlasSquares.find(other => other !== square));
  await journey.announced(/./);
  await page.touchscreen.tap(...square);
  const onName = await journey.announced(/./);
  await check(offName === onName, `10 px off a marker took ${offName}, the marker itself ${onName}`);
  // One tap on the title picture opens no page.
  const tabs = (await journey.browser.pages()).length;
  await page.touchscreen.tap(...journey.at(atlas, Atlas.titlePicture, [768]));
  await sleep(1000);
  await check((await journey.browser.pages()).length === tabs, 'one tap on the atlas title opened a page');
  await journey.shot('finger-link');

  // Turned: the screen is fitted again, inside the page and centred.
  await page.evaluate(() => {
    window.addEventListener('resize', () => {
      window.turnedAt = performance.now();
      window.framesAfterTurn = 0;
      const count = () => {
        if (!window.fittedAt)
          window.framesAfterTurn += 1;
        if (window.framesAfterTurn < 100 && !window.fittedAt)
          requestAnimationFrame(count);
      };
      requestAnimationFrame(count);
    }, {once: true});
    const screenShown = globalThis.kunishirabePage.screenShown;
    globalThis.kunishirabePage.screenShown = function (...args) {
      window.fittedAt = window.fittedAt || performance.now();
      return screenShown.apply(this, args);
    };
  });
  await page.setViewport({width: Tablet[1], height: Tablet[0], deviceScaleFactor: 2, hasTouch: true, isMobile: true});
  const turned = await journey.screen('南アメリカ', 5000);
  const fittedAfter = await page.evaluate(() => [window.fittedAt - window.turnedAt, window.framesAfterTurn]);
  const [x, y, w, h] = turned;
  await check(x >= 0 && y >= 0 && x + w <= Tablet[1] && y + h <= Tablet[0] && Math.abs(x - (Tablet[1] - w) / 2) <= 2,
              `after the turn the atlas lies at ${turned} on the ${Tablet[1]} x ${Tablet[0]} page`);
  await journey.shot('finger-turned');
  return {menu, atlas, turned, fittedAfter};
}

// Enter on the focused アジア, Enter on 国しらべ: アジア's atlas, its rectangle.
async function asiaAtlasByKeys(journey) {
  const {page} = journey;
  // As a pupil would: once the page has the focus and the menu its window.
  await page.waitForFunction(() => document.activeElement && document.activeElement.id === 'screen');
  await sleep(500);
  await page.keyboard.press('Enter');
  await journey.screen('アジア');
  await sleep(500);
  await page.keyboard.press('Enter');
  const atlas = await journey.screen('アジア');
  await sleep(500);
  return atlas;
}

// Keys alone: Enter on the focused アジア, Enter on 国しらべ, Down in the selector.
async function keyJourney(journey) {
  const {page} = journey;
  const atlas = await asiaAtlasByKeys(journey);
  const before = await journey.shot('keys-atlas');
  await page.keyboard.press('ArrowDown');
  await journey.announced(/./);
  const after = await journey.shot('keys-entry');
  await check(await journey.pixels(after, journey.box(atlas, [290, 87, 463, 370], [768]), Red) > 20,
              'the entry chosen by keys is not red');
  await check(await journey.pixels(before, journey.box(atlas, Atlas.flagFrame, [768]), null, after) > 500,
              'the entry chosen by keys shows no flag');
}

async function openPage(browser, url, [width, height], label, touch = false, deviceScaleFactor = 1) {
  const page = await browser.newPage();
  await page.bringToFront();
  await page.setViewport({width, height, hasTouch: touch, deviceScaleFactor, isMobile: touch && deviceScaleFactor > 1});
  const journey = new Journey(browser, page, label);
  const started = Date.now();
  await page.goto(url);
  journey.menu = await journey.screen('メニュー', 30000);
  journey.startSeconds = (Date.now() - started) / 1000;
  return journey;
}

function brokenSite() {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'kunishirabe-broken-'));
  fs.cpSync(siteDir, path.join(dir, 'site'), {recursive: true});
  fs.cpSync(dataDir, path.join(dir, 'data'), {recursive: true, dereference: true});
  fs.writeFileSync(path.join(dir, 'data', '概要', 'アジア', 'kuni.txt'), '');
  updateSite(path.join(dir, 'site'), path.join(dir, 'data'));
  return dir;
}

// The site's own update step, as a school runs it after editing the data.
function updateSite(site, data) {
  execFileSync('python3', [path.join(site, 'admin', 'update-site.py'), data]);
  return JSON.parse(fs.readFileSync(path.join(site, 'version.json'), 'utf8'));
}

// アジア's atlas by keys, 日本 chosen in its list; the screenshot.
async function showJapan(journey, name) {
  const atlas = await asiaAtlasByKeys(journey);
  for (let entries = 0; ; ++entries) {
    await check(entries < 30, '日本 is not in アジア\'s list');
    await journey.page.keyboard.press('ArrowDown');
    if (await journey.announced(/./) === '日本')
      break;
  }
  return {atlas, shot: await journey.shot(name)};
}

const Megabytes = /^\d+\.\d MB \/ (\d+\.\d) MB$/;

// A first visit on a slow line, in a browser that has never seen the site: the download's
// progress and the site's version on the loading page, the program fetched once and kept for
// a start without network. Then 日本's overview edited as a school would (the data written out
// by the site's update step, edited in CP932, packed by it again), and the next reload shows it,
// the program not sent again.
async function firstVisitJourney(browser) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'kunishirabe-first-visit-'));
  const site = path.join(dir, 'site');
  fs.cpSync(siteDir, site, {recursive: true});
  const server = await serveSite(site);
  const context = await browser.createBrowserContext();
  try {
    const {version, sizes} = JSON.parse(fs.readFileSync(path.join(site, 'version.json'), 'utf8'));
    const total = sizes['kunishirabe.wasm'] + sizes['kunishirabe.js'] + sizes['kunishirabe-data.bin'];
    // About 20 Mbit/s: the program takes some seconds to come.
    server.bytesPerSecond = 2.5e6;
    const page = await context.newPage();
    await page.setViewport({width: Sizes[0][0], height: Sizes[0][1]});
    const journey = new Journey(browser, page, 'first-visit');
    await page.goto(server.url);
    await page.waitForFunction(() => {
      const bar = document.getElementById('loading-progress');
      return !bar.hidden && bar.value > bar.max * 0.3;
    }, {timeout: 30000, polling: 50}).catch(() => fail('the first visit shows no progress'));
    const loading = await page.evaluate(() => ({
      bytes: document.getElementById('loading-bytes').textContent,
      version: document.querySelector('#loading .version').textContent,
      bar: [document.getElementById('loading-progress').value, document.getElementById('loading-progress').max],
      label: document.getElementById('loading-progress').getAttribute('aria-labelledby').split(' ')
        .map(id => document.getElementById(id).textContent).join(' '),
    }));
    await journey.shot('progress');
    const [, shownTotal] = Megabytes.exec(loading.bytes) || [];
    await check(shownTotal === (total / 1e6).toFixed(1) && loading.bar[1] === total,
                `the progress shows "${loading.bytes}" (bar ${loading.bar}) for ${total} bytes`);
    await check(loading.label === `読み込んでいます… ${loading.bytes}`, `the progress bar is labelled "${loading.label}"`);
    await check(loading.version === `版：${version}`, `the loading page shows "${loading.version}", not 版：${version}`);
    journey.menu = await journey.screen('メニュー', 60000);
    server.bytesPerSecond = 0;
    const asked = name => server.requests.filter(request => request.path === '/' + name).map(request => request.status);
    await check(asked('kunishirabe.wasm').join() === '200' && asked('kunishirabe-data.bin').join() === '200',
                `the first visit asked for the program ${asked('kunishirabe.wasm')}, the data ${asked('kunishirabe-data.bin')}`);
    await page.waitForFunction(() => caches.match('kunishirabe.wasm').then(kept => kept !== undefined), {timeout: 20000})
      .catch(() => fail('the offline cache did not keep the program the page fetched'));
    const before = await showJapan(journey, 'japan');

    // Without network: the server drops every connection.
    server.offline = true;
    await reload(journey);
    await journey.screen('メニュー', 30000);
    server.offline = false;
    console.log(`first visit: ${loading.bytes} shown at ${(100 * loading.bar[0] / total).toFixed(0)} %; ` +
                `the program asked for once (${asked('kunishirabe.wasm')}); started again without network`);

    // 日本's overview (the entry's number in kuni.txt) edited in the data the site's step writes out.
    const data = path.join(dir, 'data');
    execFileSync('python3', [path.join(site, 'admin', 'update-site.py'), '--unpack', data]);
    const entries = new TextDecoder('shift_jis').decode(fs.readFileSync(path.join(data, '概要', 'アジア', 'kuni.txt')));
    const number = /^日本,(\d+)\r?$/m.exec(entries)[1];
    execFileSync('python3', ['-c', `import sys
path, old, new = sys.argv[1:]
text = open(path, 'rb').read().decode('cp932')
assert old in text, old
open(path, 'wb').write(text.replace(old, new).encode('cp932'))`,
                             path.join(data, '概要', 'アジア', `s${number}.txt`), '首都：東京', '首都：東京（ここを書きかえました）']);
    const updated = updateSite(site, data);
    await check(updated.version !== version, 'the update step kept the version');
    const sinceEdit = server.requests.length;
    await reload(journey);
    await journey.screen('メニュー', 30000);
    const after = await showJapan(journey, 'japan-edited');
    const shown = await page.$eval('#loading .version', element => element.textContent);
    await check(shown === `版：${updated.version}`, `after the update the page shows "${shown}", not 版：${updated.version}`);
    const overview = journey.box(after.atlas, Profile.asia.overviewFrame, [768]);
    const changed = await journey.pixels(before.shot, overview, null, after.shot);
    await check(changed > 300, `the reload after the update shows 日本's old overview (${changed} pixels changed)`);
    const resent = server.requests.slice(sinceEdit).filter(request => request.status === 200).map(request => request.path);
    await check(resent.includes('/kunishirabe-data.bin') && !resent.includes('/kunishirabe.wasm'),
                `the reload after the update was sent ${resent.join(' ')}`);
    console.log(`data edit: 版：${version} → 版：${updated.version} at the next reload, ${changed} pixels of 日本's ` +
                `overview changed; sent again: ${resent.join(' ')}`);
  } finally {
    await context.close();
    server.close();
    fs.rmSync(dir, {recursive: true, force: true});
  }
}

// What the guide's server examples must send: [file, Content-Type].
const ServedTypes = [['', /^text\/html/], ['index.html', /^text\/html/], ['page.css', /^text\/css/],
  ['page.js', /^(text|application)\/javascript/], ['kunishirabe.wasm', /^application\/wasm$/],
  ['manifest.webmanifest', /^application\/manifest\+json/], ['kunishirabe-data.bin', /^application\/octet-stream$/],
  ['version.json', /^application\/json/], ['fonts/README.md', /^text\/markdown/]];

// The guide's examples: Debian's nginx with admin/nginx.conf in a server block, Apache with the
// site's .htaccess; the types they send, the program compressed, and the page starting from each.
// IIS's web.config, which cannot run here: well-formed, each type removed before it is mapped.
async function schoolServersJourney(browser) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'kunishirabe-servers-'));
  const site = path.join(dir, 'site');
  fs.cpSync(siteDir, site, {recursive: true});
  execFileSync('chmod', ['-R', 'a+rX', dir]);
  try {
    for (const name of ['nginx', 'apache']) {
      const server = await startServer(name, site, path.join(dir, name));
      const context = await browser.createBrowserContext();
      try {
        const sent = [];
        for (const [file, type] of ServedTypes) {
          const response = await fetch(server.url + file, {headers: {'Accept-Encoding': 'gzip'}});
          const contentType = response.headers.get('content-type');
          await response.arrayBuffer();
          await check(response.ok && type.test(contentType), `${name} sends ${file || '/'} as ${response.status} ${contentType}`);
          sent.push(`${file || '/'} ${contentType}${response.headers.get('content-encoding') ? ' (gzip)' : ''}`);
        }
        await check(sent.find(line => line.startsWith('kunishirabe.wasm')).endsWith('(gzip)'), `${name} sends the program uncompressed`);
        // The page starts; at the reload the server is asked whether the program has changed, and
        // it does not send it again.
        const since = server.requests().length;
        const journey = new Journey(browser, await context.newPage(), name);
        await journey.page.setViewport({width: Sizes[0][0], height: Sizes[0][1]});
        await journey.page.goto(server.url);
        await journey.screen('メニュー', 30000);
        await journey.shot('menu');
        await journey.page.waitForFunction(() => caches.match('kunishirabe.wasm').then(kept => kept !== undefined),
                                           {timeout: 20000});
        await reload(journey);
        await journey.screen('メニュー', 30000);
        const program = server.requests().slice(since).filter(request => request.path === '/kunishirabe.wasm').map(request => request.status);
        await check(program.join() === '200,304', `${name} answered the program's requests ${program}`);
        console.log(`${name}: ${sent.join(', ')}; the menu started, and again at a reload (the program ${program})`);
      } catch (error) {
        console.log(server.log());
        throw error;
      } finally {
        await context.close();
        await server.stop();
      }
    }
  } finally {
    fs.rmSync(dir, {recursive: true, force: true});
  }

  const page = await browser.newPage();
  const maps = await page.evaluate(text => {
    const config = new DOMParser().parseFromString(text, 'application/xml');
    if (config.querySelector('parsererror'))
      return null;
    const entries = [...config.querySelectorAll('configuration > system\\.webServer > staticContent > *')];
    return entries.map((entry, i) => [entry.tagName, entry.getAttribute('fileExtension'), entry.getAttribute('mimeType'),
                                      entries.slice(0, i).some(e => e.tagName === 'remove' &&
                                                                    e.getAttribute('fileExtension') === entry.getAttribute('fileExtension'))]);
  }, fs.readFileSync(path.join(siteDir, 'web.config'), 'utf8'));
  await page.close();
  await check(maps !== null, 'web.config is not well-formed XML');
  for (const [extension, type] of [['.wasm', 'application/wasm'], ['.webmanifest', 'application/manifest+json'],
                                   ['.bin', 'application/octet-stream']]) {
    await check(maps.some(([tag, ext, mime, removed]) => tag === 'mimeMap' && ext === extension && mime === type && removed),
                `web.config does not map ${extension} to ${type} after removing it: ${JSON.stringify(maps)}`);
  }
  console.log(`IIS web.config: ${maps.filter(m => m[0] === 'mimeMap').map(m => m[1] + ' ' + m[2]).join(', ')}`);
}

async function main() {
  fs.mkdirSync(shotsDir, {recursive: true});
  const server = await serveSite(siteDir);
  const broken = brokenSite();
  const brokenServer = await serveSite(path.join(broken, 'site'));
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'kunishirabe-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium', headless: true,
    args: ['--no-sandbox', '--enable-unsafe-swiftshader', '--autoplay-policy=no-user-gesture-required'],
    userDataDir: profile,
  });
  try {
    for (const size of Sizes) {
      const label = `${size[0]}x${size[1]}`;
      const pointer = await openPage(browser, server.url, size, `${label}-pointer`);
      console.log(`${label}: menu shown ${pointer.startSeconds.toFixed(2)} s after navigation`);
      await pointerJourney(pointer);
      await pointer.page.close();
      const learning = await openPage(browser, server.url, size, `${label}-learning`);
      await learningJourney(learning);
      await learning.page.close();
      const taps = await openPage(browser, server.url, size, `${label}-taps`, true);
      await tapJourney(taps);
      await taps.page.close();
      const keys = await openPage(browser, server.url, size, `${label}-keys`);
      await keyJourney(keys);
      await keys.page.close();
      console.log(`${label}: pointer, learning drills, taps and keys passed`);
    }

    const tablet = await openPage(browser, server.url, Tablet, 'tablet', true, 2);
    const fitted = await fingerJourney(tablet);
    await tablet.page.close();
    console.log(`tablet: by finger; menu ${fitted.menu.slice(2).join(' x ')}, atlas ${fitted.atlas.slice(2).join(' x ')}, ` +
                `turned ${fitted.turned.slice(2).join(' x ')} CSS pixels, fitted ${fitted.fittedAfter[0].toFixed(1)} ms ` +
                `(${fitted.fittedAfter[1]} frames begun) after the resize event`);

    const review = await openPage(browser, server.url, Sizes[0], 'review');
    await reviewJourney(review);
    await review.page.close();
    console.log('review: stored at the first answer, kept over a reload, a bad record kept aside');

    // Offline: the service worker keeps the site.
    const offline = await openPage(browser, server.url, Sizes[0], 'offline');
    await offline.page.waitForFunction(() => navigator.serviceWorker.controller !== null, {timeout: 30000});
    // The page's offline mode does not reach the worker's fetches: the server drops every connection.
    server.offline = true;
    const answered = server.requests.length;
    offline.screens = [];
    offline.seen = 0;
    await offline.page.reload();
    const menu = await offline.screen('メニュー', 30000);
    await check(server.requests.length === answered, 'the server answered while offline');
    await offline.shot('menu-without-network');
    console.log('offline: the menu starts without network');

    // 終: the page says the program has ended and starts it again on request.
    await offline.page.mouse.click(...offline.at(menu, Menu.exit, [766]));
    await offline.page.waitForSelector('#stopped:not([hidden])', {timeout: 10000})
      .catch(() => fail('終 did not end the program'));
    await offline.shot('ended');
    await check(/終わりました/.test(await offline.page.$eval('#stopped-message', e => e.textContent)),
                '終 ended without saying so');
    const siteVersion = JSON.parse(fs.readFileSync(path.join(siteDir, 'version.json'), 'utf8')).version;
    const endVersion = await offline.page.$eval('#stopped .version', e => e.textContent);
    await check(endVersion === `版：${siteVersion}`, `the end page shows "${endVersion}", not 版：${siteVersion}`);
    await offline.page.click('#restart');
    await offline.screen('メニュー', 30000);
    console.log('終: ended, and started again');

    await firstVisitJourney(browser);
    await schoolServersJourney(browser);

    // A broken data file: the same message as the desktop's, and the program stops.
    const faulty = await openPage(browser, brokenServer.url, Sizes[0], 'broken');
    await sleep(500);
    await faulty.page.keyboard.press('Enter');
    await faulty.screen('アジア');
    await sleep(500);
    await faulty.page.keyboard.press('Enter');
    await faulty.page.waitForSelector('#stopped:not([hidden])', {timeout: 10000})
      .catch(() => fail('the broken kuni.txt stopped nothing'));
    const message = await faulty.page.$eval('#stopped-message', e => e.textContent);
    await faulty.shot('broken-data-file');
    await check(/kuni\.txt/.test(message), `the message does not name the file: ${message}`);
    console.log(`broken data file: ${message.replace(/\n/g, ' ')}`);
  } finally {
    await browser.close();
    server.close();
    brokenServer.close();
    fs.rmSync(broken, {recursive: true, force: true});
    fs.rmSync(profile, {recursive: true, force: true});
  }
}

main().then(() => console.log(`passed; screenshots in ${shotsDir}`), error => {
  console.error(`FAILED: ${error.message} (screenshots so far in ${shotsDir})`);
  process.exit(1);
});
