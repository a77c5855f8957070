// Writes the overview and flag-origin texts into the data directory:
// tools/texts/<slug>/s<n>.txt and y<n>.txt (UTF-8, one screen row per line)
// become data/概要/<region>/s<n>.txt and data/国旗/<region>/由来/y<n>.txt
// (code page 932, CR LF); tools/texts/menu/h<k>.txt become the menu's flag
// texts data/国旗/h<k>.txt. An overview's {人口} line becomes the population
// line made from the entry's row of tools/texts/population.json.
// Usage: node tools/texts/make-texts.mjs [slug ...]
import fs from 'node:fs';
import path from 'node:path';
import iconv from 'iconv-lite';
import { loadRegions, REPO_ROOT } from '../entries/entries.mjs';
import { loadPopulation, withPopulationLine } from './population.mjs';

const TEXTS_DIR = path.join(REPO_ROOT, 'tools', 'texts');

function sourceLines(file) {
  const text = fs.readFileSync(file, 'utf8').replace(/\r\n?/g, '\n');
  const lines = text.split('\n');
  if (lines.at(-1) === '') lines.pop();
  return lines;
}

function writeCp932(file, lines) {
  const text = lines.map((line) => `${line}\r\n`).join('');
  const bytes = iconv.encode(text, 'cp932');
  if (iconv.decode(bytes, 'cp932') !== text) {
    throw new Error(`${file}: characters outside code page 932`);
  }
  fs.mkdirSync(path.dirname(file), { recursive: true });
  fs.writeFileSync(file, bytes);
}

const wanted = new Set(process.argv.slice(2));
const population = loadPopulation();
let written = 0;
for (const region of loadRegions()) {
  if (wanted.size && !wanted.has(region.slug)) continue;
  for (const entry of region.entries) {
    const n = entry.index;
    const overview = path.join(TEXTS_DIR, region.slug, `s${n}.txt`);
    writeCp932(path.join(REPO_ROOT, 'data', '概要', region.name, `s${n}.txt`),
               withPopulationLine(sourceLines(overview), entry, population, overview));
    writeCp932(path.join(REPO_ROOT, 'data', '国旗', region.name, '由来', `y${n}.txt`),
               sourceLines(path.join(TEXTS_DIR, region.slug, `y${n}.txt`)));
    written += 2;
  }
}
if (!wanted.size) {
  for (const k of [1, 2, 3]) {
    writeCp932(path.join(REPO_ROOT, 'data', '国旗', `h${k}.txt`),
               sourceLines(path.join(TEXTS_DIR, 'menu', `h${k}.txt`)));
    ++written;
  }
}
console.log(`wrote ${written} files`);
