// The population table (tools/texts/population.json) and the overview line
// made from it. Every entry has one row, keyed by its ISO 3166-1 alpha-2 code:
// the head count, the year it counts and the key of its source.
import fs from 'node:fs';
import path from 'node:path';
import { REPO_ROOT } from '../entries/entries.mjs';

export const POPULATION_FILE = path.join(REPO_ROOT, 'tools', 'texts', 'population.json');

/** The line of an overview source that stands for the generated population line. */
export const POPULATION_PLACEHOLDER = '{人口}';

export function loadPopulation() {
  return JSON.parse(fs.readFileSync(POPULATION_FILE, 'utf8'));
}

/**
 * Rounds a head count to three significant digits, halves rounded up:
 * 1438069596 -> 1440000000, 385663 -> 386000, 9816 -> 9820.
 */
export function roundToThreeDigits(persons) {
  const digits = String(persons).length;
  if (digits <= 3) return persons;
  const step = 10 ** (digits - 3);
  return Math.floor((persons + step / 2) / step) * step;
}

/** A rounded head count in 億 (10^8) or 万 (10^4) as a shortest decimal: 1440000000 -> "14.4億". */
export function japaneseCount(rounded) {
  const [unit, size] = rounded >= 1e8 ? ['億', 1e8] : rounded >= 1e4 ? ['万', 1e4] : ['', 1];
  const whole = Math.floor(rounded / size);
  const fraction = String(rounded % size).padStart(String(size).length - 1, '0').replace(/0+$/, '');
  return `${whole}${fraction && size > 1 ? `.${fraction}` : ''}${unit}`;
}

/** The overview line of one table row: 人口：約14.4億人（2023年）. */
export function populationLine(row) {
  return `人口：約${japaneseCount(roundToThreeDigits(row.persons))}人（${row.year}年）`;
}

/**
 * The lines of an overview source with its population placeholder replaced by
 * the line made from the entry's row. Throws when the row or the placeholder is missing.
 */
export function withPopulationLine(lines, entry, table, where) {
  const row = table.entries[entry.iso2];
  if (!row) throw new Error(`${where}: no population row for ${entry.iso2} (${entry.name})`);
  if (!table.sources[row.source]) throw new Error(`${where}: unknown population source ${row.source}`);
  const at = lines.indexOf(POPULATION_PLACEHOLDER);
  if (at < 0 || lines.indexOf(POPULATION_PLACEHOLDER, at + 1) >= 0) {
    throw new Error(`${where}: want exactly one ${POPULATION_PLACEHOLDER} line`);
  }
  return lines.with(at, populationLine(row));
}
