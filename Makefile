# The two commands of the README: `make play` and `make test`.
# BUILD may be relative to this directory or absolute.
BUILD ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local

.PHONY: all deps build play test test-sanitize fuzz bench assets install clean web web-serve test-web

all: build

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

play: build
	cd game && $(abspath $(BUILD))/zorvane

# The game, the default data set under $(PREFIX)/share/zorvane, a desktop entry and an icon.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The same tests built by Clang with AddressSanitizer and UndefinedBehaviorSanitizer (CI runs both
# targets). Clang's UBSan finds overflows that GCC's misses; SANITIZE_CXX=g++ builds with GCC.
# Leak checks stay off: SDL's drivers keep allocations of their own until exit.
SANITIZE_CXX ?= clang++
test-sanitize: deps
	cmake -S . -B $(BUILD)-sanitize -DCMAKE_BUILD_TYPE=Debug -DZORVANE_SANITIZE=ON -DCMAKE_CXX_COMPILER=$(SANITIZE_CXX)
	cmake --build $(BUILD)-sanitize -j $(JOBS)
	cd $(BUILD)-sanitize && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure -j $(JOBS)

# Every reader of a data file under libFuzzer (clang, AddressSanitizer, UndefinedBehaviorSanitizer),
# FUZZ_SECONDS each; fails on any finding and names the reproducer (scripts/fuzz.sh).
# FUZZ_TARGETS picks some of them by name (map, config, ...); empty runs all.
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?=
fuzz: deps
	cmake -S . -B $(BUILD)-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DZORVANE_FUZZ=ON
	cmake --build $(BUILD)-fuzz -j $(JOBS)
	bash scripts/fuzz.sh $(BUILD)-fuzz $(FUZZ_SECONDS) $(FUZZ_TARGETS)

bench: build
	@for b in $(BUILD)/bench/*_bench; do [ -x "$$b" ] && "$$b"; done

assets: build
	$(BUILD)/tools/make_assets game

# The game for a browser in $(BUILD)-web/: index.html, its JavaScript and WebAssembly, and the data
# set DATA (a folder holding DATA/ini.txt) preloaded. SDL for the browser is built from Debian's
# sources once into WEB_SDL_CACHE (scripts/web-sdl.sh) and reused.
WEB_BUILD = $(BUILD)-web
WEB_SDL_CACHE ?= $(HOME)/.cache/zorvane/web-sdl
WEB_PORT ?= 8080
DATA ?= game
web: deps
	@bash scripts/install-web-deps.sh
	export NODE_PATH=/usr/share/nodejs && \
	sdl=$$(nice bash scripts/web-sdl.sh $(WEB_SDL_CACHE) | tail -n 1) && \
	emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release -DZORVANE_WEB_SDL="$$sdl" \
		-DZORVANE_WEB_DATA="$(abspath $(DATA))" && \
	cmake --build $(WEB_BUILD) -j $(JOBS)

# Serves the page on this machine only: http://127.0.0.1:$(WEB_PORT)/
web-serve: web
	cd $(WEB_BUILD) && python3 -m http.server --bind 127.0.0.1 $(WEB_PORT)

# The page in headless Chromium (web/browser-test/browser_test.mjs); screenshots and the console go
# to $(WEB_BUILD)/browser-test/logs/. The file kept through a reload is the data set's score table,
# which the game the test plays enters; WEB_TEST_ARGS="--player-file NAME" (a pattern) names another.
WEB_TEST_ARGS ?= --player-file 'scores-*.txt'
test-web: web
	@bash scripts/install-web-deps.sh --browser
	bash scripts/test-web.sh $(WEB_BUILD) $(WEB_TEST_ARGS)

clean:
	rm -rf $(BUILD) $(WEB_BUILD)
