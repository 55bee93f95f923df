# Entry points of the project; see README.md.
BUILD ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
FUZZ_BUILD ?= build-fuzz
WINDOWS_BUILD ?= build-windows
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps build run test bench asan fuzz lint install clean windows-deps windows-build \
        windows-package windows-test

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
	bash scripts/install-deps.sh windows-gui

# Everything cross-built for Windows with MinGW-w64 against the Qt for
# Windows that scripts/build-qt-windows.sh keeps in its cache (built the
# first time, about 40 minutes on two cores): the programs, the core and
# widget tests. The Linux tovarin-cli is built for the comparison test.
windows-build: deps windows-deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target tovarin-cli
	qt=$$(JOBS=$(JOBS) bash scripts/build-qt-windows.sh) && \
	  "$$qt/bin/qt-cmake" -S . -B $(WINDOWS_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DQT_CHAINLOAD_TOOLCHAIN_FILE=$(abspath cmake/mingw-w64.cmake) -DTOVARIN_GUI=ON \
	  -DTOVARIN_GTEST_SOURCE=/usr/src/googletest \
	  -DTOVARIN_LINUX_CLI=$(abspath $(BUILD))/bin/tovarin-cli $(CMAKE_FLAGS)
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)

# build-windows/tovarin-VERSION-windows-x64.zip and tovarin-VERSION-setup.exe.
windows-package: windows-build
	cmake --build $(WINDOWS_BUILD) --target windows_package

# Every test program of the Windows build under Wine (the widget tests on
# Qt's offscreen platform), tovarin-cli.exe's output against the Linux
# build's, then the package: tovarin.exe from the zip on a virtual display,
# the silent install and uninstall (scripts/windows-check.sh). The Wine
# server is stopped after the run.
windows-test: windows-package
	export WINEPREFIX=$(abspath $(WINDOWS_BUILD))/wine-prefix; \
	  (cd $(WINDOWS_BUILD) && ctest --output-on-failure -j $(JOBS)) && \
	  cmake --build $(WINDOWS_BUILD) --target windows_check; status=$$?; \
	  $$(command -v wineserver || echo /usr/lib/wine/wineserver) -k 2>/dev/null; exit $$status

lint: $(BUILD)/build.ninja
	bash scripts/lint.sh $(BUILD)

install: build
	cmake --install $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD) $(WINDOWS_BUILD)
