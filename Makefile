# The two commands of the README. Each does its own set-up on a fresh Debian 12 machine.
SHELL := /bin/bash
JOBS ?= $(shell nproc)

.PHONY: all bootstrap configure build test fuzz demo bench clean
all: build

bootstrap:
	@scripts/bootstrap

build/%/build.ninja: CMakeLists.txt CMakePresets.json | bootstrap
	@cmake --preset $* >/dev/null

PRESETS = native native-asan native-tsan fuzz win64 win32
configure: bootstrap $(foreach p,$(PRESETS),build/$(p)/build.ninja)

build: configure
	@for p in $(PRESETS); do \
	    echo "== build $$p"; cmake --build build/$$p -j $(JOBS) || exit 1; done

# Every test: the native suite under AddressSanitizer and UndefinedBehaviorSanitizer, then the
# same suite cross-built and run under Wine 64-bit and 32-bit in a temporary prefix, then the
# end-to-end checks that compare the three builds.
# The tests never see the user's own per-user store.
test: export XDG_CONFIG_HOME = $(CURDIR)/build/test-config
test: build
	@rm -rf build/test-config && mkdir -p build/test-config
	@echo "== test native (ASan + UBSan)"
	@cd build/native-asan && ctest --output-on-failure -j $(JOBS)
	@echo "== test native concurrency (ThreadSanitizer)"
	@cd build/native-tsan && ctest --output-on-failure -j $(JOBS) -R 'Concurrent|EffectLock|EditorThreads|CarelessHost'
	@echo "== fuzz host session ($(FUZZ_TEST_SECONDS) s from the seed corpus)"
	@rm -rf build/fuzz/test-corpus
	@$(MAKE) --no-print-directory fuzz-run FUZZ_SECONDS=$(FUZZ_TEST_SECONDS) FUZZ_CORPUS=build/fuzz/test-corpus
	@set -e; prefix=$$(mktemp -d /tmp/zem-wine.XXXXXX); trap 'WINEPREFIX=$$prefix wineserver -k 2>/dev/null || true; rm -rf $$prefix' EXIT; \
	    echo "== preparing a temporary Wine prefix"; scripts/wine-prefix $$prefix; \
	    export WINEPREFIX=$$prefix; \
	    for p in win64 win32; do echo "== test $$p under Wine"; \
	        scripts/with-display ctest --test-dir build/$$p --output-on-failure || exit 1; done; \
	    wineserver -k 2>/dev/null || true; rm -rf $$prefix; \
	    for script in tests/e2e/run tests/installer/run; do [ -x $$script ] || continue; \
	        echo "== $$script (fresh Wine prefix and per-user store)"; \
	        rm -rf $$prefix; scripts/wine-prefix $$prefix; \
	        store=$$(mktemp -d /tmp/zem-store.XXXXXX); \
	        status=0; XDG_CONFIG_HOME=$$store scripts/with-display $$script || status=$$?; \
	        wineserver -k 2>/dev/null || true; rm -rf $$store; [ $$status -eq 0 ] || exit $$status; done

.PHONY: all bootstrap configure build test fuzz demo bench clean

demo: build
	@scripts/with-display scripts/demo

clean:
	rm -rf build
