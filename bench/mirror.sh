#!/usr/bin/env bash
# Mirror benchmark: one synthetic site served on 127.0.0.1, copied in the same run by
# quillorne-cli and its peers, one after the other. For each copy: wall time, CPU
# time, peak memory, files saved against the site's, and the broken local links that
# quillorne-linkcheck finds from the copy's start page; then Quillorne's wall time as
# a ratio to each peer's.
#
# Two modes. Without latency nginx serves the site as fast as it can. With a latency
# of N ms, bench_slow_server waits N ms before every answer, as a distant server
# would, and the tools run at several thread counts; curl then fetches the site's
# known addresses with as many parallel connections, which shows what the server and
# the machine allow at all.
#
# The machines are shared and noisy, so every comparison can be repeated: each round
# runs every tool once, and the table shows each tool's median and the median of the
# rounds' ratios (a ratio compares two tools timed in the same round).
#
# Usage (from anywhere): bench/mirror.sh [--scale N] [--latency MS] [--threads "8 32 100"]
#                                        [--repeat N] [--tools "quillorne wget2"]
# Environment (the options set the same values):
#   MIRROR_SCALE                  site size as a multiple of the default (4: 36005 files)
#   MIRROR_PAGES, MIRROR_IMAGES   site size (default 3000 pages, 6000 images, times the scale)
#   MIRROR_FANOUT, MIRROR_LEVELS  folder tree shape (default 3 wide, 5 deep)
#   MIRROR_SEED                   generator seed (default 1)
#   MIRROR_LATENCY                ms the server waits before each answer (default 0: nginx)
#   MIRROR_THREADS                thread counts (default "8"; "8 32 100" with a latency)
#   MIRROR_REPEAT                 rounds (default 1)
#   MIRROR_TOOLS                  tools (default "quillorne wget wget2 httrack";
#                                 "quillorne wget2 curl" with a latency)
#   MIRROR_OUT                    also write the table to this file
#   MIRROR_TIMEOUT                seconds a tool may run before it is stopped (default 1800)
#   MIRROR_KEEP=1                 keep the work folder (site, copies, logs)
set -euo pipefail

while [ $# -gt 0 ]; do
  case "$1" in
    --scale) MIRROR_SCALE=$2 ;;
    --latency) MIRROR_LATENCY=$2 ;;
    --threads) MIRROR_THREADS=$2 ;;
    --repeat) MIRROR_REPEAT=$2 ;;
    --tools) MIRROR_TOOLS=$2 ;;
    *) echo "usage: $0 [--scale N] [--latency MS] [--threads LIST] [--repeat N] [--tools LIST]" >&2
       exit 2 ;;
  esac
  shift 2
done

# MIRROR_OUT is taken from the caller's folder, before the move to the repository.
OUT_FILE=${MIRROR_OUT:-}
if [ -n "$OUT_FILE" ] && [ "${OUT_FILE#/}" = "$OUT_FILE" ]; then OUT_FILE="$(pwd)/$OUT_FILE"; fi
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD_DIR=build-bench
SCALE=${MIRROR_SCALE:-1}
PAGES=${MIRROR_PAGES:-$((3000 * SCALE))}
IMAGES=${MIRROR_IMAGES:-$((6000 * SCALE))}
FANOUT=${MIRROR_FANOUT:-3}
LEVELS=${MIRROR_LEVELS:-5}
SEED=${MIRROR_SEED:-1}
LATENCY=${MIRROR_LATENCY:-0}
REPEAT=${MIRROR_REPEAT:-1}
TIMEOUT=${MIRROR_TIMEOUT:-1800}
if [ "$LATENCY" -gt 0 ]; then
  read -r -a THREAD_COUNTS <<<"${MIRROR_THREADS:-8 32 100}"
  read -r -a TOOLS <<<"${MIRROR_TOOLS:-quillorne wget2 curl}"
else
  read -r -a THREAD_COUNTS <<<"${MIRROR_THREADS:-8}"
  read -r -a TOOLS <<<"${MIRROR_TOOLS:-quillorne wget wget2 httrack}"
