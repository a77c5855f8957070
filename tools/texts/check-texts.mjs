// Quick lint of the text sources while writing them: line counts and an
// estimate of each line's width in full-width characters (half-width about
// 0.6). The data test measures the real widths with the screen's font.
// Usage: node tools/texts/check-texts.mjs [slug ...]
import fs from 'node:fs';
import path from 'node:path';
import iconv from 'iconv-lite';
import { loadRegions, REPO_ROOT } from '../entries/entries.mjs';

const MAX_UNITS = 14;
const width = (line) => [...line].reduce((sum, c) => sum + (/[\x20-\x7e｡-ﾟ]/.test(c) ? 0.6 : 1), 0);

const wanted = new Set(process.argv.slice(2));
let problems = 0;
for (const region of loadRegions()) {
  if (wanted.size && !wanted.has(region.slug)) continue;
  for (const entry of region.entries) {
    for (const [prefix, min, max] of [['s', 8, 11], ['y', 3, 7]]) {
      const file = path.join(REPO_ROOT, 'tools', 'texts', region.slug, `${prefix}${entry.index}.txt`);
      const report = (what) => { console.log(`${region.slug}/${prefix}${entry.index}.txt (${entry.name}): ${what}`); ++problems; };
      if (!fs.existsSync(file)) { report('missing'); continue; }
      const lines = fs.readFileSync(file, 'utf8').replace(/\n$/, '').split('\n');
      if (lines.length < min || lines.length > max) report(`${lines.length} lines, want ${min}..${max}`);
      for (const line of lines) {
        if (width(line) > MAX_UNITS) report(`too wide (${width(line)}): ${line}`);
        if (iconv.decode(iconv.encode(line, 'cp932'), 'cp932') !== line) report(`not CP932: ${line}`);
      }
    }
  }
}
console.log(problems ? `${problems} problems` : 'all texts fine');
