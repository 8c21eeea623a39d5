# Fontloom: `make run` starts the program, `make test` runs every test.
BUILD     ?= build
WINBUILD  ?= build-win
JOBS      ?= $(shell nproc)
CMAKE_GEN := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

.PHONY: all deps build windows test run clean

all: build

deps:
	@bash tools/install-deps.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

$(WINBUILD)/CMakeCache.txt:
	cmake -S . -B $(WINBUILD) $(CMAKE_GEN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release

# The Windows build of the same sources, with mingw-w64.
windows: deps $(WINBUILD)/CMakeCache.txt
	cmake --build $(WINBUILD) -j $(JOBS)

test: build windows
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

run: build
	@if [ -x $(BUILD)/app/fontloom ]; then \
	  echo "fontloom: the program is not finished yet"; \
	else \
	  echo "fontloom: the program is not there yet; 'make test' runs what is built so far"; \
	fi

clean:
	rm -rf $(BUILD) $(WINBUILD)
