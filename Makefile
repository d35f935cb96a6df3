# The two entry points of the README. Both install what they need first.
PRESETS ?= default asan tsan
JOBS ?= $(shell nproc)

.PHONY: deps build demo demo-ble test

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake --preset default >/dev/null
	cmake --build --preset default -j $(JOBS)

demo: build
	@bash scripts/demo.sh build/default

demo-ble: build
	@bash scripts/demo-ble.sh build/default

test: deps
	@set -e; for p in $(PRESETS); do \
	  echo "=== $$p build ==="; \
	  cmake --preset $$p >/dev/null; \
	  cmake --build --preset $$p -j $(JOBS); \
	  ctest --preset $$p -j $(JOBS); \
	done
