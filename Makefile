# The two commands a newcomer needs: `make run` and `make test`. Everything else is optional.
# Each build lives in its own folder under build/; re-running a target rebuilds only what changed.

JOBS ?= $(shell nproc)
# The builds under build/ are make runs of their own; their folder changes are noise here.
MAKEFLAGS += --no-print-directory
RELEASE := build/release
VIEWER := build/run
SANITIZE := build/sanitize
FUZZ := build/fuzz
BENCH := build/bench
WEB := build/web
WEB_PORT ?= 8000
# Emscripten's tools need Node to find Debian's acorn; its test programs run under Node.
WEB_ENV := NODE_PATH=/usr/share/nodejs
CCACHE := $(shell command -v ccache 2>/dev/null)

.PHONY: run test deps release sanitize check check-sanitize fuzz-build fuzz-smoke fuzz clean \
  bench-build bench-smoke bench web-site web web-test web-bench format-check format

## run: install what the viewer needs, build only the viewer, the default dancer and
## vorel-render (the pictures when there is no display), and show the dancer
run:
	@scripts/install-deps run
	@cmake -S . -B $(VIEWER) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVOREL_BUILD_TESTS=OFF \
	  -DVOREL_BUILD_INTEROP=OFF >/dev/null
	@cmake --build $(VIEWER) -j $(JOBS) --target vorel vorel_default_set vorel-render
	@scripts/run-viewer $(VIEWER)

## test: install what is missing, build and run the suite, run each loader's fuzz target and
## each benchmark briefly, then the whole suite again under ASan + UBSan (its summary ends the run)
test: format-check check web-test fuzz-smoke bench-smoke check-sanitize

## format-check: every C++ file as .clang-format lays it out (the first step of `make test`);
## format: lay them out so
format-check: deps
	@scripts/format-check

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i --style=file

deps:
	@scripts/install-deps

# The release build holds the benchmarks too, so that `make test` runs them without a build
# of its own; `make bench` times them in build/bench at -O3.
release: deps
	@cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVOREL_BUILD_BENCH=ON >/dev/null
	@cmake --build $(RELEASE) -j $(JOBS)

sanitize: deps
	@cmake -S . -B $(SANITIZE) -DCMAKE_BUILD_TYPE=Debug -DVOREL_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE) -j $(JOBS)

check: release
	@ctest --test-dir $(RELEASE) --output-on-failure -j $(JOBS)

check-sanitize: sanitize
	@ctest --test-dir $(SANITIZE) --output-on-failure -j $(JOBS)

FUZZ_SMOKE_SECONDS ?= 20
FUZZ_SECONDS ?= 300

fuzz-build: deps
	@cmake -S . -B $(FUZZ) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DVOREL_BUILD_FUZZ=ON -DVOREL_BUILD_TESTS=OFF >/dev/null
	@cmake --build $(FUZZ) -j $(JOBS) --target vorel_fuzz

## fuzz-smoke: each loader's fuzz target for FUZZ_SMOKE_SECONDS from fresh seeds, fixed seed
fuzz-smoke: fuzz-build
	@fuzz/run-fuzz $(FUZZ) $(FUZZ_SMOKE_SECONDS) smoke

## fuzz: each loader's fuzz target for FUZZ_SECONDS (default 300), corpus kept in build/fuzz
fuzz: fuzz-build
	@fuzz/run-fuzz $(FUZZ) $(FUZZ_SECONDS) keep

bench-build: deps
	@cmake -S . -B $(BENCH) -DCMAKE_BUILD_TYPE=Release -DVOREL_BUILD_BENCH=ON \
	  -DVOREL_BUILD_TESTS=OFF >/dev/null
	@cmake --build $(BENCH) -j $(JOBS) --target vorel-bench

## bench-smoke: every benchmark once, very briefly, so that none rots (part of `make test`)
bench-smoke: release
	@bench/smoke.sh $(RELEASE)

## bench: every benchmark, five repetitions with medians, then the whole frame's frame rate
## headless and in the real viewer on Xvfb
bench: bench-build
	@$(BENCH)/bench/vorel-bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	@bench/frame_rate.sh $(BENCH)
	@bench/viewer_frame_rate.sh $(BENCH)

## web-site: install Emscripten if missing and build the page into build/web/site, a folder
## of plain files any static host serves
web-site:
	@scripts/install-deps web
	@$(WEB_ENV) emcmake cmake -S . -B $(WEB) -DCMAKE_BUILD_TYPE=Release \
	  "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" \
	  "-DCMAKE_CROSSCOMPILING_EMULATOR=node;--no-experimental-fetch" \
	  $(if $(CCACHE),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache) \
	  -DVOREL_NATIVE_BUILD=$(CURDIR)/$(RELEASE) >/dev/null
	@$(WEB_ENV) cmake --build $(WEB) -j $(JOBS) --target vorel_site vorel-pose-dump

## web: build the site and serve it on 127.0.0.1 (WEB_PORT, default 8000) until Ctrl-C
web: web-site
	@node web/serve.mjs $(WEB)/site $(WEB_PORT)

## web-test: the page's checks: the WebAssembly runtime and default set against the native
## build's, then the page in headless Chromium (part of `make test`)
web-test: release web-site
	@$(WEB_ENV) ctest --test-dir $(WEB) --output-on-failure

## web-bench: the page's measured targets in headless Chromium: picture against vorel-render,
## frame rate, size, first frame (BENCHMARKS.md)
web-bench: release web-site
	@node bench/web_page.mjs $(WEB)/site $(RELEASE)

clean:
	rm -rf build
