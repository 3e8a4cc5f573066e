# Set-up and everyday commands. CMake does the building; this file only strings the steps
# together so that one command takes a fresh Debian 12 machine to a result.
#
#   make run     install what is missing, build the program alone, start the bar
#   make test    install what is missing, build, run every test
#   make package the Debian package (build/package/pindrel_*.deb), checked with lintian
#   make bench   benchmarks (Release build in build-release/)
#   make asan    the whole suite under AddressSanitizer + UndefinedBehaviorSanitizer (build-asan/)
#   make format  clang-format over the tracked C++ files

JOBS ?= 2
CMAKE ?= cmake
CTEST ?= ctest

.PHONY: all deps configure build program test run package bench asan format

all: build

deps:
	@bash scripts/install-deps.sh

# Configure once; afterwards Ninja re-runs CMake by itself whenever a CMakeLists.txt changes.
build/build.ninja: CMakePresets.json | deps
	$(CMAKE) --preset dev
	@touch $@

configure: build/build.ninja

build: configure
	$(CMAKE) --build --preset dev -j $(JOBS)

# The program and what its install takes: no tests, no cross-checks.
program: configure
	$(CMAKE) --build --preset dev -j $(JOBS) --target pindrel_program

test: build
	$(CTEST) --preset dev

# A portable install in build/install, started on DISPLAY, or without one on a virtual desktop
# with a screenshot in build/pindrel-screenshot.png; Ctrl-C ends it.
run: program
	@bash scripts/run-pindrel.sh build

package: program
	cd build && cpack --config CPackConfig.cmake -B package
	lintian --fail-on error build/package/pindrel_*.deb

# Always configured: the option must be on even when build-release/ was made without it.
bench: deps
	bash scripts/install-deps.sh scripts/bench-packages.txt
	$(CMAKE) --preset release -DPINDREL_BUILD_BENCH=ON
	$(CMAKE) --build --preset release -j $(JOBS) --target txini_bench pindrel_startup_bench \
		pindrel_mostrarbotones_bench pindrel_programs_bench vexlo_bench vexlo_ui_bench \
		pindrel_filelist_bench pindrel_drawer_bench pindrel_copy_bench pindrel_monitorchange_bench
	bash bench/run-benchmarks.sh build-release

build-asan/build.ninja: CMakePresets.json | deps
	$(CMAKE) --preset asan
	@touch $@

asan: build-asan/build.ninja
	$(CMAKE) --build --preset asan -j $(JOBS)
	$(CTEST) --preset asan

format: deps
	git ls-files -z -- '*.cpp' '*.h' | xargs -0 -r clang-format -i
