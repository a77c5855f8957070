// Consistency check of the region entry files; exits with 1 on any error.
//   node tools/entries/check.mjs
// Name wording that differs from world-countries is reported, not failed: the entries use
// the short forms of Japanese atlases and the foreign ministry.
import fs from 'node:fs';
import path from 'node:path';
import countries from 'world-countries/countries.json' with { type: 'json' };
import { loadRegions, listPositions, REPO_ROOT } from './entries.mjs';
import { compareKana, toHiragana } from './kana.mjs';
import { kuniText, urlText, toCp932 } from './make-data-files.mjs';

const EXPECTED_REGIONS = [
  { name: 'アジア', slug: 'asia', count: 25 },
  { name: '西アジア', slug: 'west-asia', count: 17 },
  { name: 'オセアニア', slug: 'oceania', count: 17 },
  { name: 'アフリカ', slug: 'africa', count: 53 },
  { name: 'ヨーロッパ', slug: 'europe', count: 40 },
  { name: 'ＮＩＳ諸国', slug: 'nis', count: 12 },
  { name: '北アメリカ', slug: 'north-america', count: 30 },
  { name: '南アメリカ', slug: 'south-america', count: 12 },
];

// Entries whose place is fixed rather than given by kana order: regionId -> { index: iso2 }.
const FIXED_INDICES = {
  1: { 10: 'JP', 23: 'TW', 24: 'HK', 25: 'MO' },
  2: { 17: 'PS' },
  3: { 15: 'GU', 16: 'CK', 17: 'NC' },
  7: { 24: 'PR', 25: 'GL', 26: 'CW', 27: 'AW', 28: 'VI', 29: 'KY', 30: 'BM' },
};
const AREAS = new Set(['TW', 'HK', 'MO', 'PS', 'GU', 'CK', 'NC', 'PR', 'GL', 'CW', 'AW', 'VI', 'KY', 'BM']);
// Areas without a page of their own carry the page of the state they belong to.
const PAGE_OF_STATE = {
  GU: 'US', NC: 'FR', PR: 'US', GL: 'DK', CW: 'NL', AW: 'NL', VI: 'US', KY: 'GB', BM: 'GB',
};
const PAGE_OF_JAPAN = 'https://www.stat.go.jp/';
const MOFA_PAGE = /^https:\/\/www\.mofa\.go\.jp\/mofaj\/area\/[a-z0-9_]+\/index\.html$/;

// UN members that are left out (not recognised by Japan), and world-countries entries
// flagged as UN members that are observers only.
const LEFT_OUT = new Set(['KP']);
const NOT_UN_MEMBERS = new Set(['VA']);
const SOVIET_NON_BALTIC = ['RU', 'UA', 'BY', 'MD', 'GE', 'AM', 'AZ', 'KZ', 'UZ', 'TM', 'KG', 'TJ'];
const PLACED = { EG: 2, CY: 5, TR: 2, EE: 5, LV: 5, LT: 5 };

const errors = [];
const notes = [];
const fail = msg => errors.push(msg);

const regions = loadRegions();
const all = regions.flatMap(r => r.entries.map(e => ({ ...e, region: r })));
const where = e => `${e.region.name} ${e.index} ${e.name}`;

// Regions and counts.
EXPECTED_REGIONS.forEach((want, i) => {
  const r = regions[i];
  if (r.name !== want.name) fail(`region ${i + 1}: name ${r.name}, expected ${want.name}`);
  if (r.slug !== want.slug) fail(`region ${i + 1}: slug ${r.slug}, expected ${want.slug}`);
  if (r.entries.length !== want.count) fail(`${r.name}: ${r.entries.length} entries, expected ${want.count}`);
});
if (all.length !== 206) fail(`${all.length} entries in all, expected 206`);

