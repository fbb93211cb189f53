# The two commands a newcomer needs: `make run` and `make test`. Everything else is optional.
# Each build lives in its own folder under build/; re-running a target rebuilds only what changed.

JOBS ?= $(shell nproc)
RELEASE := build/release
SANITIZE := build/sanitize
FUZZ := build/fuzz
BENCH := build/bench

.PHONY: run test deps release sanitize check check-sanitize clean

## run: install what is missing, build, and show the default dancer
run: release
	@scripts/run-viewer $(RELEASE)

## test: install what is missing, build, run the suite, then again under ASan + UBSan
test: check check-sanitize

deps:
	@scripts/install-deps

release: deps
	@cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(RELEASE) -j $(JOBS)

sanitize: deps
	@cmake -S . -B $(SANITIZE) -DCMAKE_BUILD_TYPE=Debug -DVOREL_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE) -j $(JOBS)

check: release
	@ctest --test-dir $(RELEASE) --output-on-failure -j $(JOBS)

check-sanitize: sanitize
	@ctest --test-dir $(SANITIZE) --output-on-failure -j $(JOBS)

clean:
	rm -rf build
