# Everyday commands. Each one installs what is missing first.
.PHONY: deps configure build test run clean format

deps:
	@scripts/install-deps

configure: deps
	@cmake --preset dev >/dev/null

build: configure
	cmake --build --preset dev

test: build
	ctest --preset dev

# Only the window and what it links: the tests are left for `make test`.
run: configure
	cmake --build --preset dev --target tarvix
	./build-dev/ui/tarvix

format:
	clang-format -i $$(git ls-files '*.h' '*.cpp')

clean:
	rm -rf build-dev build-release build-asan build-fuzz build-bench

# Further targets (sanitizers, fuzzing, benchmarks, packaging) live in mk/.
include $(sort $(wildcard mk/*.mk))
