// Marker layout: an 8x8 square deep inside a big entry, or a square with a
// leader line whose tip touches a small entry. Markers never touch.

import { forEachNear, largestUncovered } from './raster.mjs';

const SQUARE = 8;
// Entries at least this big (pixels) whose largest part holds a square
// with room around it carry the square on themselves.
const ON_COUNTRY_MIN_PIXELS = 170;

export const SHAPES = [
  // width, height, squareEnd, short (preferred)
  { w: 15, h: 8, end: 'Far', short: true },
  { w: 15, h: 8, end: 'Near', short: true },
  { w: 8, h: 14, end: 'Far', short: true },
  { w: 8, h: 14, end: 'Near', short: true },
  { w: 20, h: 8, end: 'Far', short: false },
  { w: 20, h: 8, end: 'Near', short: false },
  { w: 8, h: 19, end: 'Far', short: false },
  { w: 8, h: 19, end: 'Near', short: false },
];

// Rectangle of a shape whose leader tip lies on (tx, ty).
export function rectForTip(shape, tx, ty) {
  const horizontal = shape.w > shape.h;
  if (horizontal) {
    const left = shape.end === 'Far' ? tx : tx - (shape.w - 1);
    return { left, top: ty - 3, width: shape.w, height: shape.h, squareEnd: shape.end };
  }
  const top = shape.end === 'Far' ? ty : ty - (shape.h - 1);
  return { left: tx - 3, top, width: shape.w, height: shape.h, squareEnd: shape.end };
}

// The square and the line of a marker as lists of [x, y].
export function markerParts(rect) {
  const square = [];
  const line = [];
  const horizontal = rect.width > rect.height;
  const length = horizontal ? rect.width : rect.height;
  const squareFrom = rect.squareEnd === 'Far' ? length - SQUARE : 0;
  for (let i = 0; i < length; i++) {
    const inSquare = length === SQUARE || (i >= squareFrom && i < squareFrom + SQUARE);
    for (let j = 0; j < SQUARE; j++) {
      const [x, y] = horizontal ? [rect.left + i, rect.top + j] : [rect.left + j, rect.top + i];
      if (inSquare) square.push([x, y]);
      else if (j === 3 || j === 4) line.push([x, y]);
    }
  }
  return { square, line };
}

// Pixels that some marker of the list covers (1), as the map view draws them.
export function coverMask(rects, width, height) {
  const mask = new Uint8Array(width * height);
  for (const rect of rects) {
    const { square, line } = markerParts(rect);
    for (const [x, y] of [...square, ...line]) mask[y * width + x] = 1;
  }
  return mask;
}

export function overlaps(a, b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height && b.top < a.top + a.height;
}

export function inside(rect, width, height) {
  return rect.left >= 0 && rect.top >= 0 && rect.left + rect.width <= width && rect.top + rect.height <= height;
}

// The map's placed markers: a new one must lie on the map, overlap no
// other's rectangle and keep its drawn pixels (square and leader) at least
// one pixel away from theirs, so no two markers ever touch.
export class MarkerSpace {
  constructor(width, height) {
    this.width = width;
    this.height = height;
    this.rects = [];
    this.halo = new Uint8Array(width * height);
  }

  fits(rect) {
    if (!inside(rect, this.width, this.height) || this.rects.some((r) => overlaps(r, rect))) return false;
    const { square, line } = markerParts(rect);
    return ![...square, ...line].some(([x, y]) => this.halo[y * this.width + x]);
  }

  place(rect) {
    this.rects.push(rect);
    const { square, line } = markerParts(rect);
    for (const [x, y] of [...square, ...line])
      for (let dy = -1; dy <= 1; dy++)
        for (let dx = -1; dx <= 1; dx++) {
          const nx = x + dx, ny = y + dy;
          if (nx >= 0 && ny >= 0 && nx < this.width && ny < this.height) this.halo[ny * this.width + nx] = 1;
        }
  }
}

