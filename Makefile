# One command for everything on a fresh Debian machine:
#   make test   installs what is missing, builds native, asan and Windows, runs every test
#   make demo   runs the updater on the built-in sample installation under Wine
#   make bench  runs the benchmarks (ratios measured in one run)

SHELL := /bin/bash
JOBS ?= $(shell nproc)
WINEPREFIX_DIR := $(CURDIR)/build/windows/wineprefix

# Debian packages the build and the tests need; only the missing ones are installed.
PACKAGES := cmake make g++ pkg-config libgtest-dev libgmock-dev googletest libbenchmark-dev \
  libcli11-dev zlib1g-dev g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
  wine wine64 xvfb xauth clang libclang-rt-14-dev imagemagick locales

# Linux locales that Windows tests start Wine in: Wine takes the thread locale and
# the ANSI code page from the Linux locale, and falls back to English (code page
# 1252) when the locale named by LANG is not generated.
WINE_TEST_LOCALES := pl_PL.UTF-8 de_CH.UTF-8


.PHONY: test deps native asan windows test-native test-asan test-windows fuzz bench demo clean wine-prefix

test: deps
	$(MAKE) native asan windows
	$(MAKE) test-native test-asan test-windows
	$(MAKE) fuzz-run

# The updater's main job on the built-in sample installation, under Wine.
demo: deps
	$(MAKE) native windows
	scripts/demo.sh

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  SUDO=""; [ "$$(id -u)" = 0 ] || SUDO=sudo; \
	  $$SUDO apt-get update -qq && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq --no-install-recommends $$missing; \
	fi
	@missing=""; for l in $(WINE_TEST_LOCALES); do \
	  locale -a 2>/dev/null | grep -qx "$${l%.UTF-8}.utf8" || missing="$$missing $$l"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Generating locales:$$missing"; \
	  SUDO=""; [ "$$(id -u)" = 0 ] || SUDO=sudo; \
	  for l in $$missing; do $$SUDO sed -i "s/^# *$$l UTF-8$$/$$l UTF-8/" /etc/locale.gen; done; \
	  $$SUDO locale-gen >/dev/null; \
	fi

native asan windows:
	cmake --preset $@ >/dev/null
	cmake --build --preset $@ -j $(JOBS)

test-native: native
	ctest --preset native

test-asan: asan
	ctest --preset asan

wine-prefix:
	@if [ ! -f $(WINEPREFIX_DIR)/system.reg ]; then \
	  echo "Creating the Wine prefix (once)"; \
	  WINEPREFIX=$(WINEPREFIX_DIR) WINEDEBUG=-all wineboot -i >/dev/null 2>&1; \
	  WINEPREFIX=$(WINEPREFIX_DIR) wineserver -w; \
	fi

# One wineserver stays alive for the whole run; every test binary is one Wine process.
# Wine's own services are started first with their output sent away: started by a
# test, they would inherit its output pipe and ctest would wait for them.
test-windows: windows wine-prefix
	@export WINEPREFIX=$(WINEPREFIX_DIR) WINEDEBUG=-all; \
	wineserver -p </dev/null >/dev/null 2>&1; \
	wine wineboot </dev/null >/dev/null 2>&1; \
	ctest --preset windows; rc=$$?; \
	wineserver -k; exit $$rc

# libFuzzer targets, each run for a bounded time, when clang is available. New inputs
# go to build/fuzz/corpus/<target>; fuzz/seeds/<target> (if present) holds starting inputs.
FUZZ_SECONDS ?= 30
fuzz:
	@if command -v clang++ >/dev/null; then \
	  cmake --preset fuzz >/dev/null && cmake --build --preset fuzz -j $(JOBS); \
	fi

fuzz-run: fuzz
	@set -o pipefail; if [ -d build/fuzz/bin ]; then \
	  for f in build/fuzz/bin/fuzz_*; do \
	    [ -x "$$f" ] || continue; \
	    echo "== $$f ($(FUZZ_SECONDS) s)"; \
	    name=$$(basename $$f); mkdir -p build/fuzz/corpus/$$name; \
	    seeds=""; [ -d fuzz/seeds/$$name ] && seeds=fuzz/seeds/$$name; \
	    $$f -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 build/fuzz/corpus/$$name $$seeds 2>&1 | tail -3 || exit 1; \
	  done; \
	fi

bench: deps native
	@for b in build/native/bin/bench_*; do [ -x "$$b" ] && $$b; done
	@bench/diff_vs_gnu.sh build/native/bin/patchtool

clean:
	rm -rf build
