# The two commands of the README. Each does its own set-up on a fresh Debian 12 machine.
SHELL := /bin/bash
JOBS ?= $(shell nproc)

.PHONY: all bootstrap configure build layers test fuzz demo bench package format-check clean
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

# The layers, before anything is built: a wrong-way #include between the src/ folders fails
# here (docs/architecture.md).
layers:
	@echo "== include graph between the src/ folders"
	@scripts/include-graph

# Every test: the include graph and the house style first, then the native suite under
# AddressSanitizer and UndefinedBehaviorSanitizer, then the same suite cross-built and run under
# Wine 64-bit and 32-bit in a temporary prefix, then the end-to-end checks that compare the three
# builds. The tests never see the user's own per-user store.
test: export XDG_CONFIG_HOME = $(CURDIR)/build/test-config
test: layers format-check build
	@rm -rf build/test-config && mkdir -p build/test-config
	@echo "== test native (ASan + UBSan)"
	@cd build/native-asan && ctest --output-on-failure -j $(JOBS)
	@echo "== test native concurrency (ThreadSanitizer)"
	@cd build/native-tsan && ctest --output-on-failure -j $(JOBS) -R 'Concurrent|EffectLock|EditorThreads|CarelessHost'
	@echo "== fuzz host session ($(FUZZ_TEST_SECONDS) s from the seed corpus)"
	@rm -rf build/fuzz/test-corpus build/fuzz/test-corpus-clap
	@$(MAKE) --no-print-directory fuzz-run FUZZ_SECONDS=$(FUZZ_TEST_SECONDS) FUZZ_CORPUS=build/fuzz/test-corpus
	@set -e; prefix=$$(mktemp -d /tmp/zem-wine.XXXXXX); trap 'WINEPREFIX=$$prefix wineserver -k 2>/dev/null || true; rm -rf $$prefix' EXIT; \
	    echo "== preparing a temporary Wine prefix"; scripts/wine-prefix $$prefix; \
	    export WINEPREFIX=$$prefix; \
	    for p in win64 win32; do echo "== test $$p under Wine"; \
	        scripts/with-display ctest --test-dir build/$$p --output-on-failure || exit 1; done; \
	    wineserver -k 2>/dev/null || true; rm -rf $$prefix; \
	    for script in tests/e2e/run tests/installer/run tests/package/run; do [ -x $$script ] || continue; \
	        echo "== $$script (fresh Wine prefix and per-user store)"; \
	        rm -rf $$prefix; scripts/wine-prefix $$prefix; \
	        store=$$(mktemp -d /tmp/zem-store.XXXXXX); \
	        status=0; XDG_CONFIG_HOME=$$store scripts/with-display $$script || status=$$?; \
	        wineserver -k 2>/dev/null || true; rm -rf $$store; [ $$status -eq 0 ] || exit $$status; done

# The libFuzzer host session: `make fuzz FUZZ_SECONDS=3600` runs it as long as asked. New
# inputs collect in build/fuzz/corpus (the committed seeds in tests/fuzz/corpus stay as they
# are); an input that breaks a promise is written to build/fuzz/ as crash-*, leak-* or timeout-*
# and can be replayed with `build/fuzz/bin/zem_fuzz_session FILE`.
FUZZ_SECONDS ?= 600
FUZZ_TEST_SECONDS = 60
FUZZ_CORPUS = build/fuzz/corpus
fuzz: build/fuzz/build.ninja
	@cmake --build build/fuzz -j $(JOBS) --target zem_fuzz_session zem_clap_fuzz_session
	@$(MAKE) --no-print-directory fuzz-run

.PHONY: fuzz-run
fuzz-run:
	@mkdir -p $(FUZZ_CORPUS)
	@build/fuzz/bin/zem_fuzz_session -max_total_time=$(FUZZ_SECONDS) -timeout=30 -print_final_stats=1 \
	    -artifact_prefix=build/fuzz/ $(FUZZ_CORPUS) tests/fuzz/corpus 2>build/fuzz/session.log \
	    || { tail -n 60 build/fuzz/session.log; exit 1; }
	@grep -E '^#[0-9]+[[:space:]]+DONE' build/fuzz/session.log | tail -n 1
	@grep -E 'stat::(number_of_executed_units|average_exec_per_sec)' build/fuzz/session.log
	@echo "== the CLAP host session ($(FUZZ_SECONDS) s)"
	@mkdir -p $(FUZZ_CORPUS)-clap
	@build/fuzz/bin/zem_clap_fuzz_session -max_total_time=$(FUZZ_SECONDS) -timeout=30 -print_final_stats=1 \
	    -artifact_prefix=build/fuzz/clap- $(FUZZ_CORPUS)-clap 2>build/fuzz/clap-session.log \
	    || { tail -n 60 build/fuzz/clap-session.log; exit 1; }
	@grep -E '^#[0-9]+[[:space:]]+DONE' build/fuzz/clap-session.log | tail -n 1

# Speed: the Google Benchmark suite, then the side-by-side comparison with the x42 meters.
# Not part of the tests: the figures depend on the machine.
bench: bootstrap build/native/build.ninja
	@cmake --build build/native -j $(JOBS)
	@echo "== benchmark suite (ns per stereo frame)"
	@build/native/bin/zem_bench --benchmark_format=json --benchmark_out=build/native/bench.json \
	    --benchmark_out_format=json >/dev/null && bench/frame_table.py --pivot build/native/bench.json
	@echo "== comparison with the x42 meters"
	@build/native/bin/zem_peer_bench
	@echo "== the open editor's drawing cost (% of a core, a real X11 window on a private Xvfb)"
	@build/native/bin/zem_editor_cost_bench

# The Linux package: build/package/zem-ordwen_3.0.2_amd64.deb and a .tar.gz of the same files,
# from the optimised build installed with the prefix /usr (packaging/make-package).
package: bootstrap build/native/build.ninja
	@cmake --build build/native -j $(JOBS)
	@packaging/make-package build/native build/package

demo: build
	@scripts/with-display scripts/demo

# Every tracked C++ file in the house style of .clang-format; `scripts/format-check --fix` reformats.
format-check: bootstrap
	@echo "== house style (clang-format-14)"
	@scripts/format-check

clean:
	rm -rf build
