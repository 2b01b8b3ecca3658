# Norvant: set-up, build and test entry points.
#   make test       install what is missing, build, run every test
#   make run        build and start the viewer on the sample data
#   make test-asan  the whole suite under AddressSanitizer + UBSan
#   make bench      build and run the benchmarks

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
SAMPLE_DIR ?= $(CURDIR)/$(BUILD)/sample-images

PACKAGES = g++ cmake ninja-build pkg-config qt6-base-dev libpng-dev zlib1g-dev \
           libgtest-dev libgmock-dev libbenchmark-dev \
           libeccodes-tools libeccodes-dev python3-eccodes python3-numpy \
           proj-bin libproj-dev pngcheck libgif-dev gifsicle fonts-dejavu-core

.PHONY: all deps configure build test test-asan bench run clean

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

$(ASAN_BUILD)/build.ninja:
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DNORVANT_SANITIZE=ON -DNORVANT_BENCH=OFF

test-asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD)/bench/bench_*; do echo "== $$b"; $$b; done

run: build
	@bash tools/run.sh "$(BUILD)" "$(SAMPLE_DIR)"

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
