# Thin wrapper over CMake: `make run` starts the tool, `make test` runs the tests, `make bench`
# runs the benchmarks and prints their figures and ratios, then the tool's peak memory.
BUILD ?= build
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)
# Short runs, repeated in shuffled order, so that drift on a busy machine spreads over every
# benchmark instead of skewing one; each figure reported is the median of the repetitions.
BENCH_FLAGS ?= --benchmark_min_time=0.2 --benchmark_repetitions=10 \
	--benchmark_enable_random_interleaving=true --benchmark_display_aggregates_only=true

.PHONY: deps configure build run test bench fuzz

deps:
	@scripts/install-deps.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) --parallel $(JOBS)

run: build
	$(BUILD)/src/app/quillmere

test: build
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD) --output-on-failure --parallel $(JOBS)

bench: build
	$(BUILD)/bench/quillmere_bench $(BENCH_FLAGS)
	$(BUILD)/bench/quillmere_memory
	$(BUILD)/bench/quillmere_memory --floor

# Runs every fuzz target for FUZZ_SECONDS each (clang build in build-fuzz); what a run
# finds beyond the committed seeds stays in build-fuzz/corpus.
FUZZ_SECONDS ?= 300
FUZZ_TARGETS := json escape_decoder code_page url_encode cookies text regex

fuzz: deps
	@test -f build-fuzz/CMakeCache.txt || CXX=clang++ cmake -S . -B build-fuzz -G Ninja \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMERE_FUZZ=ON -DQUILLMERE_BUILD_TESTS=OFF
	cmake --build build-fuzz --parallel $(JOBS) --target $(FUZZ_TARGETS:%=%_fuzzer)
	@for target in $(FUZZ_TARGETS); do \
	  mkdir -p build-fuzz/corpus/$$target; \
	  build-fuzz/fuzz/$${target}_fuzzer -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    -rss_limit_mb=4096 build-fuzz/corpus/$$target fuzz/corpus/$$target \
	    > build-fuzz/$$target.log 2>&1; \
	  status=$$?; \
	  echo "$$target: $$(grep -E '^stat::number_of_executed_units' build-fuzz/$$target.log)"; \
	  if [ $$status -ne 0 ]; then tail -40 build-fuzz/$$target.log; exit 1; fi; \
	done
