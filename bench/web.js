// The web page's timings in headless chromium, served from 127.0.0.1, beside
// the desktop's screen changes from the same run: the menu after navigation
// (first visit with a cold cache, and a later visit); a screen change by the
// pointer (the release of the click until the frame that shows the next
// screen), for each of メニュー, サブメニュー, 国しらべ, 国ドリル and 正解率, against
// bench_screens' ScreenChange on the desktop; screen changes by Enter; an atlas
// choice (a key to the chosen entry's words in the live region).
// Run by hand after scripts/build-web.sh and a build of bench_screens:
//   node bench/web.js [--profile FILE]
// (from tests/web's node_modules). BENCH_SCREENS names the desktop benchmark
// (default build/bench/bench_screens), BENCH_SITE the site (build-web/site),
// BENCH_RUNS the number of runs, each in a fresh browser profile (5).
// --profile records chromium's CPU profile of the first run's pointer changes
// into FILE (.cpuprofile, for DevTools; FILE.changes.json has each change's
// screen and times on the profile's clock, ms) and prints the functions with
// the most time of their own within the changes. BENCH_ROUNDS sets how often
// the pointer goes round its screens in each run (2).
'use strict';

const fs = require('fs');
const os = require('os');
const path = require('path');
const {execFileSync} = require('child_process');
const puppeteer = require(path.join(__dirname, '..', 'tests', 'web', 'node_modules', 'puppeteer-core'));
const {serveSite} = require(path.join(__dirname, '..', 'tests', 'web', 'serve-site'));

const root = path.join(__dirname, '..');
const site = process.env.BENCH_SITE || path.join(root, 'build-web', 'site');
const desktopBench = process.env.BENCH_SCREENS || path.join(root, 'build', 'bench', 'bench_screens');
const profileFile = process.argv.includes('--profile') ? process.argv[process.argv.indexOf('--profile') + 1] : null;
const Runs = Number(process.env.BENCH_RUNS || 5);
const Rounds = Number(process.env.BENCH_ROUNDS || 2);
const median = values => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));

// Client-area places (program pixels) of what the pointer clicks, and each screen's width.
const Menu = {width: 766, asia: [110, 381], background: [560, 335], dove: [596, 60], results: [604, 132]};
const Submenu = {width: 254, atlas: [127, 59], drill: [127, 257]};
const Atlas = {width: 768, menu: [704, 42]};
const Drill = {width: 768, menu: [704, 37]};
const Results = {width: 768, menu: [669, 32]};
// The screens a change leads to, as bench_screens names its ScreenChange benchmarks.
const Screens = ['メニュー', 'サブメニュー', '国しらべ', '国ドリル', '正解率'];

// In the page: when each input event arrived, when each screen line came and
// when the frame after it had been drawn, when the live region changed; in
// performance.now() milliseconds. The program asks for its frame before it
// logs the screen, so the frame asked for here comes after the program's.
function instrument() {
  window.benchInputs = {};
  window.benchScreens = [];
  window.benchSaid = [];
  for (const type of ['pointerdown', 'pointerup', 'keydown'])
    window.addEventListener(type, () => { window.benchInputs[type] = performance.now(); }, true);
  const log = console.log.bind(console);
  console.log = (...args) => {
    const line = String(args[0]);
    if (line.startsWith('kunishirabe: screen ')) {
      const screen = {at: performance.now(), line};
      window.benchScreens.push(screen);
      requestAnimationFrame(() => { screen.drawn = performance.now(); });
    }
    log(...args);
  };
  // Busy for 5 ms from the time it returns: a mark in the CPU profile.
  window.benchMarker = function benchMarker() {
    const start = performance.now();
    while (performance.now() - start < 5)
      ;
    return start;
  };
  new MutationObserver(() => window.benchSaid.push(performance.now()))
    .observe(document, {subtree: true, childList: true, characterData: true});
}

async function launch(profile) {
  return puppeteer.launch({executablePath: '/usr/bin/chromium', headless: true, userDataDir: profile,
                           args: ['--no-sandbox', '--enable-unsafe-swiftshader']});
}

// The rectangle (CSS pixels) of the last screen shown, once its frame is drawn.
async function lastScreen(page, before) {
  await page.waitForFunction(n => window.benchScreens.length > n && window.benchScreens.at(-1).drawn,
                             {timeout: 30000, polling: 10}, before);
  const line = await page.evaluate(() => window.benchScreens.at(-1).line);
  return /(\d+),(\d+),(\d+),(\d+)$/.exec(line).slice(1).map(Number);
}

async function menuShown(page) {
  await page.waitForFunction(() => window.benchScreens && window.benchScreens.some(s => s.line.includes(' メニュー ')),
                             {timeout: 30000, polling: 10});
  return page.evaluate(() => window.benchScreens.find(s => s.line.includes(' メニュー ')).at);
}

