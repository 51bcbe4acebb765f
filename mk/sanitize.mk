# Sanitizers and fuzzing.
#
# `make test-sanitize` builds the whole test suite with AddressSanitizer and
# UndefinedBehaviorSanitizer (preset asan, build-asan/), runs it with every
# report fatal, then gives each fuzz target a short run. `make fuzz` runs each
# fuzz target for FUZZ_SECONDS (60 by default). Fuzz targets are built with
# clang in build-fuzz/; what a run finds is kept in build-fuzz/fuzz-corpus/,
# and a crashing input in build-fuzz/fuzz-artifacts/.
.PHONY: test-sanitize fuzz fuzz-build

FUZZ_SECONDS ?= 60
FUZZ_QUICK_SECONDS ?= 5
FUZZ_TARGETS := lenient_parse strict_parse number_text design

# Any report stops the test with a failure, leaks included (checked at exit).
# No leak is suppressed: the toolkit, run offscreen or under Xvfb, reports
# none at present.
SANITIZE_ENV := \
	ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:strict_init_order=1:check_initialization_order=1:detect_stack_use_after_return=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

test-sanitize: deps
	cmake --preset asan >/dev/null
	cmake --build --preset asan
	$(SANITIZE_ENV) ctest --preset asan
	@$(MAKE) --no-print-directory fuzz-run FUZZ_SECONDS=$(FUZZ_QUICK_SECONDS)

fuzz: deps
	@$(MAKE) --no-print-directory fuzz-run

fuzz-build:
	cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVIX_WERROR=ON -DTARVIX_FUZZ=ON \
		-DBUILD_TESTING=OFF >/dev/null
	cmake --build build-fuzz --target fuzz_targets

# Each target starts from the seed corpus in fuzz/corpus/ (read only) and from
# what earlier runs found. libFuzzer stops with a failure at the first crash,
# sanitizer report or broken property and saves the input that caused it.
.PHONY: fuzz-run
fuzz-run: fuzz-build
	@mkdir -p build-fuzz/fuzz-artifacts
	@set -e; for t in $(FUZZ_TARGETS); do \
		mkdir -p build-fuzz/fuzz-corpus/$$t; \
		echo "fuzz: $$t for $(FUZZ_SECONDS) s"; \
		build-fuzz/fuzz/$${t}_fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=65536 \
			-timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
			-artifact_prefix=build-fuzz/fuzz-artifacts/$$t- \
			build-fuzz/fuzz-corpus/$$t fuzz/corpus/$$t 2>build-fuzz/fuzz-$$t.log \
			|| { tail -n 40 build-fuzz/fuzz-$$t.log; exit 1; }; \
		grep -E '^stat::number_of_executed_units' build-fuzz/fuzz-$$t.log || true; \
	done
