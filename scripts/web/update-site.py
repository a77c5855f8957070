#!/usr/bin/env python3
"""Updates a site of 世界の国しらべ for the browser after its data was edited.

Packs a data folder into the site's data bundle and renews the site's version
(version.json, and the offline cache's version and file list in
service-worker.js), so that a pupil gets the change at the next reload.
Python 3 alone, on Windows and Linux; the site ships it as admin/update-site.py.

  update-site.py DATA            pack DATA into the site, renew its version
  update-site.py                 renew the version only (files replaced by hand)
  update-site.py --unpack DIR    write the bundle's files into DIR (outside the site), to edit them
  --site SITE                    the site folder (default: the one holding admin/)

The bundle: a 4-byte little-endian length, a UTF-8 JSON index of
[path, start, end] (path relative to the data folder, offsets into the bytes
that follow), then the files' bytes.
"""
import argparse
import hashlib
import json
import os
import re
import struct
import sys

Bundle = 'kunishirabe-data.bin'
VersionFile = 'version.json'
ServiceWorker = 'service-worker.js'
# Not for the pupils' browsers: server settings (Apache refuses .ht* files, IIS web.config) and this tool.
NotServed = ('admin/', 'web.config', '.')


class Refused(Exception):
    pass


def write_whole(path, content):
    """Writes `content` beside `path` and then puts it in its place, so that a server
    never sends a file half written, and a failed step leaves the old one."""
    folder, name = os.path.split(path)
    partial = os.path.join(folder, '.' + name + '.partial')  # a dot file: not part of the site
    with open(partial, 'wb') as out:
        out.write(content)
    os.replace(partial, path)


def data_paths(data_dir):
    return sorted(os.path.relpath(os.path.join(root, name), data_dir).replace(os.sep, '/')
                  for root, _, names in os.walk(data_dir, followlinks=True) for name in names)


def check_text(path, content):
    """The program reads a text as UTF-8 (with or without a byte order mark) when
    it is valid UTF-8, and as Shift_JIS (CP932) otherwise: one that is neither is refused."""
    try:
        content.decode('utf-8')
        return
    except UnicodeDecodeError:
        pass
    try:
        content.decode('cp932')
    except UnicodeDecodeError as error:
        raise Refused(f'{path}: Shift_JIS（CP932）としても UTF-8 としても読めないバイトがあります'
                      f'（{error.start} バイト目）。')


def pack(data_dir, out_path):
    if not os.path.isdir(os.path.join(data_dir, '概要')):
        raise Refused(f'{data_dir}: データのフォルダーではありません（「概要」フォルダーがありません）。')
    index, chunks, offset = [], [], 0
    for path in data_paths(data_dir):
        with open(os.path.join(data_dir, path), 'rb') as source:
            content = source.read()
        if path.lower().endswith('.txt'):
            check_text(path, content)
        index.append([path, offset, offset + len(content)])
        chunks.append(content)
        offset += len(content)
    header = json.dumps(index, ensure_ascii=False, separators=(',', ':')).encode('utf-8')
    write_whole(out_path, struct.pack('<I', len(header)) + header + b''.join(chunks))
    return len(index)


def unpack(bundle_path, out_dir):
    if os.path.exists(out_dir) and os.listdir(out_dir):
        raise Refused(f'{out_dir}: 空でないフォルダーには書き出しません。')
    with open(bundle_path, 'rb') as source:
        bundle = source.read()
    (length,) = struct.unpack_from('<I', bundle)
    body = 4 + length
    index = json.loads(bundle[4:body].decode('utf-8'))
    for path, start, end in index:
        target = os.path.join(out_dir, *path.split('/'))
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, 'wb') as out:
            out.write(bundle[body + start:body + end])
    return len(index)


def is_inside(path, folder):
    try:
        return os.path.commonpath([os.path.abspath(folder), os.path.abspath(path)]) == os.path.abspath(folder)
    except ValueError:  # another drive
        return False


def site_files(site):
    """The files the pupils' browsers get and keep, '/'-separated, sorted."""
    files = sorted(os.path.relpath(os.path.join(root, name), site).replace(os.sep, '/')
                   for root, _, names in os.walk(site) for name in names)
    return [f for f in files if f not in (ServiceWorker, VersionFile) and not f.startswith(NotServed)
            and '/.' not in f]


def stamp_worker(worker, version, files):
    """The service worker with its version and file list filled in."""
    stamps = [(r"^const SiteVersion = .*;$", f"const SiteVersion = '{version}';"),
              (r"^const SiteFiles = .*;$", 'const SiteFiles = ' + json.dumps(files, ensure_ascii=False) + ';')]
    for pattern, line in stamps:
        worker, count = re.subn(pattern, lambda _: line, worker, count=1, flags=re.M)
        if count != 1:
            raise Refused(f'{ServiceWorker}: {pattern} の行がありません。')
    return worker


def renew_version(site):
    """The version: a hash of the site's files, names and contents, and of the service worker
    without its stamps. Written to version.json with the files' sizes, for the page, and into
    the service worker, whose change makes browsers take the new list."""
    files = site_files(site)
    worker_path = os.path.join(site, ServiceWorker)
    with open(worker_path, encoding='utf-8', newline='') as source:
        worker = source.read()
    digest = hashlib.sha256(stamp_worker(worker, '', []).encode('utf-8'))
    for name in files:
        with open(os.path.join(site, name), 'rb') as source:
            digest.update(b'\0' + name.encode('utf-8') + b'\0' + source.read())
    version = digest.hexdigest()[:12]
    sizes = {name: os.path.getsize(os.path.join(site, name)) for name in files}
    write_whole(os.path.join(site, VersionFile),
                (json.dumps({'version': version, 'sizes': sizes}, ensure_ascii=False, indent=1) + '\n').encode('utf-8'))
    write_whole(worker_path, stamp_worker(worker, version, files).encode('utf-8'))
    return version


def main():
    parser = argparse.ArgumentParser(description='世界の国しらべの Web 版: データを直したあと、サイトを新しくします。')
    parser.add_argument('data', nargs='?', help='データのフォルダー（概要・国旗・外務省・画像・音 が入ったもの）')
    parser.add_argument('--site', help='サイトのフォルダー（省略すると、この admin フォルダーの一つ上）')
    parser.add_argument('--unpack', metavar='DIR', help='サイトのデータを、サイトの外の DIR に書き出す（直すため）')
    args = parser.parse_args()
    site = args.site or os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    try:
        if not os.path.isfile(os.path.join(site, 'index.html')):
            raise Refused(f'{site}: サイトのフォルダーではありません（index.html がありません）。')
        if args.unpack:
            if is_inside(args.unpack, site):
                raise Refused(f'{args.unpack}: サイトのフォルダーの外に書き出してください（中に置くと、生徒のブラウザーにも配られます）。')
            count = unpack(os.path.join(site, Bundle), args.unpack)
            print(f'{args.unpack} に {count} 個のファイルを書き出しました。')
            return 0
        if args.data:
            count = pack(args.data, os.path.join(site, Bundle))
            print(f'{Bundle}: {count} 個のファイルを入れました。')
        print(f'版：{renew_version(site)}')
        return 0
    except (Refused, OSError) as error:
        print(f'できませんでした：{error}', file=sys.stderr)
        return 1


if __name__ == '__main__':
    sys.exit(main())
