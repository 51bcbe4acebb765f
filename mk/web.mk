# The browser edition: `make web` builds build-web/, a static site (the page,
# the program's module and nec2c compiled to WebAssembly by Debian's
# emscripten); `make web-serve` serves it on 127.0.0.1 for trying;
# `make test-web` drives it in headless Chromium and compares its JSON with
# tarvix-design's.
.PHONY: web web-deps web-serve test-web

WEB_PORT ?= 8000
# The machine's Node.js may not look in Debian's folder of Node modules,
# where emscripten's optimiser finds acorn.
WEB_ENV = NODE_PATH=/usr/share/nodejs

web-deps:
	@scripts/install-deps --web

web: web-deps
	@scripts/fetch-nec2c build-wasm-src
	@$(WEB_ENV) cmake --preset wasm >/dev/null
	$(WEB_ENV) cmake --build --preset wasm
	rm -rf build-web
	mkdir -p build-web
	cp web/site/* assets/diagram.png build-web/
	cp build-wasm-src/nec2c-1.3/debian/copyright build-web/nec2c-copyright.txt
	cp build-wasm/dist/copyright build-web/copyright.txt
	cp build-wasm/web/tarvix-web.js build-wasm/web/tarvix-web.wasm \
	   build-wasm/web/nec2c.js build-wasm/web/nec2c.wasm build-web/
	@# The service worker's store is named after the files it keeps: a site
	@# built anew is a new worker, which fetches every file before it serves.
	stamp=$$(cd build-web && cat $$(ls | grep -v '^sw.js$$') | sha256sum | cut -c1-12) && \
	  sed -i "s/tarvix-site-v1/tarvix-site-$$stamp/" build-web/sw.js

web-serve: web
	@echo "Tarvix on http://127.0.0.1:$(WEB_PORT)/ (Ctrl+C stops it)"
	cd build-web && /usr/bin/python3 -m http.server --bind 127.0.0.1 $(WEB_PORT)

test-web: web configure
	cmake --build --preset dev --target tarvix-design
	/usr/bin/python3 tests/web/test_site.py --site build-web --cli build-dev/cli/tarvix-design
