// Highlight entries from the finished map: fills with one seed per part,
// rings for entries whose fill would show no patch big enough to see.
import { deepestPixel } from './markers.mjs';
import { largestUncovered } from './raster.mjs';

export const MAX_SEEDS = 45;
// A fill shows only where one of its patches has at least this many pixels;
// other entries are ringed.
export const VISIBLE_PATCH = 20;
// Parts at most this far apart (pixels) form one island group.
const GROUP_GAP = 12;
const MAX_RING_RADIUS = 35;
const TWIPS_PER_PIXEL = 15;

// Whether an entry has a part big enough to show filled, markers aside
// (parts: the entry's pixel lists, largest first).
export const isFilled = (parts) => parts[0].length >= VISIBLE_PATCH;

// The largest patch of the entry that the markers leave in view, for the
// marker layout (covers: one mask per layout, atlas and drill) that leaves
// the smallest.
export const largestVisiblePatch = (parts, covers, width) =>
  Math.min(...covers.map((covered) => largestUncovered(parts.flat(), (p) => covered[p], width)));

// The island group with the most pixels: parts linked by gaps of at most GROUP_GAP.
export function mainGroup(parts, width) {
  const xy = parts.map((part) => part.map((p) => [p % width, Math.floor(p / width)]));
  const near = (a, b) => xy[a].some(([x, y]) => xy[b].some(([u, v]) => Math.max(Math.abs(x - u), Math.abs(y - v)) <= GROUP_GAP));
  const groupOf = new Array(parts.length).fill(-1);
  const groups = [];
  for (let start = 0; start < parts.length; start++) {
    if (groupOf[start] !== -1) continue;
    const members = [start];
    groupOf[start] = groups.length;
    for (let i = 0; i < members.length; i++)
      for (let b = 0; b < parts.length; b++)
        if (groupOf[b] === -1 && near(members[i], b)) {
          groupOf[b] = groups.length;
          members.push(b);
        }
    groups.push(members.flatMap((i) => parts[i]));
  }
  return groups.reduce((best, g) => (g.length > best.length ? g : best));
}

const radiusInPixels = (ring) => (ring.unit === 'Twips' ? ring.radius / TWIPS_PER_PIXEL : ring.radius);

// A ring about the whole entry, or about its main island group where the
// whole would need a ring wider than MAX_RING_RADIUS.
function ringOf(parts, width, height, unit) {
  const whole = ringFor(parts.flat(), width, height, unit);
  return radiusInPixels(whole) <= MAX_RING_RADIUS ? whole : ringFor(mainGroup(parts, width), width, height, unit);
}

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
  // the ring's 3-pixel line must stay clear of the group
  const needed = reach + 3;
  if (unit !== 'pixels') {
    for (const twips of [100, 200, 300])
      if (twips / TWIPS_PER_PIXEL >= needed) return { centre: [cx, cy], radius: twips, unit: 'Twips' };
  }
  return { centre: [cx, cy], radius: Math.max(5, Math.ceil(needed)), unit: 'Pixels' };
}

// parts[k]: pixel lists, largest first, at most MAX_SEEDS for a filled
// entry. markers[k-1]: atlas rect. covers: the pixels each marker layout
// (atlas, drill) hides; a fill must show a patch of VISIBLE_PATCH beside them.
export function buildTable({ width, height, count, labels, parts, markers, covers, defaultRule, ringUnit }) {
  const entries = [];
  const summary = { fills: 0, seeds: 0, rings: 0, markerSeeded: 0, hidden: [] };
  for (let k = 1; k <= count; k++) {
    if (!parts[k].length) throw new Error(`entry ${k} has no pixels`);
    if (largestVisiblePatch(parts[k], covers, width) < VISIBLE_PATCH) {
      entries.push({ country: k, kind: 'Circle', ...ringOf(parts[k], width, height, ringUnit) });
      summary.rings++;
      if (isFilled(parts[k])) summary.hidden.push(k);
      continue;
    }
    if (parts[k].length > MAX_SEEDS) throw new Error(`entry ${k} has ${parts[k].length} parts`);
    const m = markers[k - 1];
    if (defaultRule === 'MarkerSeed' && parts[k].length === 1 && labels[m.top * width + m.left] === k) {
      summary.markerSeeded++;
      continue;
    }
    const seeds = parts[k].map((part) => {
      const { x, y } = deepestPixel(part, width, height);
      return [x, y];
    });
    entries.push({ country: k, kind: 'Fill', seeds });
    summary.fills++;
    summary.seeds += seeds.length;
  }
  return { entries, summary };
}
