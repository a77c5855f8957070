#!/usr/bin/env node
// Generates the eight region maps, their label pictures, the marker layouts
// and the highlight tables from Natural Earth (world-atlas) and earth-lakes.
// Usage (from the repository root): node tools/geo/generate.mjs [--preview DIR]
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { loadRegions } from '../entries/entries.mjs';
import { highlightTablesCpp, markerLayoutsCpp } from './lib/cpp.mjs';
import { MarkerSpace, coverMask, layoutMarkers, markerParts, nearestFree } from './lib/markers.mjs';
import { encodePng } from './lib/png.mjs';
import { FRAME, LAKE, SEA, components, forEachNear, removeSpecks } from './lib/raster.mjs';
import { MAX_SEEDS, VISIBLE_PATCH, buildTable, isFilled } from './lib/tables.mjs';
import { entryOwner, loadWorld, makeProjection, ownerEntry, regionLayers, renderView, withBorders } from './lib/world.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.resolve(here, '..', '..');
const configs = JSON.parse(fs.readFileSync(path.join(here, 'regions.json'), 'utf8'));
const featureTable = JSON.parse(fs.readFileSync(path.join(here, 'features.json'), 'utf8'));

const COLOURS = {
  yellow: [255, 255, 0],
  white: [255, 255, 255],
  cyan: [0, 255, 255],
  black: [0, 0, 0],
  red: [255, 0, 0],
};
// Regions whose every entry has a table entry.
const NO_PAINT = new Set(['oceania', 'north-america']);
// Drill markers that sit elsewhere than on the atlas: region -> index -> [dx, dy].
const DRILL_SHIFTS = { oceania: { 7: [7, 17], 16: [4, 0] } };

const args = process.argv.slice(2);
const previewDir = args.includes('--preview') ? args[args.indexOf('--preview') + 1] : null;
const only = args.includes('--only') ? args[args.indexOf('--only') + 1].split(',') : null;

function line(x0, y0, x1, y1, plot) {
  const dx = Math.abs(x1 - x0), dy = -Math.abs(y1 - y0);
  const sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  let err = dx + dy;
  for (;;) {
    plot(x0, y0);
    if (x0 === x1 && y0 === y1) return;
    const e2 = 2 * err;
    if (e2 >= dy) { err += dy; x0 += sx; }
    if (e2 <= dx) { err += dx; y0 += sy; }
  }
}

// Ownership grids of the main view and of the inset, before borders.
function renderRegion(world, region) {
  const config = configs[region.slug];
  const [width, height] = config.size;
  const layers = regionLayers(world, featureTable, region.entries);
  const projection = makeProjection(config, width, height);
  let inset = null;
  const inInsetOwners = new Set();
  if (config.inset) {
    const [ix, iy, iw, ih] = config.inset.rect;
    const insetProjection = makeProjection(config.inset, iw - 2, ih - 2);
    const grid = renderView(world, layers, insetProjection, iw - 2, ih - 2);
    for (const o of grid) if (ownerEntry(o)) inInsetOwners.add(o);
    inset = { rect: config.inset.rect, projection: insetProjection, innerW: iw - 2, innerH: ih - 2, grid };
    // the inset's inner pixels in map coordinates
    inset.mapIndex = (p) => {
      const x = p % width, y = Math.floor(p / width);
      return x > ix && x < ix + iw - 1 && y > iy && y < iy + ih - 1 ? (y - iy - 1) * (iw - 2) + (x - ix - 1) : -1;
    };
  }
  // Entries shown on the inset get no extra dots on the main map.
  const grid = renderView(world, layers, projection, width, height, { noStamp: inInsetOwners });
  if (inset) {
    const [ix, iy, iw, ih] = inset.rect;
    for (let y = iy; y < iy + ih; y++)
      for (let x = ix; x < ix + iw; x++)
        if (ownerEntry(grid[y * width + x])) throw new Error(`${region.slug}: the inset hides entry pixels at ${x},${y}`);
  }
  return { config, width, height, projection, grid, inset };
}

// The finished map from the rendered grids, with some pixels given to other
// owners (generalised islets): grid, borders, labels and each entry's parts.
function composeRegion(rendered, count, reassigned) {
  const { width, height, inset } = rendered;
  const grid = Int32Array.from(rendered.grid);
  const insetGrid = inset ? Int32Array.from(inset.grid) : null;
  for (const [p, owner] of reassigned) {
    const q = inset ? inset.mapIndex(p) : -1;
    if (q >= 0) insetGrid[q] = owner; else grid[p] = owner;
  }
  const black = withBorders(grid, width, height);
  if (inset) {
    // Enlarged view pasted over the main map inside a one-pixel black frame.
    const [ix, iy, iw, ih] = inset.rect;
    const { innerW } = inset;
    const insetBlack = withBorders(insetGrid, innerW, inset.innerH);
    for (let y = iy; y < iy + ih; y++)
      for (let x = ix; x < ix + iw; x++) {
        const p = y * width + x;
        if (x === ix || y === iy || x === ix + iw - 1 || y === iy + ih - 1) {
          grid[p] = FRAME;
          black[p] = 1;
        } else {
          const q = (y - iy - 1) * innerW + (x - ix - 1);
          grid[p] = insetGrid[q];
          black[p] = insetBlack[q];
        }
      }
  }
  const specks = removeSpecks(grid, black, width, height, (o) => o === SEA || o === LAKE, 3, 6);
  const labels = new Int16Array(width * height);
  for (let p = 0; p < grid.length; p++) if (!black[p] && ownerEntry(grid[p])) labels[p] = ownerEntry(grid[p]);
  const parts = [[]];
  for (let k = 1; k <= count; k++) parts.push([]);
  for (const c of components(width, height, (p) => (labels[p] ? labels[p] : null)).list) parts[c.key].push(c.pixels);
  for (let k = 1; k <= count; k++) parts[k].sort((a, b) => b.length - a.length || a[0] - b[0]);
  return { grid, black, labels, parts, specks };
}

