# The two everyday commands: `make run` and `make test`.
BUILD ?= build
JOBS  ?= $(shell nproc)
CMAKE_FLAGS = -DCMAKE_TOOLCHAIN_FILE=tools/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release
# The native fuzz build (clang) has a folder of its own; FUZZ_SECONDS is per target.
FUZZ_BUILD ?= $(BUILD)/fuzz
FUZZ_SECONDS ?= 30

.PHONY: all bootstrap configure build run test bench screenshot dist clean fuzz fuzz-smoke

all: build

bootstrap:
	@tools/bootstrap

$(BUILD)/CMakeCache.txt: | bootstrap
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null

configure: $(BUILD)/CMakeCache.txt

build: bootstrap configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	tools/run $(BUILD)/Quillfox.exe

# One test program at a time: they share one display and one Wine server, and a window that
# another program activates would take the keyboard focus from the windows under test.
# Playback tests play through ALSA's null output: no sound card is touched.
# The short native fuzz runs come first: seconds, and no Wine.
test: build fuzz-smoke
	printf 'pcm.!default { type null }\n' > $(BUILD)/null-alsa.conf
	WINEPREFIX=$(abspath $(BUILD))/wineprefix \
	ALSA_CONFIG_PATH=/usr/share/alsa/alsa.conf:$(abspath $(BUILD))/null-alsa.conf \
	    tools/xvfb-do ctest --test-dir $(BUILD) --output-on-failure

# The zip and the installer for Windows, in the build folder.
dist: build
	tools/dist $(BUILD)

# The plain core under libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer.
fuzz: bootstrap
	tools/fuzz run $(FUZZ_SECONDS) $(FUZZ_BUILD)

fuzz-smoke: bootstrap
	tools/fuzz smoke $(FUZZ_BUILD)

# BENCH_LARGE=1 adds the 100,000-file runs of the wave benchmark; BENCH_ONLY=sort,startup (say)
# measures only the groups it names (memory drop id3v2 folder progress sort startup scale).
bench: build
	tools/xvfb-do tools/wine-run $(BUILD)/bench/tracklist_bench.exe
	tools/xvfb-do tools/wine-run $(BUILD)/bench/wave_bench.exe

screenshot: build
	tools/screenshot $(BUILD)

clean:
	rm -rf $(BUILD)
