// Installable and offline where the page is served over http(s): its manifest
// and service worker beside it. Opened as a file it stays one page alone.
'use strict';

if (/^https?:$/.test(location.protocol) && 'serviceWorker' in navigator) {
  const manifest = document.createElement('link');
  manifest.rel = 'manifest';
  manifest.href = NAVO_OFFLINE.manifest;
  document.head.append(manifest);
  navigator.serviceWorker.register(NAVO_OFFLINE.worker).catch(() => {
    // without it the page still works while online
  });
}
