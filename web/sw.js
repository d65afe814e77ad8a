// The page's service worker: keeps every file of this version (the page, the
// module, the tables, the pictures, the fonts and the PDF libraries) so that
// the page opens and does the whole job when the server cannot be reached.
// web/build.mjs writes the version and the list of files.
//
// The content-hashed files of assets/ never change and come from the cache.
// Every other file is asked of the server first (a 304 costs a few hundred
// bytes), so a new version on the server is used on the next visit; the
// cache answers when the server is gone or does not answer in time. A new
// version's worker waits until no page of the old one is open: a page never
// loses the files of its own version while it runs.

const VERSION = 'development';
const FILES = [];
const CACHE = `tavilo-${VERSION}`;
const SERVER_WAIT_MS = 4000;

self.addEventListener('install', (event) => {
  event.waitUntil(
    (async () => {
      const cache = await caches.open(CACHE);
      await cache.addAll(FILES);
    })(),
  );
});

self.addEventListener('activate', (event) => {
  event.waitUntil(
    (async () => {
      const old = (await caches.keys()).filter((key) => key.startsWith('tavilo-') && key !== CACHE);
      await Promise.all(old.map((key) => caches.delete(key)));
      await self.clients.claim();
    })(),
  );
});

async function fromServer(request, cache) {
  const controller = new AbortController();
  const timer = setTimeout(() => controller.abort(), SERVER_WAIT_MS);
  try {
    const response = await fetch(request, { signal: controller.signal });
    if (response.ok) await cache.put(request, response.clone());
    return response;
  } finally {
    clearTimeout(timer);
  }
}

async function answer(request) {
  const cache = await caches.open(CACHE);
  const url = new URL(request.url);
  const kept = () =>
    cache
      .match(request, { ignoreSearch: true })
      .then((hit) => hit ?? (request.mode === 'navigate' ? cache.match('./') : undefined));
  if (url.pathname.includes('/assets/')) return (await kept()) ?? fromServer(request, cache);
  try {
    const response = await fromServer(request, cache);
    if (response.ok || response.status === 304) return response;
    return (await kept()) ?? response;
  } catch (error) {
    const hit = await kept();
    if (hit) return hit;
    throw error;
  }
}

self.addEventListener('fetch', (event) => {
  const { request } = event;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(answer(request));
});
