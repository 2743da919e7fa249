#!/usr/bin/env bash
# The fetcher against curl on the same nginx in the same run: one 200 MB file and
# 2000 files of 10 KB from 127.0.0.1. Usage: bench/fetch_bench.sh [bench_fetch binary]
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
bin="${1:-${QN_BUILD_DIR:-$here/../build}/bench/bench_fetch}"
[ -x "$bin" ] || { echo "build bench_fetch first (missing $bin)" >&2; exit 1; }

if ! command -v nginx >/dev/null && [ ! -x /usr/sbin/nginx ]; then
  apt-get install -y nginx-light >/dev/null
fi
nginx_bin="$(command -v nginx || echo /usr/sbin/nginx)"

work="$(mktemp -d "${TMPDIR:-/tmp}/qnbench.XXXXXX")"
nginx_pid=""
cleanup() {
  [ -n "$nginx_pid" ] && kill "$nginx_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

site="$work/site"
mkdir -p "$site/small" "$work/logs"
head -c $((200 * 1024 * 1024)) /dev/urandom > "$site/big.bin"
head -c 10240 /dev/urandom > "$work/seed"
for i in $(seq 0 1999); do cp "$work/seed" "$(printf "%s/small/f%04d.bin" "$site" "$i")"; done
# nginx's workers drop to an unprivileged user: they must be able to read the site.
chmod -R a+rX "$work"

port="$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')"
cat > "$work/nginx.conf" <<CONF
worker_processes 1;
daemon off;
pid $work/nginx.pid;
error_log $work/logs/error.log;
events { worker_connections 64; }
http {
  access_log off;
  sendfile on;
  keepalive_requests 100000;
  client_body_temp_path $work/logs;
  proxy_temp_path $work/logs;
  fastcgi_temp_path $work/logs;
  uwsgi_temp_path $work/logs;
  scgi_temp_path $work/logs;
  server { listen 127.0.0.1:$port; root $site; }
}
CONF
"$nginx_bin" -c "$work/nginx.conf" -p "$work" &
nginx_pid=$!
for _ in $(seq 100); do
  curl -s -o /dev/null "http://127.0.0.1:$port/small/f0000.bin" && break
  sleep 0.05
done

base="http://127.0.0.1:$port"
now() { date +%s.%N; }

# One large file.
mkdir -p "$work/q1" "$work/c1"
read -r q_big_s _ < <("$bin" "$base" big "$work/q1")
t0=$(now); curl -s -o "$work/c1/big.bin" "$base/big.bin"; t1=$(now)
c_big_s=$(echo "$t1 - $t0" | bc -l)
cmp -s "$site/big.bin" "$work/q1/big.bin" || { echo "fetcher copy differs" >&2; exit 1; }

# Many small files, one connection each way.
mkdir -p "$work/q2" "$work/c2/small"
read -r q_many_s _ < <("$bin" "$base" many 2000 "$work/q2")
for i in $(seq 0 1999); do
  f=$(printf "small/f%04d.bin" "$i")
  printf 'url = "%s/%s"\noutput = "%s/c2/%s"\n' "$base" "$f" "$work" "$f"
done > "$work/curl.cfg"
t0=$(now); curl -s -K "$work/curl.cfg"; t1=$(now)
c_many_s=$(echo "$t1 - $t0" | bc -l)

mb=200
awk -v q="$q_big_s" -v c="$c_big_s" -v mb="$mb" 'BEGIN {
  printf "200 MB file:   fetcher %7.1f MB/s   curl %7.1f MB/s   ratio %.2f\n", mb/q, mb/c, c/q }'
awk -v q="$q_many_s" -v c="$c_many_s" 'BEGIN {
  printf "2000 x 10 KB:  fetcher %7.0f files/s curl %7.0f files/s ratio %.2f\n", 2000/q, 2000/c, c/q }'
