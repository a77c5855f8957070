// Quick lint of the text sources while writing them: line counts and an
// estimate of each line's width in full-width characters (half-width about
// 0.6); the data test measures the real widths with the screen's font.
// Flag stories also keep the house style: at most 16 characters a line, a
// line that goes on with the sentence above starts with a full-width space
// and a new sentence does not, and 描く is written in kanji.
// Usage: node tools/texts/check-texts.mjs [slug ...]
import fs from 'node:fs';
import path from 'node:path';
import iconv from 'iconv-lite';
import { loadRegions, REPO_ROOT } from '../entries/entries.mjs';
import { loadPopulation, withPopulationLine } from './population.mjs';

const MAX_UNITS = 15.5;
const MAX_STORY_CHARACTERS = 16;
const INDENT = '　';
const width = (line) => [...line].reduce((sum, c) => sum + (/[\x20-\x7e｡-ﾟ]/.test(c) ? 0.6 : 1), 0);

function storyStyleProblems(lines) {
  const problems = [];
  lines.forEach((line, i) => {
    if ([...line].length > MAX_STORY_CHARACTERS) problems.push(`longer than ${MAX_STORY_CHARACTERS}: ${line}`);
    if (/えが[かきくけこ]/.test(line)) problems.push(`write 描く in kanji: ${line}`);
    if (i > 0 && line.startsWith(INDENT) === lines[i - 1].endsWith('。')) {
      problems.push(`${line.startsWith(INDENT) ? 'new sentence indented' : 'continued line not indented'}: ${line}`);
    }
  });
  return problems;
}

const wanted = new Set(process.argv.slice(2));
const population = loadPopulation();
let problems = 0;
for (const region of loadRegions()) {
  if (wanted.size && !wanted.has(region.slug)) continue;
  for (const entry of region.entries) {
    for (const [prefix, min, max] of [['s', 8, 11], ['y', 3, 7]]) {
      const file = path.join(REPO_ROOT, 'tools', 'texts', region.slug, `${prefix}${entry.index}.txt`);
      const report = (what) => { console.log(`${region.slug}/${prefix}${entry.index}.txt (${entry.name}): ${what}`); ++problems; };
      if (!fs.existsSync(file)) { report('missing'); continue; }
      let lines = fs.readFileSync(file, 'utf8').replace(/\n$/, '').split('\n');
      if (prefix === 's') {
        try { lines = withPopulationLine(lines, entry, population, file); } catch (error) { report(error.message); }
      } else {
        storyStyleProblems(lines).forEach(report);
      }
      if (lines.length < min || lines.length > max) report(`${lines.length} lines, want ${min}..${max}`);
      for (const line of lines) {
        if (width(line) > MAX_UNITS) report(`too wide (${width(line)}): ${line}`);
        if (iconv.decode(iconv.encode(line, 'cp932'), 'cp932') !== line) report(`not CP932: ${line}`);
      }
    }
  }
}
console.log(problems ? `${problems} problems` : 'all texts fine');
