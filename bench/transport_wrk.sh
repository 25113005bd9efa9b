#!/usr/bin/env bash
# Load test of the HTTP transport against nginx, side by side, on loopback only.
#
#   bench/transport_wrk.sh [BUILD_DIR] [SECONDS_PER_POINT]
#
# Starts bench_transport_server (the application's HTTP server with a hook answering a
# fixed 300-byte page through the full packet path) and Debian's nginx (its own config
# in a temporary directory, one worker, the same 300 bytes, "Connection: close"), both
# on 127.0.0.1, then runs wrk with -H "Connection: close" at 16, 64 and 256 connections
# against each, SECONDS_PER_POINT (default 10) per run. Then it opens 1,000 idle
# connections to each server and reports resident memory and thread count.
# Installs wrk and nginx with apt-get when they are missing. Everything it starts is
# stopped on exit.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
seconds=${2:-10}
server_bin=$build/bin/bench_transport_server
connections=(16 64 256)
idle_count=1000

if [ ! -x "$server_bin" ]; then
  echo "missing $server_bin: cmake --build $build --target bench_transport_server" >&2
  exit 1
fi

missing=()
command -v wrk >/dev/null 2>&1 || missing+=(wrk)
[ -x /usr/sbin/nginx ] || missing+=(nginx)
if ((${#missing[@]})); then
  echo "installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

tmp=$(mktemp -d /tmp/orv-transport-bench.XXXXXX)
server_pid=""
nginx_pid=""
idle_pid=""
cleanup() {
  for pid in $idle_pid $server_pid $nginx_pid; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in $idle_pid $server_pid $nginx_pid; do
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$tmp"
}
trap cleanup EXIT

free_port() {
  python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'
}

wait_for_port() {
  for _ in $(seq 1 100); do
    if python3 -c "import socket,sys; socket.create_connection(('127.0.0.1',$1),1).close()" 2>/dev/null; then
      return 0
    fi
    sleep 0.1
  done
  echo "nothing listens on port $1" >&2
  return 1
}

# --- the transport ----------------------------------------------------------------
mkdir -p "$tmp/www"
"$server_bin" --port 0 --port-file "$tmp/port" --page-file "$tmp/www/index.html" >"$tmp/server.log" 2>&1 &
server_pid=$!
for _ in $(seq 1 100); do [ -s "$tmp/port" ] && break; sleep 0.1; done
orv_port=$(cat "$tmp/port")
wait_for_port "$orv_port"

# --- nginx with its own configuration ---------------------------------------------
nginx_port=$(free_port)
mkdir -p "$tmp/nginx"
user_line=""
[ "$(id -u)" -eq 0 ] && user_line="user root;"
cat >"$tmp/nginx/nginx.conf" <<CONF
$user_line
worker_processes 1;
daemon off;
pid $tmp/nginx/nginx.pid;
error_log $tmp/nginx/error.log;
events { worker_connections 4096; }
http {
  access_log off;
  keepalive_timeout 0;
  sendfile on;
  default_type text/html;
  client_body_temp_path $tmp/nginx/body;
  proxy_temp_path $tmp/nginx/proxy;
  fastcgi_temp_path $tmp/nginx/fastcgi;
  uwsgi_temp_path $tmp/nginx/uwsgi;
  scgi_temp_path $tmp/nginx/scgi;
  server {
    listen 127.0.0.1:$nginx_port backlog=511;
    root $tmp/www;
  }
}
CONF
/usr/sbin/nginx -c "$tmp/nginx/nginx.conf" -p "$tmp/nginx" >"$tmp/nginx/stdout.log" 2>&1 &
nginx_pid=$!
wait_for_port "$nginx_port"

echo "transport on 127.0.0.1:$orv_port (pid $server_pid), nginx on 127.0.0.1:$nginx_port (pid $nginx_pid)"
echo "page: $(wc -c <"$tmp/www/index.html") bytes; wrk -t2 -d${seconds}s --latency -H \"Connection: close\""
echo

# CPU time (user + system, in clock ticks) used so far by the given processes: a
# figure the other programs on a shared machine do not distort the way they distort
# requests per second.
cpu_ticks() {
  local total=0 pid
  for pid in "$@"; do
    total=$((total + $(awk '{print $14 + $15}' "/proc/$pid/stat")))
  done
  echo "$total"
}
server_pids() {  # name -> pids
  if [ "$1" = transport ]; then echo "$server_pid"; else echo "$nginx_pid $(pgrep -P "$nginx_pid" | tr '\n' ' ')"; fi
}

run_wrk() {  # name port connections
  local out="$tmp/wrk-$1-$3.txt"
  local pids ticks0 ticks1
  pids=$(server_pids "$1")
  # shellcheck disable=SC2086
  ticks0=$(cpu_ticks $pids)
  wrk -t2 -c"$3" -d"${seconds}s" --latency -H "Connection: close" "http://127.0.0.1:$2/index.html" >"$out" 2>&1
  # shellcheck disable=SC2086
  ticks1=$(cpu_ticks $pids)
  local rps p50 p90 p99 errors non2xx
  rps=$(awk '/^Requests\/sec:/ {print $2}' "$out")
  p50=$(awk '$1=="50%" {print $2}' "$out")
  p90=$(awk '$1=="90%" {print $2}' "$out")
  p99=$(awk '$1=="99%" {print $2}' "$out")
  errors=$(awk '/Socket errors/ {sub(/.*Socket errors: /,""); print}' "$out")
  non2xx=$(awk '/Non-2xx/ {print $NF}' "$out")
  local total cpu_us
  total=$(awk '/requests in/ {print $1}' "$out")
  cpu_us=$(awk -v t=$((ticks1 - ticks0)) -v hz="$(getconf CLK_TCK)" -v n="$total" \
    'BEGIN { if (n > 0) printf "%.1f", t * 1e6 / hz / n; else print "-" }')
  printf '%-9s %5s %12s %10s %10s %10s %12s  %s%s\n' "$1" "$3" "$rps" "$p50" "$p90" "$p99" "$cpu_us" \
    "${errors:-no socket errors}" "${non2xx:+, non-2xx: $non2xx}"
  echo "$rps" >"$tmp/rps-$1-$3"
  echo "$cpu_us" >"$tmp/cpu-$1-$3"
}

printf '%-9s %5s %12s %10s %10s %10s %12s  %s\n' server conns "requests/s" p50 p90 p99 "CPU us/req" errors
for c in "${connections[@]}"; do
  run_wrk transport "$orv_port" "$c"
  run_wrk nginx "$nginx_port" "$c"
done
echo
for c in "${connections[@]}"; do
  awk -v a="$(cat "$tmp/rps-transport-$c")" -v b="$(cat "$tmp/rps-nginx-$c")" -v c="$c" \
    -v x="$(cat "$tmp/cpu-transport-$c")" -v y="$(cat "$tmp/cpu-nginx-$c")" \
    'BEGIN { printf "ratio transport/nginx at %3d connections: %.2f of the requests per second, %.2f times the CPU per request\n", c, a / b, x / y }'
done
echo

# --- 1,000 idle connections -------------------------------------------------------
status_of() {  # pid -> "rss_kib threads"
  awk '/^VmRSS:/ {r=$2} /^Threads:/ {t=$2} END {print r, t}' "/proc/$1/status"
}
nginx_worker() { pgrep -P "$nginx_pid" | head -1; }

idle_measure() {  # name port pid...
  local name=$1 port=$2
  shift 2
  local before after
  before=$(for p in "$@"; do status_of "$p"; done | awk '{r+=$1; t+=$2} END {print r, t}')
  python3 - "$port" "$idle_count" >"$tmp/idle.out" 2>&1 <<'PY' &
import socket, sys, time
port, count = int(sys.argv[1]), int(sys.argv[2])
held = [socket.create_connection(("127.0.0.1", port)) for _ in range(count)]
print("open", len(held), flush=True)
time.sleep(600)
PY
  idle_pid=$!
  for _ in $(seq 1 200); do grep -q '^open' "$tmp/idle.out" 2>/dev/null && break; sleep 0.1; done
  sleep 2  # let the server take every connection from its queue
  after=$(for p in "$@"; do status_of "$p"; done | awk '{r+=$1; t+=$2} END {print r, t}')
  kill "$idle_pid" 2>/dev/null || true
  wait "$idle_pid" 2>/dev/null || true
  idle_pid=""
  read -r rss0 thr0 <<<"$before"
  read -r rss1 thr1 <<<"$after"
  printf '%-9s idle: RSS %6d KiB -> %6d KiB with %d connections (%+.1f KiB each), threads %d -> %d\n' \
    "$name" "$rss0" "$rss1" "$idle_count" "$(awk -v a="$rss0" -v b="$rss1" -v n="$idle_count" 'BEGIN{print (b-a)/n}')" \
    "$thr0" "$thr1"
}

idle_measure transport "$orv_port" "$server_pid"
idle_measure nginx "$nginx_port" "$nginx_pid" "$(nginx_worker)"
