#!/usr/bin/env bash
# Mirror benchmark: one synthetic site served by nginx on 127.0.0.1, copied in the
# same run by quillorne-cli, wget, wget2 and httrack, one after the other. For each
# copy: wall time, CPU time, peak memory, files saved against the site's, and the
# broken local links that quillorne-linkcheck finds from the copy's start page.
#
# Usage (from anywhere): bench/mirror.sh
# Environment:
#   MIRROR_PAGES, MIRROR_IMAGES   site size (default 3000 pages, 6000 images)
#   MIRROR_FANOUT, MIRROR_LEVELS  folder tree shape (default 3 wide, 5 deep)
#   MIRROR_SEED                   generator seed (default 1)
#   MIRROR_TOOLS                  tools to run (default "quillorne wget wget2 httrack")
#   MIRROR_OUT                    also write the table to this file
#   MIRROR_TIMEOUT                seconds a tool may run before it is stopped (default 1800)
#   MIRROR_KEEP=1                 keep the work folder (site, copies, logs)
set -euo pipefail

# MIRROR_OUT is taken from the caller's folder, before the move to the repository.
OUT_FILE=${MIRROR_OUT:-}
if [ -n "$OUT_FILE" ] && [ "${OUT_FILE#/}" = "$OUT_FILE" ]; then OUT_FILE="$(pwd)/$OUT_FILE"; fi
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD_DIR=build-bench
THREADS=8
PAGES=${MIRROR_PAGES:-3000}
IMAGES=${MIRROR_IMAGES:-6000}
FANOUT=${MIRROR_FANOUT:-3}
LEVELS=${MIRROR_LEVELS:-5}
SEED=${MIRROR_SEED:-1}
TIMEOUT=${MIRROR_TIMEOUT:-1800}
KNOWN_TOOLS=" quillorne wget wget2 httrack "
read -r -a TOOLS <<<"${MIRROR_TOOLS:-quillorne wget wget2 httrack}"

# The peers and the timer; ./quillorne.sh deps adds what building quillorne-cli needs.
PEER_PACKAGES=(nginx wget wget2 httrack time python3)

WORK=""
NGINX_PID=""
PORT=""
BASE=""
SITE_FILES=0
declare -A WALL CPU PEAK FILES BROKEN STATUS MISSING EXTRA CHANGED LEFT CMDLINE

deps() {
  ./quillorne.sh deps "${PEER_PACKAGES[@]}"
}

# An optimised build: a debug build would measure the compiler's flags, not the program.
build() {
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
  cmake --build "$BUILD_DIR" -j 2 --target quillorne-cli quillorne-linkcheck >/dev/null
}

cleanup() {
  if [ -n "$NGINX_PID" ]; then
    kill "$NGINX_PID" 2>/dev/null || true
    wait "$NGINX_PID" 2>/dev/null || true
  fi
  if [ -n "$WORK" ]; then
    if [ "${MIRROR_KEEP:-0}" = 1 ]; then echo "Work folder kept: $WORK"; else rm -rf "$WORK"; fi
  fi
}

