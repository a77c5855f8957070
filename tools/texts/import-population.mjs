// Fills the population table from the World Bank's total population
// (SP.POP.TOTL) of one year, as published in the public data set
// datasets/population: CSV rows "Country Name,Country Code,Year,Value" with
// ISO alpha-3 codes; lines starting with '#' are comments.
// Entries the file has no figure for keep their national row from the table.
// Usage: node tools/texts/import-population.mjs <population.csv> <year>
import fs from 'node:fs';
import { createRequire } from 'node:module';
import { loadRegions } from '../entries/entries.mjs';
import { POPULATION_FILE, loadPopulation } from './population.mjs';

const WORLD_BANK = 'wb';
const [csvFile, yearText] = process.argv.slice(2);
const year = Number(yearText);
if (!csvFile || !Number.isInteger(year)) {
  console.error('usage: node tools/texts/import-population.mjs <population.csv> <year>');
  process.exit(2);
}

function worldBankCounts(file) {
  const counts = new Map();
  const rows = fs.readFileSync(file, 'utf8').split(/\r?\n/).filter((line) => line && !line.startsWith('#'));
  for (const line of rows.slice(1)) {
    const match = line.match(/^(?:"[^"]*"|[^,]*),([A-Z0-9]{3}),(\d{4}),(\d*)$/);
    if (!match) throw new Error(`${file}: unreadable row ${line}`);
    if (Number(match[2]) === year && match[3]) counts.set(match[1], Number(match[3]));
  }
  return counts;
}

const require = createRequire(import.meta.url);
const alpha3 = new Map(require('world-countries/countries.json').map((c) => [c.cca2, c.cca3]));
const counts = worldBankCounts(csvFile);
const table = loadPopulation();
const rows = [];
for (const region of loadRegions()) {
  for (const entry of region.entries) {
    const persons = counts.get(alpha3.get(entry.iso2));
    const kept = table.entries[entry.iso2];
    if (persons) {
      rows.push([entry.iso2, { name: entry.name, persons, year, source: WORLD_BANK }]);
    } else if (kept && kept.source !== WORLD_BANK) {
      rows.push([entry.iso2, { ...kept, name: entry.name }]);
    } else {
      throw new Error(`${entry.iso2} (${entry.name}): no World Bank figure and no national row`);
    }
  }
}

const json = (value) => JSON.stringify(value, null, 2).replace(/\n/g, '\n  ');
const text = [
  '{',
  `  "about": ${JSON.stringify(table.about)},`,
  `  "sources": ${json(table.sources)},`,
  '  "entries": {',
  rows.map(([iso2, row]) => `    ${JSON.stringify(iso2)}: ${JSON.stringify(row)}`).join(',\n'),
  '  }',
  '}',
  '',
].join('\n');
fs.writeFileSync(POPULATION_FILE, text);
console.log(`${rows.length} rows, ${rows.filter(([, row]) => row.source === WORLD_BANK).length} from the World Bank`);