// The owner most of a part's surroundings (up to two pixels off) belong to.
function surroundingOwner(part, grid, width, height, own) {
  const inPart = new Set(part);
  const votes = new Map();
  for (const p of part) {
    forEachNear(p, 2, width, height, (q) => {
      if (inPart.has(q) || grid[q] === own || grid[q] === FRAME) return;
      votes.set(grid[q], (votes.get(grid[q]) ?? 0) + 1);
    });
  }
  let best = SEA;
  for (const [owner, n] of votes) if (n > (votes.get(best) ?? 0) || (n === votes.get(best) && owner < best)) best = owner;
  return best;
}

// Generalises the map until every entry that is filled has at most
// MAX_SEEDS parts: its smallest islets go to the sea (or land) about them.
function generalisedRegion(rendered, count) {
  const reassigned = new Map();
  for (let round = 0; round < 10; round++) {
    const composed = composeRegion(rendered, count, reassigned);
    let changed = 0;
    for (let k = 1; k <= count; k++) {
      const parts = composed.parts[k];
      if (!isFilled(parts) || parts.length <= MAX_SEEDS) continue;
      for (const part of parts.slice(MAX_SEEDS)) {
        const owner = surroundingOwner(part, composed.grid, rendered.width, rendered.height, entryOwner(k));
        for (const p of part) reassigned.set(p, owner);
        changed += part.length;
      }
    }
    if (!changed) return { ...composed, generalised: reassigned.size };
  }
  throw new Error('generalising the map does not settle');
}

function buildRegion(world, region) {
  const rendered = renderRegion(world, region);
  const { config, width, height, projection, inset } = rendered;
  const count = region.entries.length;
  const { grid, black, labels, parts, specks, generalised } = generalisedRegion(rendered, count);

  const rgb = new Uint8Array(width * height * 3);
  for (let p = 0; p < grid.length; p++) {
    let colour;
    if (black[p]) colour = COLOURS.black;
    else if (grid[p] === SEA || grid[p] === LAKE) colour = COLOURS.cyan;
    else if (ownerEntry(grid[p])) colour = COLOURS.yellow;
    else colour = COLOURS.white;
    rgb.set(colour, p * 3);
  }

  // In the inset region, markers of the small Caribbean entries go on the inset.
  let restrict = null;
  if (inset) {
    const [ix, iy, iw, ih] = inset.rect;
    const inInset = (p) => {
      const x = p % width, y = Math.floor(p / width);
      return x > ix && x < ix + iw - 1 && y > iy && y < iy + ih - 1;
    };
    restrict = [];
    for (let k = 1; k <= count; k++) {
      const all = parts[k].flat();
      const outside = all.filter((p) => !inInset(p)).length;
      if (all.some(inInset) && outside < 20) restrict[k] = inInset;
    }
  }

  const sea = new Uint8Array(width * height);
  for (let p = 0; p < grid.length; p++) sea[p] = grid[p] === SEA || grid[p] === LAKE || black[p] ? 1 : 0;
  const defaultRule = NO_PAINT.has(region.slug) ? 'NoPaint' : 'MarkerSeed';
  const markers = layoutMarkers({ width, height, count, labels, parts, restrict, preferSeed: defaultRule === 'MarkerSeed', sea, visiblePatch: VISIBLE_PATCH });

  const drillMarkers = markers.map((m) => ({ ...m }));
  const drillNotes = [];
  for (const [index, [dx, dy]] of Object.entries(DRILL_SHIFTS[region.slug] ?? {})) {
    const k = Number(index) - 1;
    const wanted = { ...markers[k], left: markers[k].left + dx, top: markers[k].top + dy };
    const space = new MarkerSpace(width, height);
    drillMarkers.forEach((m, i) => { if (i !== k) space.place(m); });
    const ok = space.fits(wanted);
    drillMarkers[k] = ok ? wanted : nearestFree(wanted, space);
    if (!ok) drillNotes.push(`drill marker ${index} moved to ${drillMarkers[k].left},${drillMarkers[k].top} instead of +${dx},+${dy}`);
  }

  // What counts is the fill as the screens show it, under their markers.
  const covers = [coverMask(markers, width, height), coverMask(drillMarkers, width, height)];
  const table = buildTable({ width, height, count, labels, parts, markers, covers, defaultRule, ringUnit: config.ringUnit });

  if (inset) drawInsetPointer(rgb, black, grid, width, height, projection, config, inset);

  return { ...region, size: [width, height], projection, rgb, labels, parts, markers, drillMarkers, drillNotes, table, defaultRule, specks, generalised };
}