// Chebyshev distance of every pixel of mask to the nearest pixel outside it.
function distanceInside(mask, width, height) {
  const big = 1 << 20;
  const d = new Int32Array(width * height);
  for (let p = 0; p < d.length; p++) d[p] = mask[p] ? big : 0;
  const at = (x, y) => (x < 0 || y < 0 || x >= width || y >= height ? 0 : d[y * width + x]);
  for (let y = 0; y < height; y++)
    for (let x = 0; x < width; x++) {
      const p = y * width + x;
      if (!d[p]) continue;
      d[p] = Math.min(d[p], at(x - 1, y) + 1, at(x, y - 1) + 1, at(x - 1, y - 1) + 1, at(x + 1, y - 1) + 1);
    }
  for (let y = height - 1; y >= 0; y--)
    for (let x = width - 1; x >= 0; x--) {
      const p = y * width + x;
      if (!d[p]) continue;
      d[p] = Math.min(d[p], at(x + 1, y) + 1, at(x, y + 1) + 1, at(x + 1, y + 1) + 1, at(x - 1, y + 1) + 1);
    }
  return d;
}

// The pixel of a part farthest inside it (ties: nearest the part's centre).
export function deepestPixel(pixels, width, height) {
  const mask = new Uint8Array(width * height);
  for (const p of pixels) mask[p] = 1;
  const d = distanceInside(mask, width, height);
  let cx = 0, cy = 0;
  for (const p of pixels) { cx += p % width; cy += Math.floor(p / width); }
  cx /= pixels.length; cy /= pixels.length;
  let best = null;
  for (const p of pixels) {
    const x = p % width, y = Math.floor(p / width);
    const score = d[p] * 1000 - Math.hypot(x - cx, y - cy);
    if (!best || score > best.score) best = { score, x, y };
  }
  return best;
}

