# SPDX-License-Identifier: MIT
# Front door for building Quelmo. `make run` and `make test` set up a fresh
# Debian 12 machine themselves (missing packages are installed with apt-get).

BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test bench install clean asan format-check translations check-translations soak

all: build

deps:
	@scripts/setup-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# The main job.
run: build
	@scripts/run-main.sh $(BUILD_DIR)

# C++ files formatted as .clang-format says (scripts/check-format.sh --fix),
# QML that passes qmllint, includes that point down the layers, and every
# relative link of README.md and docs/ leading somewhere.
format-check: deps
	@scripts/check-format.sh
	@scripts/check-layers.sh
	@scripts/check-links.py

test: build format-check
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS) --timeout 300

# Brings the catalogues ui/i18n/quelmo_LANG.ts up to date with the texts in the code.
translations: configure
	@cmake --build $(BUILD_DIR) --target update_translations

# Every catalogue complete and current, and every window and menu walked in
# every language.
check-translations: configure
	@scripts/check-translations.sh $(BUILD_DIR)

bench: build
	@scripts/run-benchmarks.sh $(BUILD_DIR)

install: build
	@cmake --install $(BUILD_DIR) --prefix $(or $(PREFIX),$(HOME)/.local)

# Tests under AddressSanitizer and UBSan, in a build directory of their own,
# then a short run of every fuzz target over its corpus (fuzz/run.sh RUNS goes deeper).
asan:
	@LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	$(MAKE) test BUILD_DIR=build-asan BUILD_TYPE=Debug CMAKE_FLAGS="-DQUELMO_SANITIZE=ON -DQUELMO_BUILD_BENCHMARKS=OFF"
	@fuzz/run.sh 20000

# The whole app for an hour (SOAK_SECONDS=N for another length) on a private
# X server: head motion, random commands and windows; memory, CPU, open files
# and child processes printed every minute.
soak: build
	@nice -n 10 bash tests/e2e/soak_test.sh $(BUILD_DIR) $(or $(SOAK_SECONDS),3600)

clean:
	rm -rf $(BUILD_DIR) build-asan