// Red frame round the inset's area on the main map and an arrow to the
// inset; drawn only over sea and other land, never over borders or entries.
function drawInsetPointer(rgb, black, grid, width, height, projection, config, inset) {
  const [w, s, e, n] = config.inset.fit;
  let x0 = Infinity, y0 = Infinity, x1 = -Infinity, y1 = -Infinity;
  for (let i = 0; i <= 20; i++) {
    for (const [lon, lat] of [[w + ((e - w) * i) / 20, s], [w + ((e - w) * i) / 20, n], [w, s + ((n - s) * i) / 20], [e, s + ((n - s) * i) / 20]]) {
      const [x, y] = projection([lon, lat]);
      x0 = Math.min(x0, x); x1 = Math.max(x1, x); y0 = Math.min(y0, y); y1 = Math.max(y1, y);
    }
  }
  [x0, y0, x1, y1] = [Math.floor(x0), Math.floor(y0), Math.ceil(x1), Math.ceil(y1)];
  const [ix, iy, iw] = inset.rect;
  const plot = (x, y) => {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    const p = y * width + x;
    if (black[p] || grid[p] === FRAME || ownerEntry(grid[p])) return;
    if (x >= ix && x < ix + iw && y >= iy) return;
    rgb.set(COLOURS.red, p * 3);
  };
  line(x0, y0, x1, y0, plot);
  line(x1, y0, x1, y1, plot);
  line(x1, y1, x0, y1, plot);
  line(x0, y1, x0, y0, plot);
  // arrow from the frame's lower left corner to the inset's right side
  const [, , , ih] = inset.rect;
  const from = [x0 - 2, y1 - 4];
  const to = [ix + iw + 2, iy + ih - 40];
  line(from[0], from[1], to[0], to[1], plot);
  const angle = Math.atan2(to[1] - from[1], to[0] - from[0]);
  for (const turn of [Math.PI * 0.8, -Math.PI * 0.8]) {
    const hx = Math.round(to[0] + 7 * Math.cos(angle + turn));
    const hy = Math.round(to[1] + 7 * Math.sin(angle + turn));
    line(to[0], to[1], hx, hy, plot);
  }
}

function writeIfChanged(file, data) {
  fs.mkdirSync(path.dirname(file), { recursive: true });
  fs.writeFileSync(file, data);
}

function preview(region, dir) {
  const [width, height] = region.size;
  const rgb = Uint8Array.from(region.rgb);
  region.markers.forEach((m) => {
    const { square, line: leader } = markerParts(m);
    for (const [x, y] of [...square, ...leader]) rgb.set([255, 0, 255], (y * width + x) * 3);
  });
  writeIfChanged(path.join(dir, `${region.slug}-markers.png`), encodePng(width, height, 3, rgb));
}

const world = loadWorld(featureTable.territories);
const regions = loadRegions().filter((r) => !only || only.includes(r.slug));
const built = [];
for (const region of regions) {
  const r = buildRegion(world, region);
  built.push(r);
  const [width, height] = r.size;
  writeIfChanged(path.join(root, 'assets', 'maps', `${r.slug}.png`), encodePng(width, height, 3, r.rgb));
  writeIfChanged(path.join(root, 'tests', 'data', 'labels', `${r.slug}.png`), encodePng(width, height, 1, Uint8Array.from(r.labels)));
  if (previewDir) preview(r, previewDir);
  const s = r.table.summary;
  console.log(`${r.regionId} ${r.slug}: fills ${s.fills} (seeds ${s.seeds}), rings ${s.rings}, marker-seeded ${s.markerSeeded}, ` +
    `islets generalised ${r.generalised} px, specks blackened ${r.specks} px` +
    `${s.hidden.length ? `; ringed as markers hide their fill: ${s.hidden.map((k) => r.entries[k - 1].name).join(', ')}` : ''}${r.drillNotes.length ? '; ' + r.drillNotes.join('; ') : ''}`);
}
if (!only) {
  // Each map's projection, for tests that put geographic points on the maps.
  const projections = Object.fromEntries(built.map((r) => {
    const { type, rotate, parallels } = configs[r.slug].projection;
    return [r.slug, { type, rotate, parallels, centre: r.projection.center(), scale: r.projection.scale(), translate: r.projection.translate() }];
  }));
  writeIfChanged(path.join(root, 'tests', 'data', 'labels', 'projections.json'), `{\n${Object.entries(projections).map(([slug, p]) => ` ${JSON.stringify(slug)}: ${JSON.stringify(p)}`).join(',\n')}\n}\n`);
  writeIfChanged(path.join(root, 'src', 'highlight', 'generated', 'HighlightTables.cpp'), highlightTablesCpp(built));
  writeIfChanged(path.join(root, 'src', 'highlight', 'generated', 'MarkerLayouts.cpp'), markerLayoutsCpp(built));
}
