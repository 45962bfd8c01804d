# The two commands of the README, and a few more for developers. Each installs
# the dependencies (quick when they are there) and builds first.
BUILD := build/default
COUNT := $(BUILD)/tools/velmora-count/velmora-count
MAP := $(BUILD)/tools/velmora-map/velmora-map
DEMO_DB := $(BUILD)/tools/velmora-demo-db/velmora-demo-db

.PHONY: deps build demo demo-db test asan bench fuzz format

deps:
	bash scripts/install-deps

build: deps
	cmake --preset default
	cmake --build --preset default

# The main job: a count of the demo database (made on first use) as a
# Quadranten map of its extent, printed and drawn over its background.
DEMO_COUNT := --nw 6508 --se 6711 --system QYX --type Quadranten
demo: build
	mkdir -p demo
	[ -f demo/demo.db ] && [ -f demo/demo.bmp ] || \
	  $(DEMO_DB) --out demo/demo.db --bmp demo/demo.bmp --force
	$(COUNT) count --db demo/demo.db $(DEMO_COUNT) > demo/counts.txt
	cat demo/counts.txt
	$(MAP) draw --nw 6508 --se 6711 --bmp demo/demo.bmp --counts demo/counts.txt \
	  --type Quadranten --out demo/map.png
	@echo "counts written to demo/counts.txt, the map to demo/map.png"

# The demo database and its background map, written anew.
demo-db: build
	mkdir -p demo
	$(DEMO_DB) --out demo/demo.db --bmp demo/demo.bmp --force

test: build
	ctest --preset default

asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

bench: build
	for b in $(BUILD)/bench/bench_*; do $$b; done

# Every fuzz target for SECONDS each, one after the other.
SECONDS ?= 60
fuzz: deps
	bash scripts/fuzz $(SECONDS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i
