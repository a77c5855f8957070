// Serves a site folder on 127.0.0.1 at a free port, with the MIME types
// browsers need (application/wasm for streaming compilation).
'use strict';

const fs = require('fs');
const http = require('http');
const path = require('path');

const Types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css',
  '.wasm': 'application/wasm', '.json': 'application/json', '.webmanifest': 'application/manifest+json',
  '.png': 'image/png', '.svg': 'image/svg+xml', '.txt': 'text/plain; charset=utf-8',
  '.md': 'text/markdown; charset=utf-8', '.bin': 'application/octet-stream',
};

function serveSite(folder) {
  const root = path.resolve(folder);
  const server = http.createServer((request, response) => {
    let relative = decodeURIComponent(new URL(request.url, 'http://host').pathname);
    if (relative.endsWith('/'))
      relative += 'index.html';
    const file = path.join(root, path.normalize(relative));
    if (!file.startsWith(root) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      response.writeHead(404);
      response.end();
      return;
    }
    response.writeHead(200, {'Content-Type': Types[path.extname(file)] || 'application/octet-stream'});
    fs.createReadStream(file).pipe(response);
  });
  return new Promise(resolve => server.listen(0, '127.0.0.1', () => {
    server.url = `http://127.0.0.1:${server.address().port}/`;
    resolve(server);
  }));
}

module.exports = {serveSite};
