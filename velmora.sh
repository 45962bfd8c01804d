#!/usr/bin/env bash
# The README's commands. Each sets up what it needs on a Debian 12 machine by
# itself - the packages through scripts/install-deps, then the CMake build - so
# that it works in a fresh clone on a machine that has nothing installed.
set -euo pipefail
cd "$(dirname "$0")"

usage() {
  cat <<'EOF'
Usage: ./velmora.sh COMMAND

  demo            count the demo database (made on first use) as a Quadranten
                  map of 6508-6711, print the counts and draw demo/map.png
  test [PRESET]   build and run every test (PRESET: a CMake preset, default
                  "default"; CI runs "ci" and "ci-asan")
  demo-db         write the demo database and its background map anew
  build [PRESET]  build only

Each command first installs the packages it needs (apt-get: as root, or as a
user who may use sudo) and builds into build/PRESET.
EOF
}

build=build/default
count=$build/tools/velmora-count/velmora-count
map=$build/tools/velmora-map/velmora-map
demo_db=$build/tools/velmora-demo-db/velmora-demo-db

# Installs the dependencies, configures and builds PRESET (the given targets,
# else all of them).
build() {
  local preset=$1
  shift
  bash scripts/install-deps
  cmake --preset "$preset"
  if [ $# -gt 0 ]; then
    cmake --build --preset "$preset" --target "$@"
  else
    cmake --build --preset "$preset"
  fi
}

make_demo_db() {
  mkdir -p demo
  "$demo_db" --out demo/demo.db --bmp demo/demo.bmp --force
}

# The main job: a count of the demo database as a Quadranten map of its
# extent, printed and drawn over its background.
demo() {
  build default velmora-demo-db velmora-count velmora-map GeoDLL32
  if [ ! -f demo/demo.db ] || [ ! -f demo/demo.bmp ]; then
    make_demo_db
  fi
  "$count" count --db demo/demo.db --nw 6508 --se 6711 --system QYX --type Quadranten \
    >demo/counts.txt
  cat demo/counts.txt
  "$map" draw --nw 6508 --se 6711 --bmp demo/demo.bmp --counts demo/counts.txt \
    --type Quadranten --out demo/map.png
  echo "counts written to demo/counts.txt, the map to demo/map.png"
}

run_tests() {
  local preset=${1:-default}
  build "$preset"
  ctest --preset "$preset"
}

case "${1:-}" in
  demo) demo ;;
  test) run_tests "${2:-}" ;;
  demo-db)
    build default velmora-demo-db
    make_demo_db
    ;;
  build) build "${2:-default}" ;;
  -h | --help | help) usage ;;
  *)
    [ -z "${1:-}" ] || echo "velmora.sh: unknown command '$1'" >&2
    usage >&2
    exit 2
    ;;
esac