// labels: Int16Array, entry index per yellow pixel. parts[k]: pixel lists of
// entry k, largest first. restrict[k] (optional): allowed pixel predicate
// for the tip or square of entry k. The leader of an entry that has a part
// of visiblePatch pixels goes, where it can, where the entry's fill still
// shows a patch that big beside the markers. Returns rects indexed k - 1.
export function layoutMarkers({ width, height, count, labels, parts, restrict, preferSeed, sea, visiblePatch }) {
  const placed = new Array(count).fill(null);
  const space = new MarkerSpace(width, height);
  const free = (rect) => space.fits(rect);
  const cover = new Uint8Array(width * height);
  const place = (k, rect) => {
    placed[k - 1] = rect;
    space.place(rect);
    const { square, line } = markerParts(rect);
    for (const [x, y] of [...square, ...line]) cover[y * width + x] = 1;
  };
  const order = [];
  const squares = new Map();

  for (let k = 1; k <= count; k++) {
    const all = parts[k].flat();
    const allowed = restrict?.[k] ?? (() => true);
    const main = parts[k].find((part) => part.some(allowed)) ?? [];
    const candidates = [];
    if (all.length >= ON_COUNTRY_MIN_PIXELS && main.length >= ON_COUNTRY_MIN_PIXELS * 0.6) {
      const mask = new Uint8Array(width * height);
      for (const p of main) if (allowed(p)) mask[p] = 1;
      const d = distanceInside(mask, width, height);
      let cx = 0, cy = 0;
      for (const p of main) { cx += p % width; cy += Math.floor(p / width); }
      cx /= main.length; cy /= main.length;
      for (const p of main) {
        const x = p % width, y = Math.floor(p / width);
        // square centred on (x, y): pixels x-4..x+3 must all be inside
        if (d[p] < 5) continue;
        candidates.push({ score: d[p] * 10 - Math.hypot(x - cx, y - cy) * 0.5, rect: { left: x - 4, top: y - 4, width: SQUARE, height: SQUARE, squareEnd: 'Near' } });
      }
    }
    if (candidates.length) {
      candidates.sort((a, b) => b.score - a.score || a.rect.top - b.rect.top || a.rect.left - b.rect.left);
      squares.set(k, candidates);
    }
    order.push(k);
  }

  // Around the pixels of small entries no square of a big one may lie.
  const reserved = new Uint8Array(width * height);
  for (let k = 1; k <= count; k++) {
    if (squares.has(k)) continue;
    for (const part of parts[k])
      for (const p of part) {
        const x = p % width, y = Math.floor(p / width);
        for (let dy = -3; dy <= 3; dy++)
          for (let dx = -3; dx <= 3; dx++) {
            const nx = x + dx, ny = y + dy;
            if (nx >= 0 && ny >= 0 && nx < width && ny < height) reserved[ny * width + nx] = 1;
          }
      }
  }
  const clearOfSmall = (rect) => {
    for (let y = rect.top; y < rect.top + rect.height; y++)
      for (let x = rect.left; x < rect.left + rect.width; x++) if (reserved[y * width + x]) return false;
    return true;
  };

  // Big entries first, then the small ones by index.
  for (const k of order.filter((k) => squares.has(k))) {
    const choice = squares.get(k).find((c) => free(c.rect) && clearOfSmall(c.rect)) ?? squares.get(k).find((c) => free(c.rect));
    if (choice) {
      place(k, choice.rect);
    } else {
      squares.delete(k);
    }
  }

  // Pixels of small entries: no other marker may cover them.
  const small = new Uint8Array(width * height);
  for (let k = 1; k <= count; k++)
    if (!squares.has(k)) for (const part of parts[k]) for (const p of part) small[p] = k;

  const leaders = order.filter((k) => !squares.has(k));
  leaders.sort((a, b) => parts[a].flat().length - parts[b].flat().length || a - b);
  for (const k of leaders) {
    const allowed = restrict?.[k] ?? (() => true);
    const all = parts[k].flat();
    const fillable = parts[k][0].length >= visiblePatch;
    const own = all.filter(allowed);
    const main = parts[k].find((part) => part.some(allowed)) ?? own;
    let cx = 0, cy = 0;
    for (const p of main) { cx += p % width; cy += Math.floor(p / width); }
    cx /= main.length; cy /= main.length;
    // tips on the entry, or failing that up to four pixels off it
    const tipSets = [own.map((p) => [p, 0])];
    const near = new Map();
    for (const p of own) {
      forEachNear(p, 4, width, height, (q, dx, dy) => {
        if (labels[q] === k) return;
        const dist = Math.max(Math.abs(dx), Math.abs(dy));
        if (!near.has(q) || near.get(q) > dist) near.set(q, dist);
      });
    }
    tipSets.push([...near.entries()].sort((a, b) => a[0] - b[0]));
    let best = null;
    for (const strict of [true, false]) {
      for (const tipSet of tipSets) {
        for (const [p, offset] of tipSet) {
          const tx = p % width, ty = Math.floor(p / width);
          for (const shape of SHAPES) {
            const rect = rectForTip(shape, tx, ty);
            if (!free(rect)) continue;
            const { square, line } = markerParts(rect);
            let cost = (shape.short ? 0 : 4) + offset * 6;
            cost += Math.hypot(tx - cx, ty - cy) * 0.6;
            let blocked = false;
            for (const [x, y] of [...square, ...line]) {
              const q = y * width + x;
              if (strict && small[q] && small[q] !== k) blocked = true;
            }
            if (blocked) continue;
            for (const [x, y] of square) {
              const q = y * width + x;
              const label = labels[q];
              if (label === k) cost += 3;
              else if (label) cost += 12;
              else if (!sea[q]) cost += 0.5;
              if (!allowed(q)) cost += 20;
            }
            for (const [x, y] of line) {
              const q = y * width + x;
              const label = labels[q];
              if (label && label !== k) cost += 3;
              if (!allowed(q)) cost += 20;
            }
            if (preferSeed && parts[k].length === 1 && labels[rect.top * width + rect.left] === k) cost -= 8;
            // a marker that hides the last big patch of its entry's fill is a last resort
            let hides = false;
            if (fillable) {
              const drawn = new Set([...square, ...line].map(([x, y]) => y * width + x));
              hides = largestUncovered(all, (q) => cover[q] || drawn.has(q), width) < visiblePatch;
              if (hides) cost += 100;
            }
            if (!best || cost < best.cost - 1e-9) best = { cost, rect, hides };
          }
        }
        if (best && !best.hides) break;
      }
      if (best && !best.hides) break;
    }
    if (!best) throw new Error(`no room for the marker of entry ${k}`);
    place(k, best.rect);
  }
  return placed;
}

// Moves a marker to the nearest place that fits (by Chebyshev steps).
export function nearestFree(rect, space) {
  for (let r = 0; r < Math.max(space.width, space.height); r++) {
    for (let dy = -r; dy <= r; dy++)
      for (let dx = -r; dx <= r; dx++) {
        if (Math.max(Math.abs(dx), Math.abs(dy)) !== r) continue;
        const moved = { ...rect, left: rect.left + dx, top: rect.top + dy };
        if (space.fits(moved)) return moved;
      }
  }
  throw new Error('no free place for a marker');
}
