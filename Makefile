# The two entry points of the README. Both install what they need first.
PRESETS ?= default asan tsan
JOBS ?= $(shell nproc)

.PHONY: deps build demo demo-ble test package

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake --preset default >/dev/null
	cmake --build --preset default -j $(JOBS)

demo: build
	@bash scripts/demo.sh build/default

# The Debian package in build/default/, checked (scripts/check-package.sh).
package: build
	@bash scripts/check-package.sh build/default

demo-ble: build
	@bash scripts/demo-ble.sh build/default

test: deps
	@set -e; for p in $(PRESETS); do \
	  echo "=== $$p build ==="; \
	  cmake --preset $$p >/dev/null; \
	  cmake --build --preset $$p -j $(JOBS); \
	  ctest --preset $$p -j $(JOBS); \
	done
