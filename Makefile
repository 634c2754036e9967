# The two commands of the README: `make play` and `make test`.
# BUILD may be relative to this directory or absolute.
BUILD ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local

.PHONY: all deps build play test test-sanitize fuzz bench assets install clean

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

clean:
	rm -rf $(BUILD)
