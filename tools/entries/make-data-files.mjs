// Writes data/概要/<region>/kuni.txt and data/外務省/<region>/url.txt (CP932, CR LF)
// from the region entry files.
//   node tools/entries/make-data-files.mjs
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import iconv from 'iconv-lite';
import { loadRegions, listPositions, REPO_ROOT } from './entries.mjs';

const CRLF = '\r\n';

/** A text field of a record: quoted when it holds a comma. */
export function recordField(text) {
  if (text.includes('"')) throw new Error(`field cannot hold a double quote: ${text}`);
  if (/[\r\n]/.test(text)) throw new Error(`field cannot hold a line break: ${text}`);
  return text.includes(',') ? `"${text}"` : text;
}

export function kuniText(region) {
  const rows = listPositions(region);
  return region.entries
    .map((entry, k) => `${recordField(entry.name)},${rows[k]}${CRLF}`)
    .join('');
}

export function urlText(region) {
  return region.entries
    .map(entry => `${recordField(entry.label)},${recordField(entry.page)}${CRLF}`)
    .join('');
}

/** Encodes to CP932, refusing characters that do not survive the round trip. */
export function toCp932(text) {
  const bytes = iconv.encode(text, 'cp932');
  if (iconv.decode(bytes, 'cp932') !== text) throw new Error(`not CP932-safe: ${text}`);
  return bytes;
}

function writeFile(file, text) {
  fs.mkdirSync(path.dirname(file), { recursive: true });
  fs.writeFileSync(file, toCp932(text));
  return file;
}

export function makeDataFiles(dataRoot = path.join(REPO_ROOT, 'data')) {
  const written = [];
  for (const region of loadRegions()) {
    written.push(writeFile(path.join(dataRoot, '概要', region.name, 'kuni.txt'), kuniText(region)));
    written.push(writeFile(path.join(dataRoot, '外務省', region.name, 'url.txt'), urlText(region)));
  }
  return written;
}

if (process.argv[1] && path.resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
  for (const file of makeDataFiles()) console.log(path.relative(REPO_ROOT, file));
}
