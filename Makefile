# Two commands do the whole set-up on a fresh Debian machine: `make run` and `make test`.
BUILD_DIR ?= build
PACKAGE_DIR ?= $(BUILD_DIR)/package
CMAKE_FLAGS ?=
# The sanitizer build (clang, ASan with leak checks, UBSan) holds the whole suite and the fuzz
# targets; no benchmarks.
SAN_BUILD_DIR ?= build-san
FUZZ_SECONDS ?= 60
# Seconds an input may take. A second of the editor is many in this build: the picture reducer's
# vector code runs some forty times slower under the sanitizers and coverage.
FUZZ_TIMEOUT ?= 10
FUZZ_RSS_MB ?= 2048
# Random user actions on the real window (`make monkey`): as many as take about a minute in the
# sanitizer build, from MONKEY_SEED, or from a random seed printed first.
MONKEY_ACTIONS ?= 36000
MONKEY_SEED ?=
FUZZ_TARGETS ?= lcd_open add_lcd frame_paste jpeg_road bmp_road png_road gif_road \
	cli_arguments

.PHONY: all deps configure build run test package bench format clean san-configure test-san fuzz \
	monkey

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

# The Debian package, built by dpkg-buildpackage from debian/ and checked by lintian:
# $(PACKAGE_DIR)/vemurion_VERSION_ARCH.deb (scripts/build-package).
package:
	@scripts/install-deps --package
	@scripts/build-package $(PACKAGE_DIR)

san-configure: deps
	@test -f $(SAN_BUILD_DIR)/build.ninja || CC=clang CXX=clang++ cmake -S . -B $(SAN_BUILD_DIR) \
		-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEMURION_FUZZ=ON -DVEMURION_BENCHMARKS=OFF \
		$(CMAKE_FLAGS)

test-san: san-configure
	@cmake --build $(SAN_BUILD_DIR)
	@cd $(SAN_BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure

# Each fuzz target runs FUZZ_SECONDS over its kept regressions, the seeds it writes and the
# shared test pictures; an input that takes more than FUZZ_TIMEOUT seconds is a finding.
fuzz: san-configure
	@cmake --build $(SAN_BUILD_DIR)
	@scripts/run-fuzz $(SAN_BUILD_DIR) $(FUZZ_SECONDS) $(FUZZ_TIMEOUT) $(FUZZ_RSS_MB) \
		$(FUZZ_TARGETS)

# A failure prints the seed and the shortest tail of actions that still fails, and keeps that in
# fuzz/regressions/monkey, which every `make test` replays.
monkey: san-configure
	@cmake --build $(SAN_BUILD_DIR) --target vemurion_monkey
	@$(SAN_BUILD_DIR)/bin/vemurion_monkey --actions $(MONKEY_ACTIONS) \
		--keep fuzz/regressions/monkey $(if $(MONKEY_SEED),--seed $(MONKEY_SEED))

bench: configure
	@cmake --build $(BUILD_DIR) --target vemurion_bench
	@scripts/run-benchmarks $(BUILD_DIR)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD_DIR) $(SAN_BUILD_DIR)
