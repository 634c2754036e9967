# The two commands of the README: `make play` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps build play test bench assets clean

all: build

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

play: build
	cd game && ../$(BUILD)/zorvane

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD)/bench/*_bench; do [ -x "$$b" ] && "$$b"; done

assets: build
	$(BUILD)/tools/make_assets game

clean:
	rm -rf $(BUILD)
