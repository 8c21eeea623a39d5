# Fontloom: `make run` starts the program, `make test` runs every test.
BUILD     ?= build
WINBUILD  ?= build-win
JOBS      ?= $(shell nproc)
CMAKE_GEN := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

.PHONY: all deps build windows sanitize test run bench clean fuzz soak install package

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

# The program with AddressSanitizer and UndefinedBehaviorSanitizer (clang), for the tests.
ASAN ?= build-asan
$(ASAN)/CMakeCache.txt:
	cmake -S . -B $(ASAN) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DFONTLOOM_SANITIZE=ON

sanitize: deps $(ASAN)/CMakeCache.txt
	cmake --build $(ASAN) -j $(JOBS) --target fontloom

test: build windows sanitize
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The program, built in Release, started in a scratch folder that holds the sample page.
RELEASE ?= build-release
HEADLESS_HINT := FONTLOOM_HEADLESS=1 FONTLOOM_SIM='key RETURN; key ESCAPE after 20000 frames' make run
run: deps
	@cmake -S . -B $(RELEASE) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(RELEASE) -j $(JOBS) --target fontloom
	@mkdir -p $(RELEASE)/run
	@cp -u app/sample/text.txt $(RELEASE)/run/text.txt
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY" ] && [ "$$FONTLOOM_HEADLESS" != 1 ]; then \
	  echo "fontloom: no display here (DISPLAY is not set); run it under Xvfb with: xvfb-run -s '-screen 0 1280x1024x24' make run  -- or headless with: $(HEADLESS_HINT)"; \
	else \
	  cd $(RELEASE)/run && ../app/fontloom && echo "fontloom: done; log.txt and FPS.txt are in $(RELEASE)/run"; \
	fi

# The frame-rate table (tools/bench.py): native headless and under Xvfb, windowed and full
# screen, the Windows build under Wine, and the copy ceilings; BENCH_SECONDS per run,
# BENCH_REPEATS runs each. The chart of it goes to BENCH_CHART; BENCH_BASELINE=path/to/fontloom
# adds that build's native rows from the same run.
BENCH_SECONDS ?= 6
BENCH_REPEATS ?= 3
BENCH_CHART ?= $(RELEASE)/frame-rates.png
bench: deps windows
	@cmake -S . -B $(RELEASE) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(RELEASE) -j $(JOBS) --target fontloom frame_bench
	@BENCH_BASELINE="$(BENCH_BASELINE)" python3 tools/bench.py $(RELEASE) $(WINBUILD) $(BENCH_SECONDS) $(BENCH_REPEATS) $(BENCH_CHART)

# Installs the program under PREFIX (DESTDIR for a staging root): the program, the launcher of
# the desktop entry, the sample page, the icon and the manual page.
PKG    ?= build-pkg
WINPKG ?= build-win-pkg
PREFIX ?= /usr/local
install: deps
	cmake -S . -B $(PKG) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build $(PKG) -j $(JOBS) --target fontloom fontloom_desktop_files
	cmake --install $(PKG) --strip

# The packages (CPack): $(PKG)/fontloom_<version>_<arch>.deb and
# $(WINPKG)/fontloom-<version>-win64.zip.
package: deps
	cmake -S . -B $(PKG) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(PKG) -j $(JOBS) --target fontloom fontloom_desktop_files
	cd $(PKG) && cpack -G DEB
	cmake -S . -B $(WINPKG) $(CMAKE_GEN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release
	cmake --build $(WINPKG) -j $(JOBS) --target fontloom
	cd $(WINPKG) && cpack -G ZIP
	@ls -1 $(PKG)/*.deb $(WINPKG)/*.zip

clean:
	rm -rf $(BUILD) $(WINBUILD) $(RELEASE) $(ASAN) $(FUZZ) $(PKG) $(WINPKG)

# The libFuzzer targets (fuzz/), FUZZ_SECONDS each, in their own clang tree (tools/fuzz.sh).
FUZZ ?= build-fuzz
FUZZ_SECONDS ?= 60
fuzz: deps
	@bash tools/fuzz.sh $(FUZZ) $(FUZZ_SECONDS)

# A long headless run: resident memory flat, frame rate steady (tools/soak.sh).
SOAK_SECONDS ?= 300
soak: build
	@bash tools/soak.sh $(BUILD) $(SOAK_SECONDS)
