// Geography of one region map: projection, ownership grid, borders.
import fs from 'node:fs';
import { createRequire } from 'node:module';
import * as d3geo from 'd3-geo';
import polygonClipping from 'polygon-clipping';
import * as topojson from 'topojson-client';
import { FRAME, LAKE, SEA, borders, fixWinding, missingIslandDots, rasterise } from './raster.mjs';

const require = createRequire(import.meta.url);

export function loadWorld(territories = []) {
  const topo = JSON.parse(fs.readFileSync(require.resolve('world-atlas/countries-10m.json'), 'utf8'));
  const countries = topojson.feature(topo, topo.objects.countries).features.map((f) => ({
    name: f.properties.name,
    id: f.id,
    geometry: f.geometry,
  }));
  for (const rule of territories) applyTerritory(countries, rule);
  for (const c of countries) c.geometry = fixWinding(c.geometry);
  const lakeCollection = JSON.parse(fs.readFileSync(require.resolve('@geo-maps/earth-lakes-10km/map.geo.json'), 'utf8'));
  const lakes = [];
  for (const g of lakeCollection.geometries ?? [lakeCollection]) {
    const polygons = g.type === 'MultiPolygon' ? g.coordinates : g.type === 'Polygon' ? [g.coordinates] : [];
    for (const coordinates of polygons) lakes.push(fixWinding({ type: 'Polygon', coordinates }));
  }
  return { countries, lakes };
}

const polygonsOf = (geometry) =>
  geometry.type === 'Polygon' ? [geometry.coordinates] : geometry.type === 'MultiPolygon' ? geometry.coordinates : [];

const inBox = ([lon, lat], [w, s, e, n]) => lon >= w && lon <= e && lat >= s && lat <= n;

function boxPolygon([w, s, e, n]) {
  return [[[w, s], [e, s], [e, n], [w, n], [w, s]]];
}

// Moves land from one feature to another: the polygons whose centre lies in
// rule.polygons, or only their part inside rule.cut (clipped by polygon-clipping).
// A target that is no feature yet becomes a feature of its own.
function applyTerritory(countries, rule) {
  const from = countries.find((c) => c.name === rule.from);
  if (!from) throw new Error(`territory ${rule.what}: no feature ${rule.from}`);
  const kept = [];
  const moved = [];
  for (const polygon of polygonsOf(from.geometry)) {
    const centre = d3geo.geoCentroid({ type: 'Polygon', coordinates: polygon });
    if (!inBox(centre, rule.polygons)) {
      kept.push(polygon);
    } else if (rule.cut) {
      moved.push(...polygonClipping.intersection(polygon, boxPolygon(rule.cut)));
      kept.push(...polygonClipping.difference(polygon, boxPolygon(rule.cut)));
    } else {
      moved.push(polygon);
    }
  }
  if (!moved.length) throw new Error(`territory ${rule.what}: nothing of ${rule.from} there`);
  from.geometry = { type: 'MultiPolygon', coordinates: kept };
  let to = countries.find((c) => c.name === rule.to);
  if (!to) {
    to = { name: rule.to, id: undefined, geometry: { type: 'MultiPolygon', coordinates: [] } };
    countries.push(to);
  }
  to.geometry = { type: 'MultiPolygon', coordinates: polygonClipping.union(polygonsOf(to.geometry), moved) };
}

export function makeProjection(config, width, height) {
  const p = config.projection;
  const projection = d3geo[p.type]();
  if (p.parallels) projection.parallels(p.parallels);
  projection.rotate(p.rotate);
  if (p.type.startsWith('geoAzimuthal')) projection.clipAngle(100);
  const points = [...(config.fitPoints ?? [])];
  const [w, s, e, n] = config.fit ?? [];
  for (let i = 0; config.fit && i <= 40; i++) {
    const lon = w + ((e - w) * i) / 40;
    const lat = s + ((n - s) * i) / 40;
    points.push([lon, s], [lon, n], [w, lat], [e, lat]);
  }
  const pad = config.pad ?? 0;
  projection.fitExtent([[pad, pad], [width - pad, height - pad]], { type: 'MultiPoint', coordinates: points });
  projection.clipExtent([[-20, -20], [width + 20, height + 20]]);
  return projection;
}

// Keeps the polygons of a geometry whose centre lies outside every drop box.
function dropPolygons(geometry, boxes) {
  if (!boxes?.length || geometry.type !== 'MultiPolygon') return geometry;
  const keep = geometry.coordinates.filter((polygon) => {
    const [lon, lat] = d3geo.geoCentroid({ type: 'Polygon', coordinates: polygon });
    return !boxes.some(([w, s, e, n]) => lon >= w && lon <= e && lat >= s && lat <= n);
  });
  return { type: 'MultiPolygon', coordinates: keep };
}

// Owners: SEA (0), LAKE (1); entry k -> k + 1; another country -> 1000 + its index.
export const entryOwner = (k) => k + 1;
export const ownerEntry = (owner) => (owner >= 2 && owner < 1000 ? owner - 1 : 0);

export function regionLayers(world, featureTable, entries) {
  const byName = new Map(world.countries.map((c, i) => [c.name, i]));
  const ownerOfFeature = new Map();
  const geometryOf = new Map();
  for (const entry of entries) {
    const parts = featureTable.entries[entry.iso2];
    if (!parts) throw new Error(`no features for ${entry.iso2}`);
    for (const part of parts) {
      const i = byName.get(part.name);
      if (i === undefined) throw new Error(`unknown feature ${part.name}`);
      ownerOfFeature.set(i, entryOwner(entry.index));
      geometryOf.set(i, dropPolygons(world.countries[i].geometry, part.drop));
    }
  }
  const ignore = new Set(featureTable.ignore);
  const others = [];
  const own = [];
  world.countries.forEach((c, i) => {
    if (ignore.has(c.name)) return;
    if (ownerOfFeature.has(i)) own.push({ owner: ownerOfFeature.get(i), geometry: geometryOf.get(i), feature: i });
    else others.push({ owner: 1000 + i, geometry: c.geometry, feature: i });
  });
  return [...others, ...own];
}

// Ownership grid with borders of one projected view.
export function renderView(world, layers, projection, width, height, { stampEntries = true, minLakePixels = 20, noStamp = new Set() } = {}) {
  const grid = rasterise(projection, width, height, layers, world.lakes, minLakePixels);
  if (stampEntries) {
    const count = new Map();
    for (const o of grid) count.set(o, (count.get(o) ?? 0) + 1);
    for (const layer of layers) {
      if (ownerEntry(layer.owner) === 0 || noStamp.has(layer.owner)) continue;
      if ((count.get(layer.owner) ?? 0) >= 40) continue;
      for (const [x, y] of missingIslandDots(projection, width, height, layer.geometry))
        if (grid[y * width + x] === SEA || (count.get(grid[y * width + x]) ?? 0) > 100) grid[y * width + x] = layer.owner;
    }
  }
  return grid;
}

export function ownerRank(grid) {
  const count = new Map();
  for (const o of grid) count.set(o, (count.get(o) ?? 0) + 1);
  // Sea gives way to land on coasts; lakes keep their pixels, so narrow
  // lakes stay blue between black shores.
  return (owner) => (owner === SEA ? 0 : owner === LAKE || owner === FRAME ? 1e12 : 1e9 - (count.get(owner) ?? 0));
}

export function withBorders(grid, width, height) {
  return borders(grid, width, height, ownerRank(grid));
}