// The page place of a client-area point of a screen shown at `rect`.
const at = (rect, width, [x, y]) => [rect[0] + x * rect[2] / width, rect[1] + y * rect[2] / width];

// The desktop's screen changes, medians in ms, from bench_screens in this run.
function desktopChanges() {
  const output = execFileSync(desktopBench, ['--benchmark_filter=^ScreenChange/', '--benchmark_format=json'],
                              {env: {...process.env, QT_QPA_PLATFORM: 'offscreen'}, stdio: ['ignore', 'pipe', 'ignore'],
                               maxBuffer: 1 << 24});
  const figures = {};
  for (const benchmark of JSON.parse(output).benchmarks)
    figures[benchmark.name.split('/')[1]] = benchmark.median_ms;
  return figures;
}

// When the first sample in benchMarker was taken, on the profile's clock (ms).
function markTime(profile) {
  const marker = new Set(profile.nodes.filter(node => node.callFrame.functionName === 'benchMarker').map(node => node.id));
  let time = profile.startTime;
  for (let i = 0; i < profile.samples.length; ++i) {
    time += profile.timeDeltas[i];
    if (marker.has(profile.samples[i]))
      return time / 1000;
  }
  throw new Error('no sample in the profile marker');
}

// Prints the functions with the most time of their own in a CPU profile, within
// the screen changes' windows ([from, to] in the page's performance.now() ms,
// which is the profile's clock less `offset` ms), per change.
function printProfile(title, profile, offset, windows) {
  const self = new Map();
  const byId = new Map(profile.nodes.map(node => [node.id, node]));
  let time = profile.startTime / 1000 - offset;
  let inside = 0;
  profile.samples.forEach((id, i) => {
    const interval = (profile.timeDeltas[i + 1] || 0) / 1000;
    time += profile.timeDeltas[i] / 1000;
    if (!windows.some(([from, to]) => time >= from && time < to))
      return;
    const frame = byId.get(id).callFrame;
    const name = frame.functionName || `(anonymous ${frame.url.split('/').pop()}:${frame.lineNumber})`;
    self.set(name, (self.get(name) || 0) + interval);
    inside += interval;
  });
  console.log(`\nCPU profile, ${title}: ${windows.length} changes, ${(inside / windows.length).toFixed(1)} ms sampled` +
              ' per change; time of its own per change:');
  for (const [name, ms] of [...self].sort((a, b) => b[1] - a[1]).slice(0, 15))
    console.log(`  ${(ms / windows.length).toFixed(2).padStart(7)} ms  ${name}`);
}

