# The two commands of the README, and a few more for developers. Each installs
# the dependencies (quick when they are there) and builds first.
BUILD := build/default
COUNT := $(BUILD)/tools/velmora-count/velmora-count
MAP := $(BUILD)/tools/velmora-map/velmora-map
DEMO_DB := $(BUILD)/tools/velmora-demo-db/velmora-demo-db

.PHONY: deps build demo demo-db test asan bench format

deps:
	bash scripts/install-deps

build: deps
	cmake --preset default
	cmake --build --preset default

# The main job on the demo extent, and its map over a made-up background.
demo: build
	$(COUNT) cells 6508 6609 Quadranten
	mkdir -p demo
	$(MAP) background --nw 6508 --se 6810 --out demo/background.bmp
	$(MAP) draw --nw 6508 --se 6810 --bmp demo/background.bmp --out demo/map.png
	@echo "map of 6508-6810 written to demo/map.png"

# The demo database and its background map, written anew.
demo-db: build
	mkdir -p build/demo
	$(DEMO_DB) --out build/demo/demo.db --bmp build/demo/demo.bmp --force

test: build
	ctest --preset default

asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

bench: build
	for b in $(BUILD)/bench/bench_*; do $$b; done

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i
