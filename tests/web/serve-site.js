// Serves a site folder on 127.0.0.1 at a free port, as a plain static server
// does: the MIME types browsers need (application/wasm for streaming
// compilation), ETag and Last-Modified, 304 when the file has not changed. Keeps
// the paths and statuses it answered in `requests`; with `bytesPerSecond` set,
// sends no faster, as a slow line would; `offline` drops every connection.
'use strict';

const fs = require('fs');
const http = require('http');
const path = require('path');
const {Transform} = require('stream');

const Types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css',
  '.wasm': 'application/wasm', '.json': 'application/json', '.webmanifest': 'application/manifest+json',
  '.png': 'image/png', '.svg': 'image/svg+xml', '.txt': 'text/plain; charset=utf-8',
  '.md': 'text/markdown; charset=utf-8', '.bin': 'application/octet-stream',
};

function throttled(server) {
  return new Transform({
    transform(chunk, encoding, done) {
      if (server.bytesPerSecond)
        setTimeout(() => done(null, chunk), chunk.length / server.bytesPerSecond * 1000);
      else
        done(null, chunk);
    },
  });
}

function serveSite(folder) {
  const root = path.resolve(folder);
  const server = http.createServer((request, response) => {
    if (server.offline) {
      request.socket.destroy();
      return;
    }
    let relative = decodeURIComponent(new URL(request.url, 'http://host').pathname);
    const answer = (status, headers) => {
      server.requests.push({path: relative, status});
      response.writeHead(status, headers);
    };
    if (relative.endsWith('/'))
      relative += 'index.html';
    const file = path.join(root, path.normalize(relative));
    if (!file.startsWith(root) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      answer(404);
      response.end();
      return;
    }
    const stat = fs.statSync(file);
    const validators = {ETag: `"${stat.size}-${stat.mtimeMs}"`, 'Last-Modified': stat.mtime.toUTCString()};
    if (request.headers['if-none-match'] === validators.ETag || request.headers['if-modified-since'] === validators['Last-Modified']) {
      answer(304, validators);
      response.end();
      return;
    }
    answer(200, {'Content-Type': Types[path.extname(file)] || 'application/octet-stream', 'Content-Length': stat.size,
                 ...validators});
    fs.createReadStream(file, {highWaterMark: 16384}).pipe(throttled(server)).pipe(response);
  });
  server.requests = [];
  server.bytesPerSecond = 0;
  server.offline = false;
  return new Promise(resolve => server.listen(0, '127.0.0.1', () => {
    server.url = `http://127.0.0.1:${server.address().port}/`;
    resolve(server);
  }));
}

module.exports = {serveSite};
