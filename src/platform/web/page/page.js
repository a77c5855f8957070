// The page around the program: fetches the data directory, starts the
// program, and answers its calls (screens shown, sounds, the end).
'use strict';

const DataBundle = 'kunishirabe-data.bin';
// What Qt's loader fetches: the program.
const ProgramFiles = ['kunishirabe.js', 'kunishirabe.wasm'];
const plainFetch = globalThis.fetch.bind(globalThis);

// The download of the data and the program, in bytes and as a bar. Totals come from
// version.json, as a compressed response's length is not what the page reads.
const progress = {
  loaded: 0,
  total: 0,

  start(sizes) {
    this.total = [DataBundle, ...ProgramFiles].reduce((sum, name) => sum + (sizes[name] || 0), 0);
    const bar = document.getElementById('loading-progress');
    if (this.total > 0)
      bar.max = this.total;
    bar.hidden = false;
    this.show();
  },

  add(bytes) {
    this.loaded += bytes;
    this.show();
  },

  show() {
    const megabytes = bytes => (bytes / 1e6).toFixed(1) + ' MB';
    if (this.total > 0)
      document.getElementById('loading-progress').value = Math.min(this.loaded, this.total);
    document.getElementById('loading-bytes').textContent =
      megabytes(this.loaded) + (this.total > 0 ? ' / ' + megabytes(this.total) : '');
  },
};

// Revalidated with the server (or the offline cache), counted as the bytes arrive.
async function fetchCounted(url) {
  const response = await plainFetch(url, {cache: 'no-cache'});
  if (!response.ok || !response.body)
    return response;
  const reader = response.body.getReader();
  const body = new ReadableStream({
    async pull(controller) {
      const {done, value} = await reader.read();
      if (done) {
        controller.close();
        return;
      }
      progress.add(value.byteLength);
      controller.enqueue(value);
    },
    cancel: reason => reader.cancel(reason),
  });
  return new Response(body, {status: response.status, statusText: response.statusText, headers: response.headers});
}

// The bundle: a 4-byte little-endian length, a UTF-8 JSON index of
// [path, start, end] relative to the bytes that follow, then the bytes.
async function fetchDataFiles() {
  const response = await fetchCounted(DataBundle);
  if (!response.ok)
    throw new Error(DataBundle + ': ' + response.status);
  const bundle = await response.arrayBuffer();
  const indexLength = new DataView(bundle).getUint32(0, true);
  const index = JSON.parse(new TextDecoder().decode(new Uint8Array(bundle, 4, indexLength)));
  const bytes = new Uint8Array(bundle, 4 + indexLength);
  return index.map(([path, start, end]) => [path, bytes.subarray(start, end)]);
}

// The site's version and its files' sizes, written by admin/update-site.py.
async function fetchSiteVersion() {
  try {
    const response = await plainFetch('version.json', {cache: 'no-cache'});
    if (response.ok)
      return await response.json();
  } catch (error) {
    // No version to show: the program starts all the same.
  }
  return {version: '', sizes: {}};
}

// On a first visit the offline cache's worker takes charge of the page before the
// program is fetched, so that it keeps the program as it passes, and no one fetches it twice.
async function offlineCacheInCharge() {
  if (!('serviceWorker' in navigator))
    return;
  let registration;
  try {
    registration = await navigator.serviceWorker.register('service-worker.js');
  } catch (error) {
    return;
  }
  // Active already but not in charge (a reload that bypassed it): nothing to wait for; one still
  // activating takes charge next.
  const active = registration.active && registration.active.state === 'activating' ? registration.active : null;
  const worker = registration.installing || registration.waiting || active;
  if (navigator.serviceWorker.controller || !worker)
    return;
  await new Promise(resolve => {
    navigator.serviceWorker.addEventListener('controllerchange', resolve, {once: true});
    worker.addEventListener('statechange', () => {
      if (worker.state === 'redundant')
        resolve();
    });
  });
}

