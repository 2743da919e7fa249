#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine: deps, build, test, demo.
set -euo pipefail
cd "$(dirname "$0")"

BUILD_DIR=${QN_BUILD_DIR:-build}
JOBS=${QN_JOBS:-$(nproc)}

# Debian packages the build, the tests and the demo need.
PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  libcurl4-openssl-dev zlib1g-dev libzip-dev libssl-dev
  libgtest-dev googletest libcpp-httplib-dev
  python3 python3-pyftpdlib unzip
  clang libclang-rt-14-dev
)

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

deps() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

build() {
  deps
  cmake -S . -B "$BUILD_DIR" -G Ninja "$@" >/dev/null
  cmake --build "$BUILD_DIR" -j "$JOBS"
}

run_tests() {
  build "$@"
  ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$JOBS"
}

# Benchmarks in an optimised build of their own; arguments go to the program.
run_bench() {
  local dir=${QN_BUILD_DIR:-build-bench}
  deps
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
  cmake --build "$dir" -j "$JOBS" --target bench_link_table
  "$dir/bench/bench_link_table" "$@"
}

# Serves examples/site on 127.0.0.1 and copies it with quillorne-cli.
run_demo() {
  deps
  cmake -S . -B "$BUILD_DIR" -G Ninja >/dev/null
  cmake --build "$BUILD_DIR" -j "$JOBS" --target quillorne-cli
  local port out server
  port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  /usr/bin/python3 -m http.server "$port" --bind 127.0.0.1 --directory examples/site >/dev/null 2>&1 &
  server=$!
  trap 'kill "$server" 2>/dev/null' EXIT
  for _ in $(seq 50); do
    /usr/bin/python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/')" 2>/dev/null && break
    sleep 0.1
  done
  out=$(mktemp -d "${TMPDIR:-/tmp}/quillorne-demo.XXXXXX")
  "$BUILD_DIR/quillorne-cli" "http://127.0.0.1:$port/index.html" -o "$out/site" \
    --set QN_TITLE="Garden Club" --save "$out/garden.qnp" "$@"
  echo
  echo "The copy is in $out/site; the project is $out/garden.qnp (run it again to update)."
}

case "${1:-}" in
  deps) deps ;;
  build) shift; build "$@" ;;
  test) shift; run_tests "$@" ;;
  bench) shift; run_bench "$@" ;;
  demo) shift; run_demo "$@" ;;
  *)
    echo "usage: $0 deps|build|test|bench|demo" >&2
    exit 2
    ;;
esac
