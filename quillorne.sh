#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine: deps, build, test, demo, screenshots,
# install.
set -euo pipefail
cd "$(dirname "$0")"

BUILD_DIR=${QN_BUILD_DIR:-build}
JOBS=${QN_JOBS:-$(nproc)}

# Debian packages the build, the tests and the demo need.
PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  libcurl4-openssl-dev zlib1g-dev libzip-dev libssl-dev
  libgtest-dev googletest libcpp-httplib-dev
  qt6-base-dev qt6-webengine-dev qt6-svg-dev qt6-translations-l10n libgl-dev libsqlite3-dev nlohmann-json3-dev
  xvfb xauth imagemagick xdotool trayer desktop-file-utils shared-mime-info
  python3 python3-pyftpdlib unzip
  clang libclang-rt-14-dev
)

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

# The project's packages and any named as arguments (the benchmarks' peers).
deps() {
  local missing=() p
  for p in "${PACKAGES[@]}" "$@"; do
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

# Serves the example site (examples/site) and its partner site (examples/partner) on
# two free ports of 127.0.0.1, copies both with quillorne-cli (links converted, the
# download report on, the partner server accepted by a URL filter), saves the
# project, and checks the local links of the copy. Extra arguments go to quillorne-cli.
run_demo() {
  deps
  cmake -S . -B "$BUILD_DIR" -G Ninja >/dev/null
  cmake --build "$BUILD_DIR" -j "$JOBS" --target quillorne-cli quillorne-linkcheck
  # The servers' process id is global, not local: the EXIT trap runs after this
  # function has returned.
  DEMO_SERVER=
  stop_demo_server() {
    [ -n "${DEMO_SERVER:-}" ] || return 0
    kill "$DEMO_SERVER" 2>/dev/null || true
    wait "$DEMO_SERVER" 2>/dev/null || true
    DEMO_SERVER=
  }
  local out site_port partner_port modern_port report status=0 modern_status=0
  local title="Lumbrook Garden Club"
  out=$(mktemp -d "${TMPDIR:-/tmp}/quillorne-demo.XXXXXX")
  report="$out/site/_QNReport/${title}_Report.htm"
  trap stop_demo_server EXIT
  /usr/bin/python3 examples/serve.py examples/site examples/partner examples/modern \
    --ports-file "$out/ports" >/dev/null &
  DEMO_SERVER=$!
  for _ in $(seq 100); do
    [ -s "$out/ports" ] && break
    kill -0 "$DEMO_SERVER" 2>/dev/null || break
    sleep 0.1
  done
  if ! read -r site_port partner_port modern_port <"$out/ports" 2>/dev/null; then
    echo "The example servers did not start." >&2
    return 1
  fi
  echo "Serving the club's site on http://127.0.0.1:$site_port/, the partner site" \
    "on http://127.0.0.1:$partner_port/ and the modern site on http://127.0.0.1:$modern_port/"
  echo
  # The URL filter admits the partner server (include, any protocol, any folder and
  # file); its pages are copied up to the off-site link depth QN_MAX_OL (default 1).
  "$BUILD_DIR/quillorne-cli" "http://127.0.0.1:$site_port/index.html" -o "$out/site" \
    --set QN_TITLE="$title" --set QN_REPORT=1 \
    --set "QN_URL_FILTER=1 15 127.0.0.1:$partner_port \"\" \"\"" \
    --save "$out/garden.qnp" "$@" || status=$?
  # Today's site is copied with the default settings: compressed pages, srcset,
  # fonts, modules and versioned assets need nothing else.
  echo
  "$BUILD_DIR/quillorne-cli" "http://127.0.0.1:$modern_port/index.html" -o "$out/modern" \
    --save "$out/modern.qnp" "$@" || modern_status=$?
  stop_demo_server
  [ "$status" -le 1 ] || return "$status"
  [ "$modern_status" -le 1 ] || return "$modern_status"
  [ "$status" -eq 0 ] || echo "The download was stopped or reached a limit: the copy is incomplete."
  echo
  echo "Project: $out/garden.qnp (its log: $out/garden.log; run it again to update)"
  if [ -f "$report" ]; then echo "Report:  $report"; else echo "No report was written."; fi
  echo "Open offline: $(/usr/bin/python3 -c 'import pathlib, sys; print(pathlib.Path(sys.argv[1]).as_uri())' \
    "$out/site/index.html")"
  echo
  echo "Local links of the copy (the site has one broken link of its own, in news/autumn.html):"
  "$BUILD_DIR/quillorne-linkcheck" "$out/site" "$out/site/index.html" || true
  echo
  echo "Modern site: $out/modern.qnp, open offline:" \
    "$(/usr/bin/python3 -c 'import pathlib, sys; print(pathlib.Path(sys.argv[1]).as_uri())' \
      "$out/modern/index.html")"
  echo "Local links of the modern copy (none should be broken):"
  "$BUILD_DIR/quillorne-linkcheck" "$out/modern" "$out/modern/index.html" || true
}

# Builds the programs optimised and installs them under PREFIX (bin/, share/), then
# lets the desktop know the new application and file types when its tools exist.
run_install() {
  local prefix=${1:-}
  [ -n "$prefix" ] || { echo "usage: $0 install PREFIX (for example ~/.local or /usr/local)" >&2; return 2; }
  local dir=${QN_BUILD_DIR:-build-install}
  deps
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DCMAKE_INSTALL_PREFIX="$prefix" >/dev/null
  cmake --build "$dir" -j "$JOBS" --target quillorne quillorne-cli quillorne_icons
  cmake --install "$dir"
  if command -v update-mime-database >/dev/null; then update-mime-database "$prefix/share/mime"; fi
  if command -v update-desktop-database >/dev/null; then
    update-desktop-database "$prefix/share/applications"
  fi
  echo "Installed: $prefix/bin/quillorne and $prefix/bin/quillorne-cli"
}

# Pictures of the desktop program's windows under Xvfb, in $BUILD_DIR/screenshots/.
run_screenshots() {
  deps
  cmake -S . -B "$BUILD_DIR" -G Ninja >/dev/null
  cmake --build "$BUILD_DIR" -j "$JOBS" --target quillorne quillorne-cli quillorne_languages
  tools/screenshots.sh "$BUILD_DIR"
}

case "${1:-}" in
  deps) shift; deps "$@" ;;
  build) shift; build "$@" ;;
  test) shift; run_tests "$@" ;;
  bench) shift; run_bench "$@" ;;
  demo) shift; run_demo "$@" ;;
  screenshots) shift; run_screenshots "$@" ;;
  install) shift; run_install "$@" ;;
  *)
    echo "usage: $0 deps|build|test|bench|demo|screenshots|install PREFIX" >&2
    exit 2
    ;;
esac
