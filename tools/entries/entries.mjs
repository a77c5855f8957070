// The entries of the eight regions: loader and derived values shared by the generators.
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { compareKana } from './kana.mjs';

export const ENTRIES_DIR = path.dirname(fileURLToPath(import.meta.url));
export const REPO_ROOT = path.resolve(ENTRIES_DIR, '..', '..');

/** Entry files in regionId order. */
export const REGION_SLUGS = [
  'asia', 'west-asia', 'oceania', 'africa', 'europe', 'nis', 'north-america', 'south-america',
];

/** Reads one region file (tools/entries/<slug>.json). */
export function loadRegion(slug) {
  const file = path.join(ENTRIES_DIR, `${slug}.json`);
  return JSON.parse(fs.readFileSync(file, 'utf8'));
}

/** The eight region objects in regionId order, each with its entries in CountryIndex order. */
export function loadRegions() {
  return REGION_SLUGS.map((slug, i) => {
    const region = loadRegion(slug);
    if (region.regionId !== i + 1) {
      throw new Error(`${slug}.json: regionId ${region.regionId}, expected ${i + 1}`);
    }
    region.entries.forEach((entry, k) => {
      if (entry.index !== k + 1) {
        throw new Error(`${slug}.json: entry ${k + 1} has index ${entry.index}`);
      }
    });
    return region;
  });
}

/**
 * List positions of a region's entries (selector rows in kana order, areas included),
 * as an array parallel to region.entries: the row of entry k is result[k - 1].
 */
export function listPositions(region) {
  const byKana = region.entries
    .map((entry, k) => ({ entry, k }))
    .sort((a, b) => compareKana(a.entry.kana, b.entry.kana) || a.k - b.k);
  const rows = new Array(region.entries.length);
  byKana.forEach(({ k }, row) => { rows[k] = row + 1; });
  return rows;
}
