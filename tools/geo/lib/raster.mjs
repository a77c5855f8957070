// Ownership rasters: every pixel belongs to the sea, a lake or one owner
// (an entry of the region, or another country). Borders are derived from
// the grid, never stroked, so a 4-connected fill can't leak.
import { geoArea, geoPath } from 'd3-geo';

export const SEA = 0;
export const LAKE = 1;
export const FRAME = -1;

// Polygons wound the wrong way (the 10m Maldives) cover the whole globe in
// d3; turn such polygons round.
export function fixWinding(geometry) {
  const fixPolygon = (rings) => {
    if (geoArea({ type: 'Polygon', coordinates: rings }) > 2 * Math.PI)
      return rings.map((ring) => ring.slice().reverse());
    return rings;
  };
  if (geometry.type === 'Polygon') return { type: 'Polygon', coordinates: fixPolygon(geometry.coordinates) };
  if (geometry.type === 'MultiPolygon')
    return { type: 'MultiPolygon', coordinates: geometry.coordinates.map(fixPolygon) };
  return geometry;
}

export function projectRings(projection, geometry) {
  const rings = [];
  let current = null;
  const context = {
    beginPath() {},
    moveTo(x, y) {
      current = [[x, y]];
      rings.push(current);
    },
    lineTo(x, y) {
      current.push([x, y]);
    },
    closePath() {},
    arc() {},
  };
  geoPath(projection, context)(geometry);
  return rings.filter((ring) => ring.length >= 3);
}

// Even-odd scanline fill at pixel centres; calls set(x, y) per pixel.
export function fillRings(rings, width, height, set) {
  const edges = [];
  for (const ring of rings) {
    for (let i = 0; i < ring.length; i++) {
      const [x0, y0] = ring[i];
      const [x1, y1] = ring[(i + 1) % ring.length];
      if (y0 === y1) continue;
      edges.push(y0 < y1 ? { ya: y0, yb: y1, xa: x0, dx: (x1 - x0) / (y1 - y0) }
                         : { ya: y1, yb: y0, xa: x1, dx: (x0 - x1) / (y0 - y1) });
    }
  }
  if (!edges.length) return 0;
  edges.sort((a, b) => a.ya - b.ya);
  let next = 0;
  let active = [];
  let count = 0;
  const yStart = Math.max(0, Math.ceil(edges[0].ya - 0.5));
  for (let y = yStart; y < height; y++) {
    const yc = y + 0.5;
    while (next < edges.length && edges[next].ya <= yc) active.push(edges[next++]);
    active = active.filter((e) => e.yb > yc);
    if (!active.length) {
      if (next >= edges.length) break;
      continue;
    }
    const xs = active.filter((e) => e.ya <= yc).map((e) => e.xa + (yc - e.ya) * e.dx).sort((a, b) => a - b);
    for (let i = 0; i + 1 < xs.length; i += 2) {
      const from = Math.max(0, Math.ceil(xs[i] - 0.5));
      const to = Math.min(width - 1, Math.ceil(xs[i + 1] - 0.5) - 1);
      for (let x = from; x <= to; x++) {
        set(x, y);
        count++;
      }
    }
  }
  return count;
}

// layers: [{owner, geometry}] in painting order; lakes: geometries painted
// over land when they cover at least minLakePixels.
export function rasterise(projection, width, height, layers, lakes, minLakePixels) {
  const grid = new Int32Array(width * height).fill(SEA);
  for (const { owner, geometry } of layers) {
    const rings = projectRings(projection, geometry);
    fillRings(rings, width, height, (x, y) => {
      grid[y * width + x] = owner;
    });
  }
  for (const lake of lakes) {
    const rings = projectRings(projection, lake);
    const pixels = [];
    fillRings(rings, width, height, (x, y) => pixels.push(y * width + x));
    if (pixels.length < minLakePixels) continue;
    for (const p of pixels) if (grid[p] !== SEA) grid[p] = LAKE;
  }
  return grid;
}

// Projected centre of each polygon of a geometry that covers no pixel
// centre, so tiny islands of an entry still show as a dot.
export function missingIslandDots(projection, width, height, geometry) {
  const polygons = geometry.type === 'Polygon' ? [geometry.coordinates]
                 : geometry.type === 'MultiPolygon' ? geometry.coordinates : [];
  const dots = [];
  for (const coordinates of polygons) {
    const polygon = { type: 'Polygon', coordinates };
    const rings = projectRings(projection, polygon);
    if (!rings.length) continue;
    const covered = fillRings(rings, width, height, () => {});
    if (covered > 0) continue;
    let sx = 0, sy = 0, n = 0;
    for (const ring of rings) for (const [x, y] of ring) { sx += x; sy += y; n++; }
    const x = Math.floor(sx / n), y = Math.floor(sy / n);
    if (x >= 0 && y >= 0 && x < width && y < height) dots.push([x, y]);
  }
  return dots;
}