// Fields.
const cp932Safe = text => { try { toCp932(text); return true; } catch { return false; } };
for (const e of all) {
  for (const field of ['name', 'kana', 'label', 'page']) {
    const v = e[field];
    if (typeof v !== 'string' || v === '' || v !== v.trim()) fail(`${where(e)}: bad ${field} ${JSON.stringify(v)}`);
    else if (!cp932Safe(v)) fail(`${where(e)}: ${field} not CP932-safe`);
  }
  if (/[,"]/.test(e.name)) fail(`${where(e)}: name holds a comma or quote`);
  if (!/^[\u3041-\u3096ー]+$/.test(e.kana)) fail(`${where(e)}: kana ${e.kana} is not plain hiragana`);
  if (/^[\u30a1-\u30f6ー・]+$/.test(e.name) && e.kana !== toHiragana(e.name).replace(/・/g, '')) {
    fail(`${where(e)}: kana ${e.kana} does not match the katakana name`);
  }
  if (!/^[A-Z]{2}$/.test(e.iso2)) fail(`${where(e)}: iso2 ${e.iso2}`);
  const numericOk = e.iso2 === 'XK' ? e.isoNumeric === null : /^\d{3}$/.test(e.isoNumeric ?? '');
  if (!numericOk) fail(`${where(e)}: isoNumeric ${e.isoNumeric}`);
  if (e.kind !== 'state' && e.kind !== 'area') fail(`${where(e)}: kind ${e.kind}`);
  else if ((e.kind === 'area') !== AREAS.has(e.iso2)) fail(`${where(e)}: kind ${e.kind} for ${e.iso2}`);
}

// Uniqueness.
const duplicates = (key) => {
  const seen = new Map();
  for (const e of all) {
    const k = key(e);
    if (k === null) continue;
    if (seen.has(k)) fail(`duplicate ${k}: ${where(seen.get(k))} and ${where(e)}`);
    else seen.set(k, e);
  }
};
duplicates(e => e.iso2);
duplicates(e => e.isoNumeric);
duplicates(e => e.name);
duplicates(e => (e.kind === 'state' ? e.page : null));
for (const r of regions) {
  const kanas = new Set(r.entries.map(e => e.kana));
  if (kanas.size !== r.entries.length) fail(`${r.name}: two entries share a kana reading`);
}

// Fixed indices, and the states between them in kana order.
for (const r of regions) {
  const fixed = FIXED_INDICES[r.regionId] ?? {};
  for (const [index, iso2] of Object.entries(fixed)) {
    const e = r.entries[index - 1];
    if (e?.iso2 !== iso2) fail(`${r.name} ${index}: ${e?.iso2} ${e?.name}, expected ${iso2}`);
  }
  const ordered = r.entries.filter(e => !(e.index in fixed));
  if (ordered.some(e => e.kind !== 'state')) fail(`${r.name}: an area outside the fixed places`);
  for (let k = 1; k < ordered.length; k++) {
    if (compareKana(ordered[k - 1].kana, ordered[k].kana) >= 0) {
      fail(`${r.name}: ${ordered[k - 1].name} (${ordered[k - 1].index}) is not before ${ordered[k].name} (${ordered[k].index}) in kana order`);
    }
  }
  const rows = listPositions(r);
  if ([...rows].sort((a, b) => a - b).some((p, k) => p !== k + 1)) fail(`${r.name}: list positions are not a permutation`);
}

// Membership: every UN member state except the left-out ones, once.
const unMembers = new Set(countries
  .filter(c => c.unMember && !NOT_UN_MEMBERS.has(c.cca2) && !LEFT_OUT.has(c.cca2))
  .map(c => c.cca2));
const states = all.filter(e => e.kind === 'state');
for (const e of states) if (!unMembers.has(e.iso2)) fail(`${where(e)}: ${e.iso2} is not a UN member state`);
const stateCodes = new Set(states.map(e => e.iso2));
for (const code of unMembers) if (!stateCodes.has(code)) fail(`UN member ${code} is missing`);
if (states.length !== 192) fail(`${states.length} states, expected 192 (193 UN members less one)`);
const regionOf = iso2 => all.find(e => e.iso2 === iso2)?.region.regionId;
for (const [iso2, regionId] of Object.entries(PLACED)) {
  if (regionOf(iso2) !== regionId) fail(`${iso2} belongs to region ${regionId}, found in ${regionOf(iso2)}`);
}
const nis = regions[5].entries.map(e => e.iso2).sort().join(' ');
if (nis !== [...SOVIET_NON_BALTIC].sort().join(' ')) fail(`ＮＩＳ諸国 holds ${nis}`);

// Pages.
const byIso = new Map(all.map(e => [e.iso2, e]));
for (const e of all) {
  if (e.iso2 === 'JP') {
    if (e.page !== PAGE_OF_JAPAN) fail(`${where(e)}: page ${e.page}`);
  } else if (!MOFA_PAGE.test(e.page)) {
    fail(`${where(e)}: page ${e.page} is not a foreign ministry country page`);
  }
  const owner = PAGE_OF_STATE[e.iso2];
  if (owner && e.page !== byIso.get(owner)?.page) fail(`${where(e)}: page should be that of ${owner}`);
  if (!owner && e.kind === 'area' && states.some(s => s.page === e.page)) fail(`${where(e)}: shares a state's page`);
}

// Cross-check against world-countries: codes must agree, names are reported.
for (const e of all) {
  const c = countries.find(x => x.cca2 === e.iso2);
  if (!c) {
    if (e.iso2 !== 'XK') fail(`${where(e)}: ${e.iso2} unknown to world-countries`);
    continue;
  }
  if (c.ccn3 !== (e.isoNumeric ?? '')) fail(`${where(e)}: isoNumeric ${e.isoNumeric}, world-countries ${c.ccn3}`);
  const jpn = c.translations?.jpn?.common;
  if (jpn !== e.name) notes.push(`${where(e)}: world-countries says ${jpn}`);
}

// Generated data files, when present, must match the entries.
for (const r of regions) {
  for (const [dir, file, text] of [['概要', 'kuni.txt', kuniText(r)], ['外務省', 'url.txt', urlText(r)]]) {
    const p = path.join(REPO_ROOT, 'data', dir, r.name, file);
    if (!fs.existsSync(p)) { notes.push(`${path.relative(REPO_ROOT, p)} not generated yet`); continue; }
    let expected;
    try { expected = toCp932(text); } catch (err) { fail(`${path.relative(REPO_ROOT, p)}: ${err.message.split('\n')[0]}`); continue; }
    if (!fs.readFileSync(p).equals(expected)) fail(`${path.relative(REPO_ROOT, p)} is stale: run make-data-files.mjs`);
  }
}

for (const n of notes) console.log(`note: ${n}`);
for (const e of errors) console.error(`error: ${e}`);
console.log(`${regions.length} regions, ${all.length} entries (${states.length} states, ${all.length - states.length} areas); ${errors.length} errors, ${notes.length} notes`);
process.exit(errors.length ? 1 : 0);