let audio = null;
const sounds = new Map();
let playing = null;

globalThis.kunishirabePage = {
  dataFiles: [],

  takeDataFiles() {
    const files = this.dataFiles;
    this.dataFiles = [];
    return files;
  },

  // "CAPTION x,y,w,h" in CSS pixels of each screen shown or fitted again, also
  // written to the console; kept for a browser driver that cannot read the console.
  screensShown: [],

  screenShown(caption, x, y, width, height, scale) {
    const canvas = document.getElementById('screen').getBoundingClientRect();
    const css = value => Math.round(value * scale / window.devicePixelRatio);
    const line = `${caption} ${Math.round(canvas.left) + css(x)},${Math.round(canvas.top) + css(y)},` +
                 `${css(width)},${css(height)}`;
    this.screensShown.push(line);
    console.log(`kunishirabe: screen ${line}`);
  },

  playSound(key, wav) {
    try {
      audio = audio || new AudioContext();
      if (audio.state === 'suspended')
        audio.resume().catch(() => {});
      if (playing)
        playing.stop();
      const start = buffer => {
        const source = audio.createBufferSource();
        source.buffer = buffer;
        source.connect(audio.destination);
        source.start();
        playing = source;
      };
      if (sounds.has(key))
        start(sounds.get(key));
      else
        audio.decodeAudioData(wav).then(buffer => { sounds.set(key, buffer); start(buffer); }, () => {});
    } catch (error) {
      // No sound in this browser: the program goes on silent.
    }
  },

  announce(text) {
    // Emptied first, so that the same words said twice are heard twice.
    const announcer = document.getElementById('announcer');
    announcer.textContent = '';
    announcer.dataset.count = Number(announcer.dataset.count || 0) + 1;
    requestAnimationFrame(() => { announcer.textContent = text; });
  },

  showStopped(message) {
    document.getElementById('screen').hidden = true;
    document.getElementById('stopped-message').textContent = message;
    document.getElementById('stopped').hidden = false;
    document.getElementById('restart').focus();
    document.title = '世界の国しらべ';
  },
};

function showLoadingState(text) {
  document.getElementById('loading-state').textContent = text;
}

// A drill run with answers asks before the page goes: back, a swipe, reload, closing the tab.
function askBeforeLeaving(event) {
  const page = globalThis.kunishirabePage;
  if (page.workInProgress && page.workInProgress()) {
    event.preventDefault();
    event.returnValue = '';
  }
}

async function start() {
  const canvas = document.getElementById('screen');
  document.getElementById('restart').addEventListener('click', () => location.reload());
  window.addEventListener('beforeunload', askBeforeLeaving);
  await offlineCacheInCharge();
  const site = await fetchSiteVersion();
  if (site.version) {
    for (const line of document.querySelectorAll('.version'))
      line.textContent = '版：' + site.version;
  }
  progress.start(site.sizes || {});
  try {
    globalThis.kunishirabePage.dataFiles = await fetchDataFiles();
  } catch (error) {
    showLoadingState('データを読み込めませんでした。ネットワークを確かめて、ページを読み込みなおしてください。');
    return;
  }
  // Qt's loader fetches the program with the page's fetch: counted while it loads.
  globalThis.fetch = (input, init) => ProgramFiles.includes(String(input)) ? fetchCounted(input) : plainFetch(input, init);
  const loader = QtLoader({
    canvasElements: [canvas],
    stdoutEnabled: true,
    stderrEnabled: true,
    showLoader: () => showLoadingState('読み込んでいます…'),
    showCanvas: () => {
      globalThis.fetch = plainFetch;
      document.getElementById('loading').hidden = true;
      canvas.focus();
      return canvas;
    },
    showError: errorText => showLoadingState('起動できませんでした：' + errorText),
    showExit: () => {},
  });
  loader.loadEmscriptenModule('kunishirabe');
}

start();
