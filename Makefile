# The two commands of the README: `make demo` and `make check`. Both run the
# set-up script first, so a fresh Debian 12 machine needs nothing else.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all setup configure build demo check bench clean windows

all: build

setup:
	@bash tools/setup.sh

configure: setup
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

demo: build
	@bash tools/demo.sh $(BUILD)

check: build windows
	@bash tools/check.sh $(BUILD)

bench: build
	@bash tools/bench.sh $(BUILD)

clean:
	rm -rf $(BUILD)

# The Windows programs, cross-compiled with MinGW-w64: build/windows/x86_64
# (with the webview library beside it) and build/windows/i686. The set-up
# adds the cross tools and Wine, and builds libcurl and PCRE from Debian's
# source packages into $(BUILD)/windows-deps (once).
WINDOWS_DEPS = $(abspath $(BUILD))/windows-deps
windows: setup
	@QUILLBOX_WINDOWS_DEPS=$(WINDOWS_DEPS) JOBS=$(JOBS) bash tools/windows_setup.sh
	@for arch in x86_64 i686; do \
	  cmake -S . -B $(BUILD)/windows/$$arch -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-$$arch.cmake \
	    -DCMAKE_BUILD_TYPE=Release -DQUILLBOX_WINDOWS_DEPS=$(WINDOWS_DEPS)/$$arch-w64-mingw32 >/dev/null && \
	  cmake --build $(BUILD)/windows/$$arch -j $(JOBS) || exit 1; \
	done

# Longer fuzz runs (FUZZ_SECONDS each) in the sanitizer build.
FUZZ_SECONDS ?= 300
.PHONY: fuzz
fuzz: setup
	@QUILLBOX_FUZZ_SECONDS=$(FUZZ_SECONDS) bash tools/sanitize.sh $(BUILD)/sanitize -R '^fuzz_'
