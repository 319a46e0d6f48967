// SPDX-License-Identifier: GPL-3.0-or-later
// The service worker of the page served over http(s): it keeps the page and
// its manifest (the icon is inside it), so that the installed app opens
// without a network.
// Each file is answered from the cache at once and fetched again behind it
// for the next start, so a new version published beside it arrives one
// start later; a new version of Veltrane starts a new cache.
'use strict';

const kCache = 'veltrane-@PROJECT_VERSION@';
const kFiles = ['veltrane.html', 'manifest.webmanifest'];

self.addEventListener('install', (e) => {
  e.waitUntil(caches.open(kCache).then((cache) => cache.addAll(kFiles)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (e) => {
  e.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((n) => n.startsWith('veltrane-') && n !== kCache)
      .map((n) => caches.delete(n))))
    .then(() => self.clients.claim()));
});

// Only this folder's own files are kept (the page, published under another
// name, too); nothing else goes through here.
self.addEventListener('fetch', (e) => {
  const request = e.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  e.respondWith(caches.open(kCache).then((cache) => cache.match(request, { ignoreSearch: true })
    .then((kept) => {
      const fresh = fetch(request).then((response) => {
        if (response.ok) cache.put(request, response.clone());
        return response;
      });
      if (!kept) return fresh;
      e.waitUntil(fresh.catch(() => undefined));  // offline: the kept copy serves
      return kept;
    })));
});
