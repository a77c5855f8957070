#!/usr/bin/env node
// Renders the flag of every entry into data/国旗/<region>/h<index>.gif.
//
// usage: node tools/flags/make-flags.mjs <kunishirabe-artwork binary> [source root]
//
// Each flag is flag-icons' 4x3 SVG rendered 77 pixels high by rsvg-convert;
// kunishirabe-artwork then lays it on the flag box colour, frames it with a
// one-pixel border and writes the GIF with exact colours.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { loadRegions, REPO_ROOT } from '../entries/entries.mjs';

const FLAG_HEIGHT = '77';

const [artwork, rootArg] = process.argv.slice(2);
if (!artwork) {
  console.error('usage: node tools/flags/make-flags.mjs <kunishirabe-artwork binary> [source root]');
  process.exit(2);
}
const root = path.resolve(rootArg ?? REPO_ROOT);
const svgDir = path.join(root, 'tools', 'node_modules', 'flag-icons', 'flags', '4x3');
const tmp = fs.mkdtempSync(path.join(os.tmpdir(), 'kunishirabe-flags-'));

try {
  const pairs = [];
  let count = 0;
  for (const region of loadRegions()) {
    const outDir = path.join(root, 'data', '国旗', region.name);
    fs.mkdirSync(outDir, { recursive: true });
    for (const entry of region.entries) {
      const code = String(entry.iso2 ?? '').toLowerCase();
      const svg = path.join(svgDir, `${code}.svg`);
      if (!code || !fs.existsSync(svg)) {
        throw new Error(`${region.slug} entry ${entry.index} (${entry.name}): no flag-icons SVG for "${entry.iso2}"`);
      }
      const png = path.join(tmp, `${region.slug}-${entry.index}.png`);
      execFileSync('rsvg-convert', ['-h', FLAG_HEIGHT, '-o', png, svg]);
      pairs.push(png, path.join(outDir, `h${entry.index}.gif`));
      count += 1;
    }
  }
  execFileSync(path.resolve(artwork), ['png2gif', ...pairs], { stdio: 'inherit' });
  console.log(`${count} flags written under ${path.join(root, 'data', '国旗')}`);
} finally {
  fs.rmSync(tmp, { recursive: true, force: true });
}
