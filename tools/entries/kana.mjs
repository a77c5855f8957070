// Gojūon ordering of kana readings.
//
// Primary comparison ignores dakuten/handakuten and the small/large distinction;
// ー takes the vowel of the kana before it. Ties are broken position by position:
// small kana < plain < voiced < semi-voiced, and ー before the vowel it stands for.

const KATAKANA_FIRST = 0x30a1; // ァ
const KATAKANA_LAST = 0x30f6; // ヶ
const KATA_TO_HIRA = 0x60;

/** Converts katakana to hiragana; ー and everything else stay as they are. */
export function toHiragana(text) {
  let out = '';
  for (const ch of text) {
    const code = ch.codePointAt(0);
    out += code >= KATAKANA_FIRST && code <= KATAKANA_LAST
      ? String.fromCodePoint(code - KATA_TO_HIRA)
      : ch;
  }
  return out;
}

const SMALL_TO_LARGE = new Map([
  ['ぁ', 'あ'], ['ぃ', 'い'], ['ぅ', 'う'], ['ぇ', 'え'], ['ぉ', 'お'],
  ['っ', 'つ'], ['ゃ', 'や'], ['ゅ', 'ゆ'], ['ょ', 'よ'], ['ゎ', 'わ'],
  ['ゕ', 'か'], ['ゖ', 'け'],
]);

const VOWEL_ROWS = [
  ['あ', 'あかさたなはまやらわ'],
  ['い', 'いきしちにひみりゐ'],
  ['う', 'うくすつぬふむゆる'],
  ['え', 'えけせてねへめれゑ'],
  ['お', 'おこそとのほもよろを'],
];
const VOWEL_OF = new Map();
for (const [vowel, row] of VOWEL_ROWS) {
  for (const ch of row) VOWEL_OF.set(ch, vowel);
}

const DAKUTEN = '\u3099';
const HANDAKUTEN = '\u309a';

// Variant ranks for the tie-break.
const RANK_LONG_MARK = 0;
const RANK_SMALL = 1;
const RANK_PLAIN = 2;
const RANK_VOICED = 3;
const RANK_SEMI_VOICED = 4;

function isHiraganaLetter(ch) {
  const code = ch.codePointAt(0);
  return code >= 0x3041 && code <= 0x3096;
}

/**
 * Splits a reading into sort units [{ base, rank }]. Characters that are neither
 * kana nor ー (・, blanks) are dropped.
 */
export function sortUnits(reading) {
  const units = [];
  for (const ch of toHiragana(reading)) {
    if (ch === 'ー') {
      const prev = units.at(-1);
      const vowel = prev ? VOWEL_OF.get(prev.base) : undefined;
      units.push({ base: vowel ?? 'ー', rank: RANK_LONG_MARK });
      continue;
    }
    if (!isHiraganaLetter(ch)) continue;
    const decomposed = ch.normalize('NFD');
    let base = decomposed[0];
    let rank = RANK_PLAIN;
    if (decomposed.includes(DAKUTEN)) rank = RANK_VOICED;
    else if (decomposed.includes(HANDAKUTEN)) rank = RANK_SEMI_VOICED;
    if (SMALL_TO_LARGE.has(base)) {
      base = SMALL_TO_LARGE.get(base);
      rank = RANK_SMALL;
    }
    units.push({ base, rank });
  }
  return units;
}

/** Gojūon comparison of two readings (hiragana or katakana); <0, 0 or >0. */
export function compareKana(a, b) {
  const ua = sortUnits(a);
  const ub = sortUnits(b);
  const n = Math.min(ua.length, ub.length);
  for (let i = 0; i < n; i++) {
    if (ua[i].base !== ub[i].base) return ua[i].base < ub[i].base ? -1 : 1;
  }
  if (ua.length !== ub.length) return ua.length - ub.length;
  for (let i = 0; i < n; i++) {
    if (ua[i].rank !== ub[i].rank) return ua[i].rank - ub[i].rank;
  }
  return 0;
}
