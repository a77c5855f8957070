// Keeps the site, so that the program starts without network after the first
// visit. With network the server is asked for every file whether it has
// changed, so that a changed site shows at the next reload; what it sends is
// kept. admin/update-site.py fills in the version and the file list.
'use strict';

// A new version makes browsers install this worker again, which keeps the files anew.
const SiteVersion = '';
const SiteFiles = [];
const CacheName = 'kunishirabe-site';
// The page fetches these itself once this worker is in charge of it, and they are kept as they
// pass: fetched here as well, the program would come down twice.
const FetchedByPage = ['kunishirabe.js', 'kunishirabe.wasm', 'kunishirabe-data.bin'];

// The server is asked whether the kept copy has changed, by its Last-Modified (Apache never
// matches the ETag of a file it compresses), else its ETag, in a request of this worker's own:
// a script's or style sheet's request (no-cors) would drop the question. The response, and the
// keeping of what the server sent anew; without network, the kept copy.
async function refresh(cache, request) {
  const kept = await cache.match(request, {ignoreSearch: true});
  const headers = new Headers();
  if (kept?.headers.has('Last-Modified'))
    headers.set('If-Modified-Since', kept.headers.get('Last-Modified'));
  else if (kept?.headers.has('ETag'))
    headers.set('If-None-Match', kept.headers.get('ETag'));
  let response;
  try {
    response = await fetch(request.url, {headers, cache: 'no-store', credentials: 'same-origin',
                                         redirect: request.redirect === 'manual' ? 'manual' : 'follow'});
  } catch (error) {
    if (kept)
      return [kept];
    throw error;
  }
  if (response.status === 304 && kept)
    return [kept];
  if (response.ok && response.type === 'basic')
    return [response, cache.put(request, response.clone())];
  return [response];
}

// A new worker (a new version) refreshes the files the page does not fetch itself.
self.addEventListener('install', event => {
  const files = ['./', ...SiteFiles.filter(name => !FetchedByPage.includes(name))];
  event.waitUntil(caches.open(CacheName)
    .then(cache => Promise.all(files.map(async name => {
      const [response, keeping] = await refresh(cache, new Request(name));
      if (!response.ok)
        throw new Error(`${name}: ${response.status}`);
      await keeping;
    })))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', event => {
  event.waitUntil(caches.keys()
    .then(names => Promise.all(names.filter(name => name.startsWith('kunishirabe-') && name !== CacheName)
      .map(name => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', event => {
  if (event.request.method !== 'GET' || new URL(event.request.url).origin !== self.location.origin)
    return;
  event.respondWith(caches.open(CacheName)
    .then(cache => refresh(cache, event.request))
    .then(([response, keeping]) => {
      if (keeping)
        event.waitUntil(keeping);
      return response;
    }, () => Response.error()));
});