free_port() {
  /usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# The site is made after the port is known so that some links can be full addresses.
make_site() {
  local counts
  counts=$(/usr/bin/python3 bench/mirror_site.py "$WORK/site" --pages "$PAGES" --images "$IMAGES" \
    --fanout "$FANOUT" --levels "$LEVELS" --seed "$SEED" --base-url "$BASE")
  echo "Site: $counts"
  SITE_FILES=$(find "$WORK/site" -type f | wc -l)
  (cd "$WORK/site" && find . -type f | sed 's|^\./||' | sort) >"$WORK/site.list"
}

# nginx in the foreground of a background job, everything it writes in the work folder,
# so that it needs no root and the trap can stop it by its process id. Types are given
# here because the peers decide what to scan from Content-Type.
serve() {
  mkdir -p "$WORK/nginx"
  # Run as root, nginx's workers drop to an unprivileged user: they must read the site.
  chmod -R a+rX "$WORK"
  cat >"$WORK/nginx/nginx.conf" <<CONF
worker_processes 1;
daemon off;
pid $WORK/nginx/nginx.pid;
error_log $WORK/nginx/error.log;
events { worker_connections 256; }
http {
  types {
    text/html html;
    text/css css;
    image/png png;
    image/gif gif;
  }
  default_type application/octet-stream;
  access_log off;
  sendfile on;
  keepalive_requests 1000000;
  client_body_temp_path $WORK/nginx;
  proxy_temp_path $WORK/nginx;
  fastcgi_temp_path $WORK/nginx;
  uwsgi_temp_path $WORK/nginx;
  scgi_temp_path $WORK/nginx;
  server { listen 127.0.0.1:$PORT; root $WORK/site; }
}
CONF
  "$(command -v nginx || echo /usr/sbin/nginx)" -c "$WORK/nginx/nginx.conf" -p "$WORK/nginx" \
    -e "$WORK/nginx/error.log" &
  NGINX_PID=$!
  local _
  for _ in $(seq 100); do
    /usr/bin/python3 -c "import urllib.request; urllib.request.urlopen('$BASE/index.html')" \
      2>/dev/null && return 0
    sleep 0.1
  done
  echo "nginx did not answer on $BASE" >&2
  cat "$WORK/nginx/error.log" >&2
  exit 1
}

# The command line of each tool, one argument a line (CMDLINE keeps them for the report).
tool_command() {
  local tool=$1 dir=$2
  case "$tool" in
    quillorne)
      # Every limit lifted: file count, total size, file size, time; no level limit
      # (and a level maximum that would not bind anyway). The project file keeps the
      # log out of the copy.
      printf '%s\n' "$ROOT/$BUILD_DIR/quillorne-cli" "$BASE/index.html" -o "$dir" \
        --save "$WORK/quillorne.qnp" --set "QN_THREADS=$THREADS" \
        --set QN_LIM_FQ=0 --set QN_LIM_DS=0 --set QN_LIM_MAXFS=0 --set QN_LIM_TIME=0 \
        --set QN_LIM_L=0 --set QN_MAX_L=32000 --set QN_UPDLINKS=1
      ;;
    wget)
      printf '%s\n' wget -m -k -p -np -nv -P "$dir" "$BASE/index.html"
      ;;
    wget2)
      printf '%s\n' wget2 -m -k "--max-threads=$THREADS" --no-verbose -P "$dir" "$BASE/index.html"
      ;;
    httrack)
      # Its built-in limits would throttle it: besides --disable-security-limits, 0 lifts
      # the transfer rate (-A) and connections per second (-%c) caps, which otherwise
      # hold it to about one round of requests a second.
      printf '%s\n' httrack "$BASE/index.html" -O "$dir" -q "-c$THREADS" --disable-security-limits \
        -A0 -%c0 -#L10000000
      ;;
  esac
}

# The folder of a copy that stands for the site's root: the shallowest one holding the
# site's style sheet, whatever folder layout the tool chose (host, host:port, host_port).
copy_root() {
  local found
  found=$(find "$1" -path '*/css/site.css' -type f -printf '%d %h\n' 2>/dev/null | sort -n | head -1 | cut -d' ' -f2-)
  [ -n "$found" ] && dirname "$found"
}