fi
KNOWN_TOOLS=" quillorne wget wget2 httrack curl "
# Tools without threads of their own run once a round, whatever the thread count.
SINGLE_THREADED=" wget "

# The peers and the timer; ./quillorne.sh deps adds what building quillorne-cli needs.
PEER_PACKAGES=(nginx wget wget2 httrack curl time python3)

WORK=""
SERVER_PID=""
PORT=""
BASE=""
SITE_FILES=0
# Keyed by "tool threads round" for the timings, by "tool threads" for the checks of
# the copy (the last round's).
declare -A WALL CPU PEAK FILES BROKEN STATUS MISSING EXTRA CHANGED LEFT CMDLINE

deps() {
  ./quillorne.sh deps "${PEER_PACKAGES[@]}"
}

# An optimised build: a debug build would measure the compiler's flags, not the program.
build() {
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
  cmake --build "$BUILD_DIR" -j 2 --target quillorne-cli quillorne-linkcheck bench_slow_server \
    >/dev/null
}

cleanup() {
  if [ -n "$SERVER_PID" ]; then
    kill "$SERVER_PID" 2>/dev/null || true
    wait "$SERVER_PID" 2>/dev/null || true
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
  # curl's list: every file of the site once, nothing kept.
  sed "s|.*|url = \"$BASE/&\"\noutput = \"/dev/null\"|" "$WORK/site.list" >"$WORK/curl.config"
}

wait_for_server() {
  local _
  for _ in $(seq 100); do
    /usr/bin/python3 -c "import urllib.request; urllib.request.urlopen('$BASE/index.html')" \
      2>/dev/null && return 0
    sleep 0.1
  done
  echo "the server did not answer on $BASE" >&2
  cat "$WORK/server.log" >&2 || true
  exit 1
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
events { worker_connections 1024; }
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
    -e "$WORK/server.log" &
  SERVER_PID=$!
  wait_for_server
}

# The delaying server: a thread per connection, so every answer waits its own time.
serve_slowly() {
  "$ROOT/$BUILD_DIR/bench/bench_slow_server" "$WORK/site" "$PORT" "$LATENCY" >"$WORK/server.log" 2>&1 &
  SERVER_PID=$!
  wait_for_server
}