// Black where a 4-neighbour has another owner: of each differing pair the
// pixel of lower rank turns black (sea before land, big before small), then
// black pixels that separate nothing are given back.
export function borders(grid, width, height, rank) {
  const black = new Uint8Array(width * height);
  const blacken = (p, q) => {
    if (black[p] || black[q]) return;
    const a = grid[p], b = grid[q];
    if (a === b) return;
    const ra = rank(a), rb = rank(b);
    black[ra < rb || (ra === rb && a > b) ? p : q] = 1;
  };
  for (let y = 0; y < height; y++) {
    for (let x = 0; x < width; x++) {
      const p = y * width + x;
      if (grid[p] === FRAME) { black[p] = 1; continue; }
      if (x + 1 < width) blacken(p, p + 1);
      if (y + 1 < height) blacken(p, p + width);
    }
  }
  for (let y = 0; y < height; y++) {
    for (let x = 0; x < width; x++) {
      const p = y * width + x;
      if (!black[p] || grid[p] === FRAME) continue;
      let same = 0, other = 0;
      for (const [nx, ny] of [[x - 1, y], [x + 1, y], [x, y - 1], [x, y + 1]]) {
        if (nx < 0 || ny < 0 || nx >= width || ny >= height) continue;
        const q = ny * width + nx;
        if (black[q]) continue;
        if (grid[q] === grid[p]) same++; else other++;
      }
      if (same > 0 && other === 0) black[p] = 0;
    }
  }
  return black;
}

// Calls visit(q, dx, dy) for every pixel q of the grid within `radius`
// (Chebyshev distance) of pixel p, p itself included.
export function forEachNear(p, radius, width, height, visit) {
  const x = p % width, y = Math.floor(p / width);
  for (let dy = -radius; dy <= radius; dy++)
    for (let dx = -radius; dx <= radius; dx++) {
      const nx = x + dx, ny = y + dy;
      if (nx < 0 || ny < 0 || nx >= width || ny >= height) continue;
      visit(ny * width + nx, dx, dy);
    }
}

// Size of the largest 4-connected patch of the pixels that covered(p) spares.
export function largestUncovered(pixels, covered, width) {
  const open = new Set(pixels.filter((p) => !covered(p)));
  let largest = 0;
  for (const start of open) {
    open.delete(start);
    const stack = [start];
    let size = 0;
    while (stack.length) {
      const p = stack.pop();
      size++;
      const x = p % width;
      for (const q of [x > 0 ? p - 1 : -1, x < width - 1 ? p + 1 : -1, p - width, p + width])
        if (open.delete(q)) stack.push(q);
    }
    largest = Math.max(largest, size);
  }
  return largest;
}

// 4-connected components of pixels for which key(p) is not null, equal key.
export function components(width, height, key) {
  const id = new Int32Array(width * height).fill(-1);
  const list = [];
  const stack = [];
  for (let start = 0; start < width * height; start++) {
    if (id[start] !== -1) continue;
    const k = key(start);
    if (k === null) continue;
    const pixels = [];
    id[start] = list.length;
    stack.push(start);
    while (stack.length) {
      const p = stack.pop();
      pixels.push(p);
      const x = p % width, y = (p - x) / width;
      const near = [];
      if (x > 0) near.push(p - 1);
      if (x + 1 < width) near.push(p + 1);
      if (y > 0) near.push(p - width);
      if (y + 1 < height) near.push(p + width);
      for (const q of near) {
        if (id[q] !== -1 || key(q) !== k) continue;
        id[q] = list.length;
        stack.push(q);
      }
    }
    pixels.sort((a, b) => a - b);
    list.push({ key: k, pixels });
  }
  return { id, list };
}

// Blackens specks that borders cut off: tiny pieces of sea, lakes and land
// that are not the main piece of their area. Whole small islands stay.
export function removeSpecks(grid, black, width, height, isWater, landSpeck, waterSpeck) {
  const before = components(width, height, (p) => (grid[p] === FRAME ? null : grid[p]));
  const after = components(width, height, (p) => (black[p] ? null : grid[p]));
  const largest = new Map();
  for (const c of after.list) {
    const parent = before.id[c.pixels[0]];
    largest.set(parent, Math.max(largest.get(parent) ?? 0, c.pixels.length));
  }
  let removed = 0;
  for (const c of after.list) {
    const parent = before.id[c.pixels[0]];
    const size = c.pixels.length;
    const water = isWater(c.key);
    const speck = water ? size < waterSpeck && size < before.list[parent].pixels.length
                        : size < landSpeck && size < largest.get(parent);
    if (!speck) continue;
    for (const p of c.pixels) black[p] = 1;
    removed += size;
  }
  return removed;
}
