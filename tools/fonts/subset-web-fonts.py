#!/usr/bin/python3
"""Subsets the IPA fonts to the characters kunishirabe can show, for the web build.

    tools/fonts/subset-web-fonts.py [repository root]

Needs Debian 12's python3-fonttools (hence /usr/bin/python3), fonts-ipafont-mincho
and fonts-ipafont-gothic. Writes assets/fonts/web/kunishirabe-{mincho,pmincho,
gothic}.ttf from ipam.ttf, ipamp.ttf and ipag.ttf, and the licence text beside
them. The output is byte-identical from run to run.

Licence. The IPA fonts come under the IPA Font License Agreement v1.0. A subset
is a "Derived Program" (Article 1.3); Article 2.7 allows making and
redistributing one under the conditions of Article 3.1:
  (1) the Derived Program, and any file the font tool made on the way that
      helps to modify it further, go with it or are available online: there
      is no such file; the fonts and this generator are in the source tree;
  (2) the recipient gets the means to replace it with the original fonts:
      README.md beside the fonts says where to get them and what to replace;
  (3) it is licensed under the same agreement: the agreement's text
      (IPA_Font_License_Agreement_v1.0.txt, copied from Debian's copyright
      file) goes beside the fonts, and each font keeps its copyright notice
      and licence records (name IDs 0, 13, 14);
  (4) no program, font or file name of it may use or include the original's
      name: the families become Kunishirabe Mincho/PMincho/Gothic, every
      other name record (the Japanese IPA明朝, IPAゴシック too) is replaced or
      dropped, and the files are named kunishirabe-*.ttf.
The fonts stay without warranty (Article 3.3); the README says so.
"""

import gzip
import sys
import unicodedata
from pathlib import Path

from fontTools import subset
from fontTools.ttLib import TTFont

IPA_MINCHO_DIR = Path("/usr/share/fonts/opentype/ipafont-mincho")
IPA_GOTHIC_DIR = Path("/usr/share/fonts/opentype/ipafont-gothic")
IPA_COPYRIGHT = Path("/usr/share/doc/fonts-ipafont-mincho/copyright")
LICENCE_FILE = "IPA_Font_License_Agreement_v1.0.txt"

# (original, output file, family, PostScript name)
FONTS = [
    (IPA_MINCHO_DIR / "ipam.ttf", "kunishirabe-mincho.ttf", "Kunishirabe Mincho", "KunishirabeMincho"),
    (IPA_MINCHO_DIR / "ipamp.ttf", "kunishirabe-pmincho.ttf", "Kunishirabe PMincho", "KunishirabePMincho"),
    (IPA_GOTHIC_DIR / "ipag.ttf", "kunishirabe-gothic.ttf", "Kunishirabe Gothic", "KunishirabeGothic"),
]

# Media in data/; every other file there is text.
BINARY_SUFFIXES = {".gif", ".wav", ".png", ".jpg", ".jpeg", ".bmp", ".mp3", ".ogg"}

# Printable ASCII, full-width ASCII, hiragana, katakana, half-width katakana.
RANGES = [(0x20, 0x7E), (0xFF01, 0xFF5E), (0x3041, 0x3096), (0x3099, 0x309F),
          (0x30A0, 0x30FF), (0xFF61, 0xFF9F)]

# Punctuation an edited text is likely to use, with both Unicode readings of
# the code page 932 characters that converters map differently.
SAFETY = ("\u3000、。，．・：；？！゛゜´｀¨＾￣＿ヽヾゝゞ〃仝々〆〇ー―‐／＼〜～‖∥｜…‥"
          "‘’“”（）〔〕［］｛｝〈〉《》「」『』【】＋－−±×÷＝≠＜＞≦≧∞∴♂♀°′″℃"
          "￥＄¢￠£￡％＃＆＊＠§☆★○●◎◇◆□■△▲▽▼※〒→←↑↓〓¬￢")


def decode_data_text(raw):
    """The program's rule (src/data/DataText.cpp): UTF-8 if the bytes go
    beyond ASCII and are valid UTF-8 (a byte order mark dropped), else code
    page 932."""
    if any(b >= 0x80 for b in raw):
        try:
            return raw.decode("utf-8").removeprefix("\ufeff")
        except UnicodeDecodeError:
            pass
    return raw.decode("cp932", errors="replace")


