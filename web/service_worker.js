// Keeps the page (its module inside it), its manifest and icons, so that after
// a first visit over http(s) the page opens offline. A new build is a new cache.
'use strict';

const CacheName = 'navo-lookup-/*VERSION*/';
const Files = /*FILES*/;

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CacheName).then((cache) => cache.addAll(Files))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((n) => n !== CacheName).map((n) => caches.delete(n))))
    .then(() => self.clients.claim()));
});

// The network first, so that a new page is seen at once; the copy kept when
// there is no network. What the page fetches besides (the sample table) is kept as it comes.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(fetch(event.request).then((response) => {
    if (response.ok) {
      const copy = response.clone();
      caches.open(CacheName).then((cache) => cache.put(event.request, copy));
    }
    return response;
  }).catch(() => caches.match(event.request, { ignoreSearch: true })
    .then((kept) => kept || Response.error())));
});
