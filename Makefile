# The two everyday commands: `make run` and `make test`.
BUILD ?= build
JOBS  ?= $(shell nproc)
CMAKE_FLAGS = -DCMAKE_TOOLCHAIN_FILE=tools/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release

.PHONY: all bootstrap configure build run test bench screenshot dist clean

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
test: build
	printf 'pcm.!default { type null }\n' > $(BUILD)/null-alsa.conf
	ALSA_CONFIG_PATH=/usr/share/alsa/alsa.conf:$(abspath $(BUILD))/null-alsa.conf \
	    tools/xvfb-do ctest --test-dir $(BUILD) --output-on-failure

# The zip and the installer for Windows, in the build folder.
dist: build
	tools/dist $(BUILD)

bench: build
	tools/xvfb-do tools/wine-run $(BUILD)/bench/tracklist_bench.exe

screenshot: build
	tools/screenshot $(BUILD)

clean:
	rm -rf $(BUILD)
