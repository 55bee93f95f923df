# Entry points of the project; see README.md.
BUILD ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
FUZZ_BUILD ?= build-fuzz
WINDOWS_BUILD ?= build-windows
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps build run test bench asan fuzz lint install clean windows-deps windows-test

all: build

deps:
	bash scripts/install-deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: deps build
	bash scripts/run.sh $(BUILD)

test: deps build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOVARIN_BENCH=ON -DTOVARIN_TESTS=OFF
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	bash scripts/bench.sh $(BENCH_BUILD)

asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOVARIN_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j $(JOBS)

fuzz: deps
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTOVARIN_FUZZ=ON -DTOVARIN_GUI=OFF -DTOVARIN_TESTS=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	bash scripts/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

windows-deps:
	bash scripts/install-deps.sh windows

# The core, tovarin-cli.exe and the core tests cross-built for Windows with
# MinGW-w64 and run under Wine (the desktop program needs a Qt for Windows,
# which Debian does not have), and tovarin-cli.exe's output compared with
# the Linux build's. The Wine server is stopped after the run.
windows-test: deps windows-deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target tovarin-cli
	cmake -S . -B $(WINDOWS_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DTOVARIN_GUI=OFF \
	  -DTOVARIN_GTEST_SOURCE=/usr/src/googletest \
	  -DTOVARIN_LINUX_CLI=$(abspath $(BUILD))/bin/tovarin-cli $(CMAKE_FLAGS)
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)
	export WINEPREFIX=$(abspath $(WINDOWS_BUILD))/wine-prefix; \
	  cd $(WINDOWS_BUILD) && ctest --output-on-failure -j $(JOBS); status=$$?; \
	  $$(command -v wineserver || echo /usr/lib/wine/wineserver) -k 2>/dev/null; exit $$status

lint: $(BUILD)/build.ninja
	bash scripts/lint.sh $(BUILD)

install: build
	cmake --install $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD) $(WINDOWS_BUILD)
