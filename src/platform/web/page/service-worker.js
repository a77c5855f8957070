// Keeps the whole site, so that the program starts without network after
// the first visit. build-web.sh fills in the file list and its version.
'use strict';

const SiteVersion = '@SITE_VERSION@';
const SiteFiles = @SITE_FILES@;
const CacheName = 'kunishirabe-' + SiteVersion;

self.addEventListener('install', event => {
  event.waitUntil(caches.open(CacheName)
    .then(cache => cache.addAll(SiteFiles))
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
  event.respondWith(caches.open(CacheName).then(cache =>
    cache.match(event.request, {ignoreSearch: true}).then(cached => cached || fetch(event.request))));
});
