# The two commands of the README: `make demo` and `make check`. Both run the
# set-up script first, so a fresh Debian 12 machine needs nothing else.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all setup configure build demo check bench clean

all: build

setup:
	@bash tools/setup.sh

configure: setup
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

demo: build
	@bash tools/demo.sh $(BUILD)

check: build
	@bash tools/check.sh $(BUILD)

bench: build
	@bash tools/bench.sh $(BUILD)

clean:
	rm -rf $(BUILD)

# Longer fuzz runs (FUZZ_SECONDS each) in the sanitizer build.
FUZZ_SECONDS ?= 300
.PHONY: fuzz
fuzz: setup
	@QUILLBOX_FUZZ_SECONDS=$(FUZZ_SECONDS) bash tools/sanitize.sh $(BUILD)/sanitize -R '^fuzz_'