def shown(text):
    return {c for c in text if unicodedata.category(c) != "Cc"}


def collect(root):
    """Characters the program can show, each with the first file it is in."""
    found = {}
    for path in sorted((root / "data").rglob("*")):
        if path.is_file() and path.suffix.lower() not in BINARY_SUFFIXES:
            for c in shown(decode_data_text(path.read_bytes())):
                found.setdefault(c, path.relative_to(root))
    # Generated tables (the code page 932 table holds every character it maps) are not shown.
    sources = [p for p in (root / "src").rglob("*")
               if p.suffix in (".cpp", ".h") and "generated" not in p.parts]
    for path in sorted(sources):
        for c in shown(path.read_text("utf-8")):
            if ord(c) >= 0x80:
                found.setdefault(c, path.relative_to(root))
    for c in SAFETY:
        found.setdefault(c, "safety characters")
    return found


def licence_text():
    """The stand-alone 'License: IPA-1' paragraph of Debian's copyright file,
    unfolded."""
    lines = IPA_COPYRIGHT.read_text("utf-8").splitlines()
    start = next(i for i, line in enumerate(lines)
                 if line == "License: IPA-1" and lines[i - 1] == "") + 1
    body = []
    for line in lines[start:]:
        if not line.startswith(" "):
            break
        line = line[1:]
        body.append("" if line == "." else line.rstrip())
    return "\n".join(body) + "\n"


def subset_options():
    options = subset.Options()
    options.hinting = False
    # Horizontal text of precomposed characters: no vertical forms, no
    # composition, so no layout tables and no vertical metrics.
    options.layout_features = []
    options.drop_tables += ["GSUB", "GPOS", "GDEF", "vhea", "vmtx"]
    options.name_IDs = [0, 1, 2, 3, 4, 5, 6, 13, 14]
    options.name_languages = [0x0409]
    options.name_legacy = False
    options.legacy_cmap = False
    options.glyph_names = False
    options.notdef_outline = True
    options.recalc_timestamp = False
    return options


def rename(font, family, postscript):
    name = font["name"]
    version = name.getDebugName(5)
    keep = {0, 5, 13, 14}
    name.names = [r for r in name.names if r.nameID in keep]
    for name_id, value in ((1, family), (2, "Regular"), (3, f"{family}; {version}; subset"),
                           (4, family), (6, postscript)):
        name.setName(value, name_id, 3, 1, 0x409)


def write_font(original, target, family, postscript, codepoints):
    font = TTFont(original, recalcTimestamp=False)
    created, modified = font["head"].created, font["head"].modified
    subsetter = subset.Subsetter(subset_options())
    subsetter.populate(unicodes=codepoints)
    subsetter.subset(font)
    rename(font, family, postscript)
    font["head"].created, font["head"].modified = created, modified
    font.save(target, reorderTables=True)


def main():
    root = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parents[2]
    found = collect(root)
    out_dir = root / "assets" / "fonts" / "web"
    out_dir.mkdir(parents=True, exist_ok=True)

    codepoints = {ord(c) for c in found}
    for first, last in RANGES:
        codepoints.update(range(first, last + 1))
    for original, file_name, family, postscript in FONTS:
        cmap = TTFont(original, lazy=True).getBestCmap()
        missing = sorted(c for c in found if ord(c) not in cmap)
        if missing:
            for c in missing:
                print(f"{original.name} lacks U+{ord(c):04X} {c} ({found[c]})", file=sys.stderr)
            sys.exit(1)
        # Range members that the original lacks are left out.
        chosen = sorted(cp for cp in codepoints if cp in cmap)
        target = out_dir / file_name
        write_font(original, target, family, postscript, chosen)
        data = target.read_bytes()
        packed = len(gzip.compress(data, compresslevel=9, mtime=0))
        print(f"{target.relative_to(root)}: {len(chosen)} characters, "
              f"{len(data)} bytes, {packed} bytes gzip -9")

    (out_dir / LICENCE_FILE).write_text(licence_text(), "utf-8")


if __name__ == "__main__":
    main()