# The command line of each tool, one argument a line (CMDLINE keeps them for the report).
tool_command() {
  local tool=$1 dir=$2 threads=$3
  case "$tool" in
    quillorne)
      # Every limit lifted: file count, total size, file size, time; no level limit
      # (and a level maximum that would not bind anyway). The project file keeps the
      # log out of the copy.
      printf '%s\n' "$ROOT/$BUILD_DIR/quillorne-cli" "$BASE/index.html" -o "$dir" \
        --save "$WORK/quillorne.qnp" --set "QN_THREADS=$threads" \
        --set QN_LIM_FQ=0 --set QN_LIM_DS=0 --set QN_LIM_MAXFS=0 --set QN_LIM_TIME=0 \
        --set QN_LIM_L=0 --set QN_MAX_L=32000 --set QN_UPDLINKS=1
      ;;
    wget)
      printf '%s\n' wget -m -k -p -np -nv -P "$dir" "$BASE/index.html"
      ;;
    wget2)
      printf '%s\n' wget2 -m -k "--max-threads=$threads" --no-verbose -P "$dir" "$BASE/index.html"
      ;;
    httrack)
      # Its built-in limits would throttle it: besides --disable-security-limits, 0 lifts
      # the transfer rate (-A) and connections per second (-%c) caps, which otherwise
      # hold it to about one round of requests a second.
      printf '%s\n' httrack "$BASE/index.html" -O "$dir" -q "-c$threads" --disable-security-limits \
        -A0 -%c0 -#L10000000
      ;;
    curl)
      # Not a copier: the addresses are known beforehand and nothing is scanned or kept.
      printf '%s\n' curl --parallel --parallel-max "$threads" --no-progress-meter -K "$WORK/curl.config"
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
# conversion then confirms itself) and gathers its numbers; the copy is checked and
# then removed, so that rounds of large sites do not fill the disk.
run_tool() {
  local tool=$1 threads=$2 round=$3 key="$1 $2 $3" dir="$WORK/copy-$1" status=0 cmd=()
  rm -rf "$dir"
  mapfile -t cmd < <(tool_command "$tool" "$dir" "$threads")
  CMDLINE[$tool]="${cmd[*]}"
  mkdir -p "$dir"
  echo "== round $round, $threads threads, $tool: ${cmd[*]}"
  # A hung tool is stopped (exit status 124) so that the others still get measured.
  /usr/bin/time -v -o "$WORK/$tool.time" timeout -k 30 "$TIMEOUT" "${cmd[@]}" \
    </dev/null >"$WORK/$tool.out" 2>&1 || status=$?
  STATUS["$tool $threads"]=$status
  tail -n 3 "$WORK/$tool.out" | sed 's/^/   /'

  local t="$WORK/$tool.time"
  WALL[$key]=$(awk -F': ' '/Elapsed \(wall clock\)/ {
      n = split($2, p, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + p[i]; print s }' "$t")
  CPU[$key]=$(awk -F': ' '/User time/ {u = $2} /System time/ {s = $2} END {printf "%.2f", u + s}' "$t")
  PEAK[$key]=$(awk -F': ' '/Maximum resident set size/ {printf "%.1f", $2 / 1024}' "$t")
  echo "   wall ${WALL[$key]} s, CPU ${CPU[$key]} s, peak ${PEAK[$key]} MB"
  check_copy "$tool" "$threads" "$dir"
  [ "${MIRROR_KEEP:-0}" = 1 ] || rm -rf "$dir"
}

# Files saved, missing, extra and changed, links left pointing at the server and
# broken local links of one copy.
check_copy() {
  local tool=$1 k="$1 $2" dir=$3 root
  if [ "$tool" = curl ]; then
    FILES[$k]="-"
    BROKEN[$k]="-"
    MISSING[$k]=0 EXTRA[$k]=0 CHANGED[$k]=0 LEFT[$k]=0
    return
  fi
  if ! root=$(copy_root "$dir"); then
    FILES[$k]=$(find "$dir" -type f | wc -l)
    BROKEN[$k]="no copy"
    MISSING[$k]=$SITE_FILES
    EXTRA[$k]=0 CHANGED[$k]=0 LEFT[$k]=0
    return
  fi
  FILES[$k]=$(find "$root" -type f | wc -l)
  (cd "$root" && find . -type f | sed 's|^\./||' | sort) >"$WORK/$tool.list"
  MISSING[$k]=$(comm -23 "$WORK/site.list" "$WORK/$tool.list" | wc -l)
  EXTRA[$k]=$(comm -13 "$WORK/site.list" "$WORK/$tool.list" | wc -l)
  # Images must arrive byte for byte; pages and style sheets differ by conversion.
  CHANGED[$k]=$( (diff -rq "$WORK/site" "$root" || true) | grep -cE '\.(png|gif) differ$' || true)
  # quillorne-linkcheck does not count links to the network, so a full address that
  # conversion left pointing at the server would pass unseen: count those here.
  LEFT[$k]=$( (grep -rhoa --include='*.html' --include='*.css' "$BASE/" "$root" || true) | wc -l)
  if [ ! -f "$root/index.html" ]; then
    BROKEN[$k]="no start page"
    return
  fi
  local summary
  "$ROOT/$BUILD_DIR/quillorne-linkcheck" "$root" "$root/index.html" >"$WORK/$tool.broken" || true
  summary=$(tail -n 1 "$WORK/$tool.broken")
  echo "   linkcheck: $summary"
  BROKEN[$k]=$(sed -n 's/.*broken \([0-9]*\).*/\1/p' <<<"$summary")
  [ -n "${BROKEN[$k]}" ] || BROKEN[$k]="?"
}

# The median of the numbers given as arguments.
median() {
  printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END {
    if (NR == 0) { print 0; exit }
    m = int((NR + 1) / 2); print (NR % 2 ? v[m] : (v[m] + v[m + 1]) / 2) }'
}

# The values of one table for a tool at a thread count, over all rounds.
values_of() {
  local -n table=$1
  local r
  for r in $(seq "$REPEAT"); do echo "${table["$2 $3 $r"]}"; done
}

# The thread count a tool's numbers were taken at: single-threaded tools run once,
# at the first count.
measured_at() {
  if [[ $SINGLE_THREADED == *" $1 "* ]]; then echo "${THREAD_COUNTS[0]}"; else echo "$2"; fi
}

report() {
  local tool threads at r
  {
    if [ "$LATENCY" -gt 0 ]; then
      echo "Latency mode: the server waits $LATENCY ms before every answer."
    else
      echo "nginx on 127.0.0.1, no added latency."
    fi
    echo "Site: $SITE_FILES files (pages + images + style sheets); $REPEAT round(s), medians shown."
    for threads in "${THREAD_COUNTS[@]}"; do
      echo
      echo "$threads threads:"
      printf '%-10s | %8s | %8s | %8s | %6s | %12s\n' tool "wall s" "CPU s" "peak MB" files \
        "broken links"
      printf '%s\n' "-----------+----------+----------+----------+--------+-------------"
      for tool in "${TOOLS[@]}"; do
        at=$(measured_at "$tool" "$threads")
        printf '%-10s | %8.2f | %8.2f | %8.1f | %6s | %12s\n' "$tool" \
          "$(median $(values_of WALL "$tool" "$at"))" "$(median $(values_of CPU "$tool" "$at"))" \
          "$(median $(values_of PEAK "$tool" "$at"))" "${FILES["$tool $at"]}" \
          "${BROKEN["$tool $at"]}"
      done
      if [[ " ${TOOLS[*]} " == *" quillorne "* ]]; then
        for tool in "${TOOLS[@]}"; do
          [ "$tool" = quillorne ] && continue
          at=$(measured_at "$tool" "$threads")
          local ratios=()
          for r in $(seq "$REPEAT"); do
            ratios+=("$(awk -v q="${WALL["quillorne $threads $r"]}" -v p="${WALL["$tool $at $r"]}" \
              'BEGIN { printf "%.3f", (p > 0 ? q / p : 0) }')")
          done
          printf 'Quillorne wall time / %s: %.2f (rounds: %s)\n' "$tool" "$(median "${ratios[@]}")" \
            "${ratios[*]}"
        done
      fi
    done
    echo
    for threads in "${THREAD_COUNTS[@]}"; do
      for tool in "${TOOLS[@]}"; do
        at=$(measured_at "$tool" "$threads")
        [ "$at" = "$threads" ] || continue
        [ "$tool" = curl ] && continue
        local k="$tool $threads"
        printf '%-10s %3s threads: %s of %s site files saved, %s missing, %s not in the site,\n' \
          "$tool:" "$threads" "$((SITE_FILES - MISSING[$k]))" "$SITE_FILES" "${MISSING[$k]}" \
          "${EXTRA[$k]}"
        printf '%-10s %s images changed, %s links still pointing at the server; exit status %s\n' \
          "" "${CHANGED[$k]}" "${LEFT[$k]}" "${STATUS[$k]}"
      done
    done
    echo
    echo "Commands (the last round's):"
    for tool in "${TOOLS[@]}"; do echo "  ${CMDLINE[$tool]}"; done
  } | tee "$WORK/table.txt"
  if [ -n "$OUT_FILE" ]; then cp "$WORK/table.txt" "$OUT_FILE"; fi
}

main() {
  local tool threads round
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
  if [ "$LATENCY" -gt 0 ]; then serve_slowly; else serve; fi
  # Each round runs every tool once, so that the tools of one round share the
  # machine's mood.
  for round in $(seq "$REPEAT"); do
    for threads in "${THREAD_COUNTS[@]}"; do
      for tool in "${TOOLS[@]}"; do
        [ "$(measured_at "$tool" "$threads")" = "$threads" ] || continue
        run_tool "$tool" "$threads" "$round"
      done
    done
  done
  echo
  report
}

main "$@"
