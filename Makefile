# make run   - installs what is missing, builds, lays out the program folder and starts the program
# make test  - the same set-up, then every test through ctest
# make package     - the Debian package, in $(BUILD)/package/
# make screenshots - the README's screenshots, in docs/screenshots/
BUILD ?= build
JOBS ?= $(shell nproc)
PROGRAM_DIR := $(BUILD)/Brisko
FUZZ_SECONDS ?= 60

.PHONY: all deps build run test package screenshots asan fuzz bench compare charsets chromium clean

all: build

deps:
	@tools/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@$(PROGRAM_DIR)/brisko

test: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# A Debian package of the installed program (CPack; dependencies from the libraries it links).
package: build
	@cmake --build $(BUILD) --target package
	@ls $(BUILD)/package/brisko_*.deb

# The README's screenshots, made by driving the program on a virtual screen.
screenshots: build
	@tools/install-deps.sh screenshots
	@tools/screenshots.sh $(BUILD) docs/screenshots

# The tests built with the address and undefined-behaviour sanitizers.
asan: deps
	@cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRISKO_SANITIZE=ON >/dev/null
	@cmake --build build-asan -j $(JOBS)
	@ctest --test-dir build-asan --output-on-failure -j $(JOBS)

# libFuzzer on the component stream reader for FUZZ_SECONDS seconds. Its seeds are the program's
# data files and the files in tests/data/streams that once made it stop.
fuzz: deps
	@CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRISKO_FUZZ=ON \
		-DBRISKO_TESTS=OFF >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target fuzz-stream brisko_data
	@mkdir -p build-fuzz/corpus build-fuzz/seeds
	@cp build-fuzz/Brisko/Themes.dat build-fuzz/Brisko/BriskoFiles/*.mbe tests/data/streams/* build-fuzz/seeds/
	@build-fuzz/tools/fuzz/fuzz-stream -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 \
		-print_final_stats=1 build-fuzz/corpus build-fuzz/seeds

# Reading, writing and generating large pages, and brisko-export on the largest (Release build).
bench: deps
	@cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRISKO_TESTS=OFF >/dev/null
	@cmake --build build-bench -j $(JOBS) --target brisko-bench-page brisko-bench-startup brisko-bench-publish
	@build-bench/tools/bench/brisko-bench-page
	@build-bench/tools/bench/brisko-bench-startup
	@build-bench/tools/bench/brisko-bench-publish

# The sample pages in tools/compare/pages as the preview and as Chromium (headless) show them:
# side-by-side pictures and a table of page heights in $(BUILD)/compare. Not part of the tests.
compare: build chromium
	@cmake --build $(BUILD) --target brisko-sidebyside
	@tools/compare/compare.sh $(BUILD)

# The page of typed letters and awkwardly named pictures, as Save, Save As Template and Preview Page
# write it, served over HTTP from 127.0.0.1 with charset=utf-8, charset=iso-8859-1 and no charset, and
# checked in Chromium (headless): every letter and picture must show as made. Not part of the tests.
charsets: build chromium
	@cmake --build $(BUILD) --target brisko-charsetpage
	@tools/compare/charsets.py $(BUILD)

chromium:
	@command -v chromium >/dev/null || { if [ "$$(id -u)" = 0 ]; then apt-get install -y chromium; \
		else sudo apt-get install -y chromium; fi; }

clean:
	rm -rf $(BUILD) build-asan build-fuzz build-bench
