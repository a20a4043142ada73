# Thin front for the CMake presets. `make test` is what CI runs.
.PHONY: all deps build build-linux build-windows test test-linux test-windows test-tsan build-tsan \
        build-fuzz fuzz fuzz-replay build-bench bench bench-product run dist clean

JOBS ?= $(shell nproc)
# The Windows tests share one virtual display when the caller has none.
XRUN := $(if $(DISPLAY),,xvfb-run -a -s "-screen 0 1280x1024x24")
# GCC's ThreadSanitizer cannot map its shadow memory under some kernels' address randomisation
# ("unexpected memory mapping"); without randomisation it always can. setarch may be refused in
# containers, so it is used only when it works here.
NORAND := $(shell setarch -R true >/dev/null 2>&1 && echo setarch -R)
# Seconds per target for `make fuzz`, and how many worker processes fuzz each target at once
# (libFuzzer's fork mode above 1: one run whose executions and corpus are shared by the workers).
FUZZ_SECONDS ?= 60
FUZZ_WORKERS ?= 1
FUZZ_TARGETS := fuzz_stream_mem fuzz_loglines_stream fuzz_settings_ini fuzz_shortcut fuzz_ramlog_file fuzz_burst \
                fuzz_main_window

all: build

deps:
	@scripts/deps.sh

build-linux: deps
	cmake --preset linux >/dev/null
	cmake --build --preset linux -j $(JOBS)

build-windows: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j $(JOBS)

build: build-linux build-windows

test-linux: build-linux
	ctest --preset linux

test-windows: build-windows
	$(XRUN) ctest --preset windows

build-tsan: deps
	cmake --preset tsan >/dev/null
	cmake --build --preset tsan -j $(JOBS)

test-tsan: build-tsan
	$(NORAND) ctest --preset tsan

build-fuzz: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)

# Replays seed corpora once (seconds); part of `make test`.
fuzz-replay: build-fuzz
	ctest --preset fuzz

# Each target mutates its corpus for FUZZ_SECONDS; any crash, leak or single allocation of 64 MiB or
# more fails. The process as a whole may grow past that (the sanitizer's shadow and quarantine, and
# the corpus libFuzzer keeps in memory, come near 64 MiB after a few million inputs).
# New inputs go to build/fuzz/corpus/<target>, the checked-in seeds stay untouched.
fuzz: build-fuzz
	@set -e; for t in $(FUZZ_TARGETS); do \
	    mkdir -p build/fuzz/corpus/$$t build/fuzz/artifacts/$$t; \
	    echo "fuzz: $$t for $(FUZZ_SECONDS) s"; \
	    ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=1:malloc_context_size=10 build/fuzz/tests/fuzz/$$t -max_total_time=$(FUZZ_SECONDS) \
	        $(if $(filter-out 1,$(FUZZ_WORKERS)),-fork=$(FUZZ_WORKERS)) \
	        -rss_limit_mb=1024 -malloc_limit_mb=64 -print_final_stats=1 \
	        -artifact_prefix=build/fuzz/artifacts/$$t/ \
	        build/fuzz/corpus/$$t tests/fuzz/corpus/$$t; \
	done

build-bench: deps
	cmake --preset bench >/dev/null
	cmake --build --preset bench -j $(JOBS)

# BENCH_ARGS is handed to the program: --rounds=N, --filter=TEXT, --list, --profile=ID.
BENCH_ARGS ?=
bench: build-bench
	build/bench/bench/tarvin_bench $(BENCH_ARGS)
	$(MAKE) bench-product

# The shipped program under wine (scripts/bench-product.sh), each figure beside its goal: the burst
# with sight and blind over BURST_ROUNDS presses each, one screen read (SCREEN_READS), the grip's
# latency (GRIP_SWITCHES), Tarvin's idle CPU and memory beside two bare windows (IDLE_SECONDS),
# Tarvin.exe's size and imports, and a soak of SOAK_BURSTS bursts and SOAK_WINDOWS window cycles.
BURST_ROUNDS ?= 7
SCREEN_READS ?= 200
GRIP_SWITCHES ?= 20
IDLE_SECONDS ?= 60
SOAK_BURSTS ?= 1000
SOAK_WINDOWS ?= 100
BENCH_PRODUCT_TARGETS := Tarvin termsim tarvin_bench_burst tarvin_bench_screen tarvin_bench_grip tarvin_bench_idle \
                         tarvin_bench_soak tarvin_bench_idle_window tarvin_bench_quiet_window tarvin_bench_locked_terminal
bench-product: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j $(JOBS) --target $(BENCH_PRODUCT_TARGETS)
	BURST_ROUNDS=$(BURST_ROUNDS) SCREEN_READS=$(SCREEN_READS) GRIP_SWITCHES=$(GRIP_SWITCHES) \
	IDLE_SECONDS=$(IDLE_SECONDS) SOAK_BURSTS=$(SOAK_BURSTS) SOAK_WINDOWS=$(SOAK_WINDOWS) \
	    scripts/bench-product.sh build/windows

test: test-linux test-tsan fuzz-replay test-windows

# The release archive build/dist/Tarvin-<version>.zip: Tarvin.exe, the sample INI made from the
# settings' rows on this machine, and dist/README.txt.
TARVIN_EXE ?= build/windows/app/Tarvin.exe
dist: build-windows
	cmake --preset linux >/dev/null
	cmake --build --preset linux -j $(JOBS) --target tarvin_sample_ini
	mkdir -p build/dist
	build/linux/tools/dist/tarvin_sample_ini build/dist/Tarvin.sample.ini
	cmake -DTARVIN_EXE=$(TARVIN_EXE) -DSAMPLE_INI=build/dist/Tarvin.sample.ini -DREADME=dist/README.txt \
	      -DSOURCE_DIR=$(CURDIR) -DOUT_DIR=build/dist -P cmake/TarvinDist.cmake

# Tarvin.exe under wine: by hand with a display, the scripted demonstration without one.
run: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j $(JOBS) --target Tarvin termsim tarvin_demo
	@scripts/run.sh build/windows

clean:
	rm -rf build
