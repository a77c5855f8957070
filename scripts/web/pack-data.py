#!/usr/bin/env python3
"""Packs a data directory into the bundle that the web page fetches at start.

The bundle: a 4-byte little-endian length, a UTF-8 JSON index of
[path, start, end] (path relative to the data directory, offsets into the
bytes that follow), then the files' bytes. Usage: pack-data.py DATA_DIR OUT
"""
import json
import os
import struct
import sys

data_dir, out_path = sys.argv[1], sys.argv[2]
paths = sorted(os.path.relpath(os.path.join(root, name), data_dir)
               for root, _, names in os.walk(data_dir, followlinks=True) for name in names)
index, chunks, offset = [], [], 0
for path in paths:
    with open(os.path.join(data_dir, path), "rb") as source:
        content = source.read()
    index.append([path.replace(os.sep, "/"), offset, offset + len(content)])
    chunks.append(content)
    offset += len(content)
header = json.dumps(index, ensure_ascii=False, separators=(",", ":")).encode("utf-8")
with open(out_path, "wb") as out:
    out.write(struct.pack("<I", len(header)))
    out.write(header)
    for content in chunks:
        out.write(content)
print(f"{out_path}: {len(paths)} files, {offset + 4 + len(header)} bytes")
