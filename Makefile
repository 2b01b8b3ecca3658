# Norvant: set-up, build and test entry points.
#   make test       install what is missing, build, run every test
#   make run        build and start the viewer on the sample data
#   make test-asan  the whole suite under AddressSanitizer + UBSan
#   make bench      build and run the benchmarks
#   make fuzz-replay the broken-file corpus and a short fuzz run of every
#                   target under AddressSanitizer + UBSan (part of make test)
#   make fuzz       longer fuzz runs (FUZZ_LONG_SECONDS per target)
#   make coverage   line coverage of src/grib, src/mapping, src/imaging, src/overlays

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
SAMPLE_DIR ?= $(CURDIR)/$(BUILD)/sample-images
FUZZ_BUILD ?= build-fuzz
COVERAGE_BUILD ?= build-coverage
FUZZ_RUNS ?= 20000
FUZZ_LONG_SECONDS ?= 600

PACKAGES = g++ cmake ninja-build pkg-config qt6-base-dev libpng-dev zlib1g-dev \
           libgtest-dev libgmock-dev libbenchmark-dev \
           libeccodes-tools libeccodes-dev python3-eccodes python3-numpy \
           proj-bin libproj-dev libnetcdf-dev python3-netcdf4 python3-pyproj pngcheck libgif-dev gifsicle \
           fonts-dejavu-core \
           clang libclang-rt-14-dev gcovr time
# Only the benchmarks need these (GDAL is timed beside the batch run; GNU
# parallel runs the year of daily pictures).
BENCH_PACKAGES = gdal-bin parallel

.PHONY: all deps configure build test test-asan bench bench-deps run clean fuzz-build fuzz-replay fuzz coverage

all: build

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing: $$missing"; \
	  SUDO=$$( [ "$$(id -u)" = 0 ] || echo sudo ); \
	  $$SUDO apt-get update -qq && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq --no-install-recommends $$missing; \
	fi

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	$(MAKE) fuzz-replay

$(ASAN_BUILD)/build.ninja:
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DNORVANT_SANITIZE=ON -DNORVANT_BENCH=OFF

test-asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)

# The fuzz build: clang, libFuzzer, AddressSanitizer and UBSan.
$(FUZZ_BUILD)/build.ninja:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" -DNORVANT_FUZZ=ON -DNORVANT_BENCH=OFF

fuzz-build: deps $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_targets test_grib

fuzz-replay: fuzz-build
	cd $(FUZZ_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ./tests/test_grib --gtest_filter='*BadCorpus*'
	bash fuzz/run.sh replay $(FUZZ_BUILD) $(FUZZ_RUNS)

fuzz: fuzz-build
	bash fuzz/run.sh long $(FUZZ_BUILD) $(FUZZ_LONG_SECONDS)

# Line coverage of the readers and writers from their tests, the broken
# files included; the report lands in $(COVERAGE_BUILD)/coverage/.
coverage: deps
	cmake -S . -B $(COVERAGE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DNORVANT_BENCH=OFF \
	  -DCMAKE_CXX_FLAGS=--coverage -DCMAKE_EXE_LINKER_FLAGS=--coverage
	cmake --build $(COVERAGE_BUILD) -j $(JOBS) --target test_grib test_mapping test_imaging test_overlays
	find $(COVERAGE_BUILD) -name '*.gcda' -delete
	cd $(COVERAGE_BUILD)/tests && for t in test_grib test_mapping test_imaging test_overlays; do \
	  QT_QPA_PLATFORM=offscreen ./$$t --gtest_brief=1 || echo "warning: $$t failed; make test says why"; done
	mkdir -p $(COVERAGE_BUILD)/coverage
	gcovr --root . --object-directory $(COVERAGE_BUILD) --filter 'src/grib/' --filter 'src/mapping/' --filter 'src/overlays/' \
	  --filter 'src/imaging/' --exclude-directories '$(COVERAGE_BUILD)/CMakeFiles/[0-9.]+' \
	  --exclude-unreachable-branches --print-summary \
	  --txt $(COVERAGE_BUILD)/coverage/summary.txt --html-details $(COVERAGE_BUILD)/coverage/index.html $(COVERAGE_BUILD)

bench-deps:
	@$(MAKE) --no-print-directory deps PACKAGES="$(BENCH_PACKAGES)"

bench: build bench-deps
	@for b in $(BUILD)/bench/bench_*; do echo "== $$b"; $$b; done

run: build
	@bash tools/run.sh "$(BUILD)" "$(SAMPLE_DIR)"

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(COVERAGE_BUILD)
