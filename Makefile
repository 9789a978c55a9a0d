# The README's commands. Everything goes through CMake; this file only chooses
# build trees and runs things.
#   make demo                   the module through aaxhost on its built-in signal
#   make test                   build and run every test (CTest)
#   make test SANITIZE=address  the same in build-address/ with ASan + UBSan
#   make test SANITIZE=thread   the same in build-thread/ with TSan
#   make bench                  Google Benchmark figures, aaxhost against sox, and lilv's
#                               lv2bench over the LV2 bundle and its peers (not part of make test)
#   make fuzz                   libFuzzer targets with clang, FUZZ_SECONDS each
#   make install                builds only what it installs, then (scripts/install.sh)
#                               Quorvane.lv2 into LV2_DIR (default ~/.lv2), the AAX bundle
#                               into PREFIX/lib/aax, aaxhost into PREFIX/bin, stripped;
#                               PREFIX defaults to /usr/local for root, ~/.local otherwise
#   make uninstall              removes what make install put there, and the folders it made
#   make validate-corpus        aaxhost validate --level 9 --skip-gui over every LV2
#                               plug-in lv2ls lists, 2 at a time, then the X11 UI
#                               check on each: build/corpus/report.md
#   make process-corpus         aaxhost process against lv2file -b 512 on every LV2
#                               plug-in with audio in and out: build/corpus/process.md
#   make stress                 the four-thread soak of the module under TSan, then
#                               ASan + UBSan, STRESS_SECONDS each (STRESS_SEED to repeat;
#                               STRESS_EDITORS=2: a second instance's editor beside)
SANITIZE ?=
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60
STRESS_SECONDS ?= 60
STRESS_SEED ?=
STRESS_EDITORS ?= 1
LV2_DIR ?= $(HOME)/.lv2
ifeq ($(shell id -u),0)
PREFIX ?= /usr/local
else
PREFIX ?= $(HOME)/.local
endif

ifeq ($(SANITIZE),)
BUILD_DIR := build
CMAKE_EXTRA := -DQV_BENCH=ON
else
BUILD_DIR := build-$(SANITIZE)
CMAKE_EXTRA := -DQV_BENCH=OFF
endif


.PHONY: all deps configure build test demo bench fuzz stress clean install uninstall validate-corpus process-corpus

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
# and the aaxhost tool (Host/tool/demo.sh). Only what the demo runs is built,
# so a first run shows its result without building every test first.
demo: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target aaxhost_tool Quorvane Quorvane_lv2
	@bash Host/tool/demo.sh $(BUILD_DIR)

bench: build
	@set -e; for b in $$(cat $(BUILD_DIR)/bench/benchmarks.txt); do \
	  echo "== $$(basename $$b)"; $$b --benchmark_counters_tabular=true; done
	@bash bench/host/bench_host.sh $(BUILD_DIR)
	@bash bench/lv2/lv2bench.sh $(BUILD_DIR)

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

# Each sanitizer tree builds only the soak and the module bundle it loads.
# Both runs happen even when the first fails; the target fails if either did.
stress: deps
	@set -e; for s in thread address; do \
	  cmake -S . -B build-$$s -DQV_SANITIZE=$$s -DQV_WERROR=ON -DQV_BENCH=OFF >/dev/null; \
	  cmake --build build-$$s --target quorvane_stress -j $(JOBS); done
	@status=0; for s in thread address; do \
	  echo "== stress under $$s sanitizer ($(STRESS_SECONDS) s)"; \
	  build-$$s/tests/stress/quorvane_stress --seconds $(STRESS_SECONDS) \
	    --editors $(STRESS_EDITORS) $(if $(STRESS_SEED),--seed $(STRESS_SEED)) || status=1; \
	  done; exit $$status

# Only the three targets installed are built. scripts/install.sh checks every
# destination before copying anything, stages stripped copies beside their
# destinations and renames them into place, and undoes its run if a step fails.
install: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target Quorvane Quorvane_lv2 aaxhost_tool
	@bash scripts/install.sh install BUILD_DIR="$(BUILD_DIR)" PREFIX="$(PREFIX)" LV2_DIR="$(LV2_DIR)"

uninstall:
	@bash scripts/install.sh uninstall PREFIX="$(PREFIX)" LV2_DIR="$(LV2_DIR)"

clean:
	rm -rf build build-address build-thread build-fuzz

# Not part of make test: the LV2 plug-ins Debian packages, through validate.
CORPUS_PACKAGES := lv2-examples x42-plugins mda-lv2 dpf-plugins-lv2 lsp-plugins-lv2 calf-plugins \
  swh-lv2 fomp invada-studio-plugins-lv2 eq10q guitarix-lv2 lilv-utils
validate-corpus: configure
	@dpkg -s $(CORPUS_PACKAGES) >/dev/null 2>&1 || $(if $(filter 0,$(shell id -u)),,sudo) apt-get install -y $(CORPUS_PACKAGES)
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target aaxhost_tool
	@bash scripts/validate-corpus.sh $(BUILD_DIR) 9 2

# Not part of make test: aaxhost process against lv2file over the same plug-ins.
process-corpus: configure
	@dpkg -s $(CORPUS_PACKAGES) >/dev/null 2>&1 || $(if $(filter 0,$(shell id -u)),,sudo) apt-get install -y $(CORPUS_PACKAGES)
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target aaxhost_tool
	@bash scripts/process-corpus.sh $(BUILD_DIR)
