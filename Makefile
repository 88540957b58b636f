# Two commands do the whole set-up on a fresh Debian machine: `make run` and `make test`.
BUILD_DIR ?= build
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test package bench format clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@test -f $(BUILD_DIR)/build.ninja || cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: configure
	@cmake --build $(BUILD_DIR)

# `make run` builds only the editor and its help pages, not the tests and benchmarks.
run: configure
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
		echo "No display found: start the editor under a display, for example: xvfb-run make run"; exit 1; \
	fi
	@cmake --build $(BUILD_DIR) --target vemurion vemurion_help
	@$(BUILD_DIR)/bin/vemurion $(ARGS)

# The default build holds the tests and what they run; the benchmarks stay out of it.
test: build
	@test -d ../shared/testdata || \
		echo "../shared/testdata not found: the tests that read it are skipped (see README.md)"
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure

# A Debian package of the installed program: $(BUILD_DIR)/vemurion_VERSION_ARCH.deb.
package: build
	@cd $(BUILD_DIR) && cpack -G DEB

bench: configure
	@cmake --build $(BUILD_DIR) --target vemurion_bench
	@scripts/run-benchmarks $(BUILD_DIR)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD_DIR)
