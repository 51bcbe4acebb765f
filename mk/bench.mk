# Benchmarks and the start-up comparison, in their own optimised tree. Neither
# is a test: `make test` runs none of this, and nothing here asserts a time.
.PHONY: bench bench-startup

BENCH_DIR := build-bench
# Five repetitions of each benchmark; the median is the figure to read when
# the machine is shared.
BENCH_FLAGS ?= --benchmark_repetitions=5 --benchmark_display_aggregates_only=true
# Rounds of the start-up comparison, each starting both programs once.
STARTUP_ROUNDS ?= 30

define bench_configure
	@cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVIX_WERROR=ON \
		-DTARVIX_BENCH=ON -DBUILD_TESTING=OFF >/dev/null
endef

# Timings, then instructions per iteration under callgrind.
bench: deps
	$(bench_configure)
	cmake --build $(BENCH_DIR) --target tarvix_calc_bench tarvix_entry_bench tarvix_window_bench \
		tarvix_process_bench tarvix_check_bench
	$(BENCH_DIR)/bench/tarvix_calc_bench $(BENCH_FLAGS)
	$(BENCH_DIR)/bench/tarvix_entry_bench $(BENCH_FLAGS)
	$(BENCH_DIR)/bench/tarvix_window_bench $(BENCH_FLAGS)
	$(BENCH_DIR)/bench/tarvix_process_bench $(BENCH_FLAGS)
	$(BENCH_DIR)/bench/tarvix_check_bench $(BENCH_FLAGS)
	bench/instructions.sh $(BENCH_DIR)

bench-startup: deps
	$(bench_configure)
	cmake --build $(BENCH_DIR) --target tarvix tarvix-check tarvix_minimal_window tarvix_first_frame
	bench/startup.sh $(BENCH_DIR) $(STARTUP_ROUNDS)
