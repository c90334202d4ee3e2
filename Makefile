# make run   - installs what is missing, builds, lays out the program folder and starts the program
# make test  - the same set-up, then every test through ctest
# make package     - the Debian package, in $(BUILD)/package/
# make screenshots - the README's screenshots, in docs/screenshots/
BUILD ?= build
JOBS ?= $(shell nproc)
PROGRAM_DIR := $(BUILD)/Brisko
FUZZ_SECONDS ?= 60
FUZZ_CONFIGURE := CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	-DBRISKO_FUZZ=ON -DBRISKO_TESTS=OFF >/dev/null

.PHONY: all deps build run test package screenshots asan fuzz fuzz-all bench compare charsets chromium clean

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
	@$(FUZZ_CONFIGURE)
	@cmake --build build-fuzz -j $(JOBS) --target fuzz-stream brisko_data
	@tools/fuzz/run-all.sh build-fuzz $(FUZZ_SECONDS) stream

# Every libFuzzer target (one per reader: files, settings, pictures, HTML) for FUZZ_SECONDS seconds
# each, one after the other; stops with a non-zero status at the first finding, kept in
# build-fuzz/findings/. Seeds: the program's data, tests/data/ and tests/data/fuzz/ (past findings).
fuzz-all: deps
	@$(FUZZ_CONFIGURE)
	@cmake --build build-fuzz -j $(JOBS) --target fuzz-all brisko_data
	@tools/fuzz/run-all.sh build-fuzz $(FUZZ_SECONDS)

# Reading, writing and generating large pages, and brisko-export on the largest; the viewer on a
# large page and the decoders on damaged pictures against their limits; reading large field lists;
# the memory of an undo history (Release build); brisko-publish against lftp on a slow test server.
bench: deps
	@cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRISKO_TESTS=OFF >/dev/null
	@cmake --build build-bench -j $(JOBS) --target brisko-bench-page brisko-bench-startup brisko-bench-undo \
		brisko-bench-viewer brisko-bench-fields brisko-bench-publish
	@build-bench/tools/bench/brisko-bench-page
	@build-bench/tools/bench/brisko-bench-startup
	@build-bench/tools/bench/brisko-bench-undo
	@build-bench/tools/bench/brisko-bench-viewer
	@build-bench/tools/bench/brisko-bench-fields
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
