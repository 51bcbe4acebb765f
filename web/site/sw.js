// The service worker: every file of the site is kept on the first visit, so
// that the calculator and the check work with no network afterwards (in the
// garden). Pages are answered from the store at once and refreshed from the
// network behind it when there is one.
"use strict";

// `make web` names the store after the site's files.
const CACHE = "tarvix-site-v1";
const FILES = [
  "./",
  "index.html",
  "style.css",
  "app.js",
  "state.js",
  "dom.js",
  "check_form.js",
  "check_results.js",
  "check_plot.js",
  "calculator.js",
  "engine_client.js",
  "nec_bridge.js",
  "worker.js",
  "tarvix-web.js",
  "tarvix-web.wasm",
  "nec2c.js",
  "nec2c.wasm",
  "manifest.webmanifest",
  "diagram.png",
  "copyright.txt",
  "nec2c-copyright.txt",
  "sw.js",
];

self.addEventListener("install", (event) => {
  event.waitUntil((async () => {
    const cache = await caches.open(CACHE);
    // One at a time, so that a file the site does not have leaves the others
    // kept.
    await Promise.all(FILES.map(async (file) => {
      try {
        const response = await fetch(new Request(file, { cache: "reload" }));
        if (response.ok) await cache.put(file, response);
      } catch (e) {
        /* kept on its first use instead */
      }
    }));
    await self.skipWaiting();
  })());
});

self.addEventListener("activate", (event) => {
  event.waitUntil((async () => {
    for (const key of await caches.keys()) {
      if (key !== CACHE && key.startsWith("tarvix-site-")) await caches.delete(key);
    }
    await self.clients.claim();
  })());
});

self.addEventListener("fetch", (event) => {
  const request = event.request;
  if (request.method !== "GET" || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith((async () => {
    const cache = await caches.open(CACHE);
    const kept = await cache.match(request, { ignoreSearch: true });
    const fresh = fetch(request).then(async (response) => {
      if (response.ok && response.type === "basic") await cache.put(request, response.clone());
      return response;
    });
    if (kept) {
      event.waitUntil(fresh.catch(() => undefined));
      return kept;
    }
    try {
      return await fresh;
    } catch (error) {
      // Offline and never seen: the page itself for a navigation.
      if (request.mode === "navigate") {
        const page = await cache.match("index.html");
        if (page) return page;
      }
      throw error;
    }
  })());
});
