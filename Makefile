# The README's commands. Everything goes through CMake; this file only chooses
# build trees and runs things.
#   make demo                   the module through aaxhost on its built-in signal
#   make test                   build and run every test (CTest)
#   make test SANITIZE=address  the same in build-address/ with ASan + UBSan
#   make test SANITIZE=thread   the same in build-thread/ with TSan
#   make bench                  Google Benchmark figures (not part of make test)
#   make fuzz                   libFuzzer targets with clang, FUZZ_SECONDS each
SANITIZE ?=
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60

ifeq ($(SANITIZE),)
BUILD_DIR := build
CMAKE_EXTRA := -DQV_BENCH=ON
else
BUILD_DIR := build-$(SANITIZE)
CMAKE_EXTRA := -DQV_BENCH=OFF
endif


.PHONY: all deps configure build test demo bench fuzz clean

all: build

deps:
	@bash scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DQV_SANITIZE=$(SANITIZE) -DQV_WERROR=ON $(CMAKE_EXTRA) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS) --timeout 600

# The product's main job on its built-in signal, through the module bundle
# and the aaxhost tool (Host/tool/demo.sh).
demo: build
	@bash Host/tool/demo.sh $(BUILD_DIR)

bench: build
	@set -e; for b in $$(cat $(BUILD_DIR)/bench/benchmarks.txt); do \
	  echo "== $$(basename $$b)"; $$b --benchmark_counters_tabular=true; done
	@bash bench/host/bench_host.sh $(BUILD_DIR)

fuzz:
	@bash scripts/install-deps --fuzz
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz -DQV_FUZZ=ON -DQV_BENCH=OFF \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined" \
	  -DCMAKE_C_FLAGS="-fsanitize=fuzzer-no-link,address,undefined" >/dev/null
	@cmake --build build-fuzz --target fuzzers -j $(JOBS)
	@set -e; for f in $$(cat build-fuzz/fuzz/fuzzers.txt 2>/dev/null); do \
	  name=$$(basename $$f); mkdir -p fuzz/corpus-work/$$name; \
	  echo "== $$name ($(FUZZ_SECONDS)s)"; \
	  $$f -max_total_time=$(FUZZ_SECONDS) fuzz/corpus-work/$$name fuzz/corpus/$$name; done

clean:
	rm -rf build build-address build-thread build-fuzz
