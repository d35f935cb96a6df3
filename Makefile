# The two entry points of the README. Both install what they need first.
PRESETS ?= default asan tsan
JOBS ?= $(shell nproc)
# The tests mostly wait (for the virtual mouse, X, D-Bus, their own pauses),
# but twice as many as the cores still make some of them miss their turn
# under ThreadSanitizer: one per core until those are found.
TEST_JOBS ?= $(JOBS)

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

# Each preset's build and test times go to build/test-times.txt, printed at the
# end (and by .ci/run), so that a slower CI shows where its time went.
test: deps
	@set -e; mkdir -p build; : > build/test-times.txt; \
	for p in $(PRESETS); do \
	  echo "=== $$p build ==="; \
	  t0=$$(date +%s); \
	  cmake --preset $$p >/dev/null; \
	  cmake --build --preset $$p -j $(JOBS); \
	  t1=$$(date +%s); \
	  ctest --preset $$p -j $(TEST_JOBS); \
	  t2=$$(date +%s); \
	  printf '%-8s build %5d s   test %5d s\n' $$p $$((t1 - t0)) $$((t2 - t1)) >> build/test-times.txt; \
	done; \
	echo "=== times ==="; cat build/test-times.txt
