# Two entry points: `make run` and `make test`. Both install what is missing,
# configure and build first.
BUILD    ?= build
ASAN_DIR ?= build-asan
JOBS     ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test test-release test-sanitize bench clean format

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run $(BUILD)

test: test-release test-sanitize

test-release: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The same tests, built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	@cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMDGEN_SANITIZE=ON \
	  $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(ASAN_DIR) -j $(JOBS)
	@ctest --test-dir $(ASAN_DIR) --output-on-failure -j $(JOBS) -LE no-sanitize

# The benchmarks: the engine, cmdgen-cli against its peers, and the output box.
bench: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMDGEN_BUILD_BENCH=ON $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target generation_bench cmdgen-cli window_bench
	@$(BUILD)/bin/generation_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	@CMDGEN_CLI=$(BUILD)/bin/cmdgen-cli bench/cli-vs-peers.sh --output null
	@CMDGEN_CLI=$(BUILD)/bin/cmdgen-cli bench/cli-vs-peers.sh
	@bench/window/run.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_DIR)

format:
	@git ls-files '*.h' '*.cc' | xargs clang-format -i