async function main() {
  const desktop = desktopChanges();
  const server = await serveSite(site);
  const cold = [], warm = [], keyChange = [], keyLine = [], choice = [], lines = [];
  const pointer = Object.fromEntries(Screens.map(name => [name, []]));
  // The first change to each screen in a run draws its word pictures; the later ones find them kept.
  const firstVisit = Object.fromEntries(Screens.map(name => [name, []]));
  const laterVisit = Object.fromEntries(Screens.map(name => [name, []]));
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
    let menu = await lastScreen(page, 0);
    await sleep(500);

    const visited = new Set(['メニュー']);
    // By the pointer: メニュー → サブメニュー → 国しらべ → メニュー → サブメニュー → 国ドリル →
    // メニュー → 正解率 (its button brought out from the dove) → メニュー.
    const click = async (name, place) => {
      const before = await page.evaluate(() => window.benchScreens.length);
      await page.mouse.click(...place);
      const rect = await lastScreen(page, before);
      const [drawn, line] = await page.evaluate(() => [window.benchScreens.at(-1).drawn - window.benchInputs.pointerup,
                                                       window.benchScreens.at(-1).at - window.benchInputs.pointerup]);
      pointer[name].push(drawn);
      (visited.has(name) ? laterVisit : firstVisit)[name].push(drawn);
      visited.add(name);
      lines.push(line);
      if (cdp)
        profiled.push([name, ...await page.evaluate(() => [window.benchInputs.pointerup, window.benchScreens.at(-1).drawn])]);
      await sleep(300);
      return rect;
    };
    const cdp = profileFile && run === 0 ? await page.target().createCDPSession() : null;
    const profiled = [];
    let marked = 0;
    if (cdp) {
      await cdp.send('Profiler.enable');
      await cdp.send('Profiler.setSamplingInterval', {interval: 100});
      await cdp.send('Profiler.start');
      marked = await page.evaluate(() => window.benchMarker());
    }
    for (let round = 0; round < Rounds; ++round) {
      let submenu = await click('サブメニュー', at(menu, Menu.width, Menu.asia));
      const atlas = await click('国しらべ', at(submenu, Submenu.width, Submenu.atlas));
      menu = await click('メニュー', at(atlas, Atlas.width, Atlas.menu));
      submenu = await click('サブメニュー', at(menu, Menu.width, Menu.asia));
      const drill = await click('国ドリル', at(submenu, Submenu.width, Submenu.drill));
      menu = await click('メニュー', at(drill, Drill.width, Drill.menu));
      await page.mouse.move(...at(menu, Menu.width, Menu.background));
      await page.mouse.move(...at(menu, Menu.width, Menu.dove), {steps: 4});
      await sleep(200);
      const results = await click('正解率', at(menu, Menu.width, Menu.results));
      menu = await click('メニュー', at(results, Results.width, Results.menu));
    }
    if (cdp) {
      const {profile: cpu} = await cdp.send('Profiler.stop');
      fs.writeFileSync(profileFile, JSON.stringify(cpu));
      // The profile's clock at the marker's first sample, against the page's.
      const offset = markTime(cpu) - marked;
      fs.writeFileSync(`${profileFile}.changes.json`, JSON.stringify(profiled.map(([screen, from, to]) =>
        ({screen, from: from + offset, to: to + offset}))));
      printProfile('every screen', cpu, offset, profiled.map(([, from, to]) => [from, to]));
      for (const name of Screens)
        printProfile(name, cpu, offset, profiled.filter(([screen]) => screen === name).map(([, from, to]) => [from, to]));
    }

    // By keys: Enter on the focused アジア and on 国しらべ, Down in the atlas's selector,
    // then atlas → メニュー (Tab, Tab, Enter) → アジア → atlas, twice. Enter presses a
    // button for 100 ms before it clicks, as on the desktop.
    const key = async keys => {
      for (const name of keys.slice(0, -1)) {
        await page.keyboard.press(name);
        await sleep(100);
      }
      const before = await page.evaluate(() => window.benchScreens.length);
      await page.keyboard.press(keys.at(-1));
      await lastScreen(page, before);
      const [drawn, line] = await page.evaluate(() => [window.benchScreens.at(-1).drawn - window.benchInputs.keydown,
                                                       window.benchScreens.at(-1).at - window.benchInputs.keydown]);
      keyChange.push(drawn);
      keyLine.push(line);
      await sleep(500);
    };
    await page.mouse.move(...at(menu, Menu.width, Menu.background));
    await page.focus('#screen');
    await key(['Enter']);
    await key(['Enter']);
    for (let down = 0; down < 10; ++down) {
      const before = await page.evaluate(() => window.benchSaid.length);
      await page.keyboard.press('ArrowDown');
      await page.waitForFunction(n => window.benchSaid.length > n, {polling: 10}, before);
      choice.push(await page.evaluate(() => window.benchSaid.at(-1) - window.benchInputs.keydown));
      await sleep(100);
    }
    for (let round = 0; round < 2; ++round) {
      await key(['Tab', 'Tab', 'Enter']);
      await key(['Enter']);
      await key(['Enter']);
    }
    await browser.close();
    fs.rmSync(profile, {recursive: true, force: true});
  }
  server.close();

  const show = (name, values) =>
    console.log(`${name.padEnd(40)} median ${median(values).toFixed(1).padStart(7)} ms  (min ${Math.min(...values).toFixed(1)},` +
                ` max ${Math.max(...values).toFixed(1)}, n ${values.length})`);
  console.log('\nScreen change by the pointer, median ms: desktop (bench_screens, offscreen) and web, this run;' +
              ' web also for the first change to the screen in a run and the later ones');
  console.log(`${'screen'.padEnd(12)} ${'desktop'.padStart(8)} ${'web'.padStart(8)}  ${'n'.padStart(3)}  ratio` +
              `  ${'first'.padStart(7)} ${'later'.padStart(7)}`);
  const everyChange = [];
  const desktopEvery = [];
  const figure = values => (values.length ? median(values).toFixed(1) : '–').padStart(7);
  for (const name of Screens) {
    const web = median(pointer[name]);
    everyChange.push(...pointer[name]);
    // The desktop's figure counted as often as the route changes to the screen.
    desktopEvery.push(...pointer[name].map(() => desktop[name]));
    console.log(`${name.padEnd(6, '\u3000')} ${desktop[name].toFixed(2).padStart(8)} ${web.toFixed(1).padStart(8)}` +
                `  ${String(pointer[name].length).padStart(3)}  ${(web / desktop[name]).toFixed(1).padStart(4)}×` +
                `  ${figure(firstVisit[name])} ${figure(laterVisit[name])}`);
  }
  console.log(`${'all'.padEnd(12)} ${median(desktopEvery).toFixed(2).padStart(8)} ${median(everyChange).toFixed(1).padStart(8)}` +
              `  ${String(everyChange.length).padStart(3)}  ${(median(everyChange) / median(desktopEvery)).toFixed(1).padStart(4)}×`);
  console.log('');
  show('menu, first visit (cold)', cold);
  show('menu, later visit (warm)', warm);
  show('pointer change, release → screen line', lines);
  show('screen change by Enter, key → drawn', keyChange);
  show('screen change by Enter, key → screen line', keyLine);
  show('atlas choice (key → words)', choice);
}

main().catch(error => {
  console.error(error);
  process.exit(1);
});
