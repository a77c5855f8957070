// Highlight entries from the finished map: fills with one seed per part,
// rings for entries too small to fill visibly.
import { deepestPixel } from './markers.mjs';

export const MAX_SEEDS = 45;
// Entries with fewer yellow pixels than this are ringed.
export const RING_BELOW_PIXELS = 16;
const TWIPS_PER_PIXEL = 15;

export function ringFor(pixels, width, height, unit) {
  let x0 = Infinity, y0 = Infinity, x1 = -Infinity, y1 = -Infinity;
  for (const p of pixels) {
    const x = p % width, y = Math.floor(p / width);
    x0 = Math.min(x0, x); x1 = Math.max(x1, x);
    y0 = Math.min(y0, y); y1 = Math.max(y1, y);
  }
  const cx = Math.min(width - 1, Math.max(0, Math.round((x0 + x1) / 2)));
  const cy = Math.min(height - 1, Math.max(0, Math.round((y0 + y1) / 2)));
  let reach = 0;
  for (const p of pixels) reach = Math.max(reach, Math.hypot((p % width) - cx, Math.floor(p / width) - cy));
  // the ring's 3-pixel line must stay clear of the entry
  const needed = reach + 3;
  if (unit !== 'pixels') {
    for (const twips of [100, 200, 300])
      if (twips / TWIPS_PER_PIXEL >= needed) return { centre: [cx, cy], radius: twips, unit: 'Twips' };
  }
  return { centre: [cx, cy], radius: Math.max(5, Math.ceil(needed)), unit: 'Pixels' };
}

// parts[k]: pixel lists, largest first. markers[k-1]: atlas rect.
export function buildTable({ width, height, count, labels, parts, markers, defaultRule, ringUnit }) {
  const entries = [];
  const summary = { fills: 0, seeds: 0, rings: 0, markerSeeded: 0, leftOutParts: 0, leftOutPixels: 0 };
  for (let k = 1; k <= count; k++) {
    const all = parts[k].flat();
    if (!all.length) throw new Error(`entry ${k} has no pixels`);
    const ring = ringFor(all, width, height, ringUnit);
    // a ring only where all the entry's pixels lie close together
    // Scattered specks (atolls) are ringed as well: red dots would not show.
    const scattered = all.length / parts[k].length < 6;
    if ((all.length < RING_BELOW_PIXELS || scattered) && (ring.unit === 'Twips' || ring.radius <= 40)) {
      entries.push({ country: k, kind: 'Circle', ...ring });
      summary.rings++;
      continue;
    }
    const m = markers[k - 1];
    if (defaultRule === 'MarkerSeed' && parts[k].length === 1 && labels[m.top * width + m.left] === k) {
      summary.markerSeeded++;
      continue;
    }
    const used = parts[k].slice(0, MAX_SEEDS);
    const left = parts[k].slice(MAX_SEEDS);
    summary.leftOutParts += left.length;
    summary.leftOutPixels += left.reduce((n, part) => n + part.length, 0);
    const seeds = used.map((part) => {
      const { x, y } = deepestPixel(part, width, height);
      return [x, y];
    });
    entries.push({ country: k, kind: 'Fill', seeds, leftOut: left.length });
    summary.fills++;
    summary.seeds += seeds.length;
  }
  return { entries, summary };
}
