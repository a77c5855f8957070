// The page around the program: fetches the data directory, starts the
// program, and answers its calls (screens shown, sounds, the end).
'use strict';

const DataBundle = 'kunishirabe-data.bin';

// The bundle: a 4-byte little-endian length, a UTF-8 JSON index of
// [path, start, end] relative to the bytes that follow, then the bytes.
async function fetchDataFiles() {
  const response = await fetch(DataBundle);
  if (!response.ok)
    throw new Error(DataBundle + ': ' + response.status);
  const bundle = await response.arrayBuffer();
  const indexLength = new DataView(bundle).getUint32(0, true);
  const index = JSON.parse(new TextDecoder().decode(new Uint8Array(bundle, 4, indexLength)));
  const bytes = new Uint8Array(bundle, 4 + indexLength);
  return index.map(([path, start, end]) => [path, bytes.subarray(start, end)]);
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
  if ('serviceWorker' in navigator)
    navigator.serviceWorker.register('service-worker.js').catch(() => {});
  try {
    globalThis.kunishirabePage.dataFiles = await fetchDataFiles();
  } catch (error) {
    showLoadingState('データを読み込めませんでした。ネットワークを確かめて、ページを読み込みなおしてください。');
    return;
  }
  const loader = QtLoader({
    canvasElements: [canvas],
    stdoutEnabled: true,
    stderrEnabled: true,
    showLoader: () => showLoadingState('読み込んでいます…'),
    showCanvas: () => {
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
