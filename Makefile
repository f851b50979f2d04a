# Thin wrapper over CMake: `make run` starts the tool, `make test` runs the tests, `make bench`
# runs the benchmarks and prints their figures and ratios.
BUILD ?= build
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)
# Short runs, repeated in shuffled order, so that drift on a busy machine spreads over every
# benchmark instead of skewing one; each figure reported is the median of the repetitions.
BENCH_FLAGS ?= --benchmark_min_time=0.2 --benchmark_repetitions=10 \
	--benchmark_enable_random_interleaving=true --benchmark_display_aggregates_only=true

.PHONY: deps configure build run test bench

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
