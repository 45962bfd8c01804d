# Shortcuts for developers; ./velmora.sh does the work (see the README), and
# installs the dependencies and builds before each command.
BUILD := build/default

.PHONY: deps build demo demo-db test asan bench fuzz format

deps:
	bash scripts/install-deps

build:
	./velmora.sh build

demo:
	./velmora.sh demo

demo-db:
	./velmora.sh demo-db

test:
	./velmora.sh test

asan:
	./velmora.sh test asan

bench: build
	for b in $(BUILD)/bench/bench_*; do $$b; done

# Every fuzz target for SECONDS each, one after the other.
SECONDS ?= 60
fuzz: deps
	bash scripts/fuzz $(SECONDS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i