# Runs one tool under GNU time with no terminal on stdin or stdout (quillorne-cli's
# conversion then confirms itself) and gathers its numbers.
run_tool() {
  local tool=$1 dir="$WORK/copy-$1" status=0 cmd=()
  mapfile -t cmd < <(tool_command "$tool" "$dir")
  CMDLINE[$tool]="${cmd[*]}"
  mkdir -p "$dir"
  echo "== $tool: ${cmd[*]}"
  # A hung tool is stopped (exit status 124) so that the others still get measured.
  /usr/bin/time -v -o "$WORK/$tool.time" timeout -k 30 "$TIMEOUT" "${cmd[@]}" \
    </dev/null >"$WORK/$tool.out" 2>&1 || status=$?
  STATUS[$tool]=$status
  tail -n 3 "$WORK/$tool.out" | sed 's/^/   /'

  local t="$WORK/$tool.time"
  WALL[$tool]=$(awk -F': ' '/Elapsed \(wall clock\)/ {
      n = split($2, p, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + p[i]; print s }' "$t")
  CPU[$tool]=$(awk -F': ' '/User time/ {u = $2} /System time/ {s = $2} END {printf "%.2f", u + s}' "$t")
  PEAK[$tool]=$(awk -F': ' '/Maximum resident set size/ {printf "%.1f", $2 / 1024}' "$t")

  local root
  if ! root=$(copy_root "$dir"); then
    FILES[$tool]=$(find "$dir" -type f | wc -l)
    BROKEN[$tool]="no copy"
    MISSING[$tool]=$SITE_FILES
    EXTRA[$tool]=0
    CHANGED[$tool]=0
    LEFT[$tool]=0
    return
  fi
  FILES[$tool]=$(find "$root" -type f | wc -l)
  (cd "$root" && find . -type f | sed 's|^\./||' | sort) >"$WORK/$tool.list"
  MISSING[$tool]=$(comm -23 "$WORK/site.list" "$WORK/$tool.list" | wc -l)
  EXTRA[$tool]=$(comm -13 "$WORK/site.list" "$WORK/$tool.list" | wc -l)
  # Images must arrive byte for byte; pages and style sheets differ by conversion.
  CHANGED[$tool]=$( (diff -rq "$WORK/site" "$root" || true) | grep -cE '\.(png|gif) differ$' || true)
  # quillorne-linkcheck does not count links to the network, so a full address that
  # conversion left pointing at the server would pass unseen: count those here.
  LEFT[$tool]=$( (grep -rhoa --include='*.html' --include='*.css' "$BASE/" "$root" || true) | wc -l)
  check_links "$tool" "$root"
}

# Broken local links from the copy's start page; the list is kept for a closer look.
check_links() {
  local tool=$1 root=$2 summary
  if [ ! -f "$root/index.html" ]; then
    BROKEN[$tool]="no start page"
    return
  fi
  "$ROOT/$BUILD_DIR/quillorne-linkcheck" "$root" "$root/index.html" >"$WORK/$tool.broken" || true
  summary=$(tail -n 1 "$WORK/$tool.broken")
  echo "   linkcheck: $summary"
  BROKEN[$tool]=$(sed -n 's/.*broken \([0-9]*\).*/\1/p' <<<"$summary")
  [ -n "${BROKEN[$tool]}" ] || BROKEN[$tool]="?"
}

report() {
  local tool
  {
    printf '%-10s | %8s | %8s | %8s | %6s | %12s\n' tool "wall s" "CPU s" "peak MB" files "broken links"
    printf '%s\n' "-----------+----------+----------+----------+--------+-------------"
    for tool in "${TOOLS[@]}"; do
      printf '%-10s | %8.2f | %8.2f | %8.1f | %6s | %12s\n' "$tool" "${WALL[$tool]}" \
        "${CPU[$tool]}" "${PEAK[$tool]}" "${FILES[$tool]}" "${BROKEN[$tool]}"
    done
    echo
    echo "Site: $SITE_FILES files (pages + images + style sheets)."
    for tool in "${TOOLS[@]}"; do
      printf '%-10s %s of %s site files saved, %s missing, %s not in the site, %s images changed,\n' \
        "$tool:" "$((SITE_FILES - MISSING[$tool]))" "$SITE_FILES" "${MISSING[$tool]}" \
        "${EXTRA[$tool]}" "${CHANGED[$tool]}"
      printf '%-10s %s links still pointing at the server; exit status %s\n' "" "${LEFT[$tool]}" \
        "${STATUS[$tool]}"
    done
    echo
    echo "Commands:"
    for tool in "${TOOLS[@]}"; do echo "  ${CMDLINE[$tool]}"; done
    if [ -n "${WALL[quillorne]:-}" ]; then
      echo
      for tool in "${TOOLS[@]}"; do
        [ "$tool" = quillorne ] && continue
        awk -v q="${WALL[quillorne]}" -v p="${WALL[$tool]}" -v t="$tool" 'BEGIN {
          printf "Quillorne wall time / %s: %.2f\n", t, (p > 0 ? q / p : 0) }'
      done
    fi
  } | tee "$WORK/table.txt"
  if [ -n "$OUT_FILE" ]; then cp "$WORK/table.txt" "$OUT_FILE"; fi
}

main() {
  local tool
  for tool in "${TOOLS[@]}"; do
    [[ $KNOWN_TOOLS == *" $tool "* ]] || { echo "unknown tool '$tool' in MIRROR_TOOLS" >&2; exit 2; }
  done
  deps
  build
  WORK=$(mktemp -d "${TMPDIR:-/tmp}/qn-mirror.XXXXXX")
  trap cleanup EXIT
  PORT=$(free_port)
  BASE="http://127.0.0.1:$PORT"
  make_site
  serve
  for tool in "${TOOLS[@]}"; do run_tool "$tool"; done
  echo
  report
}

main "$@"
