# Everyday commands. Each one installs what is missing first. They use the dev
# preset: build-dev/, optimised with debug information (RelWithDebInfo), so
# that `make run` starts the program a user gets. The debug preset
# (build-debug/, unoptimised) is there for a debugger that must see every step.
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
	rm -rf build-dev build-debug build-release build-asan build-fuzz build-bench

# Further targets (sanitizers, fuzzing, benchmarks, packaging) live in mk/.
include $(sort $(wildcard mk/*.mk))
