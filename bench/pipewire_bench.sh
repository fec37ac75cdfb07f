#!/bin/sh
# CPU a frame of orvane-pipewire serving a pipewiresrc consumer, against orvanesrc ! fakesink,
# both on the simulated module's reference frames at CIF in RGB and both at about 30 frames a
# second (the node's rate; orvanesrc waits after each frame): the node's process CPU while it
# serves FRAMES frames, and gst-launch's for FRAMES frames less its cost for a few (its start).
# Rounds alternate the two, and the medians are compared. Runs on a PipeWire of its own.
# Usage: bench/pipewire_bench.sh [BUILD] [FRAMES] [ROUNDS]
set -eu
build=$(cd "${1:-build}" && pwd)
frames=${2:-300}
rounds=${3:-5}
if [ -z "${ORVANE_BENCH_SESSION:-}" ]; then
    runtime=$(mktemp -d)
    trap 'rm -rf "$runtime"' EXIT
    XDG_RUNTIME_DIR=$runtime ORVANE_BENCH_SESSION=1 exec dbus-run-session -- \
        "$0" "$build" "$frames" "$rounds" 2>/dev/null
fi

ticks=$(getconf CLK_TCK)
few=10
# utime + stime of a running process, in seconds.
cpu_of() { awk -v ticks="$ticks" '{ print ($14 + $15) / ticks }' "/proc/$1/stat"; }
# User and system seconds of a command, from the shell's own account of its children.
cpu_of_command() {
    ("$@" >/dev/null 2>&1; times) | tail -1 |
        awk '{ split($0, t, /[ms ]+/); print 60 * t[1] + t[2] + 60 * t[3] + t[4] }'
}
orvanesrc() {
    GST_PLUGIN_PATH=$build/gst cpu_of_command gst-launch-1.0 -q orvanesrc device=sim:reference \
        num-buffers="$1" ! identity sleep-time=28000 ! fakesink sync=false
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

pipewire >/dev/null 2>&1 &
daemons=$!
wireplumber >/dev/null 2>&1 &
daemons="$daemons $!"
until pw-cli info 0 >/dev/null 2>&1; do sleep 0.1; done
"$build/bin/orvane-pipewire" --device sim:reference 2>/dev/null &
node=$!
until pw-cli info orvane-camera >/dev/null 2>&1; do sleep 0.1; done
sleep 0.5

: >"$XDG_RUNTIME_DIR/node" && : >"$XDG_RUNTIME_DIR/element"
for _ in $(seq "$rounds"); do
    before=$(cpu_of $node)
    gst-launch-1.0 -q pipewiresrc target-object=orvane-camera num-buffers="$frames" ! \
        video/x-raw,format=RGB,width=312,height=208 ! fakesink sync=false
    echo "$(cpu_of $node) $before" | awk -v n="$frames" '{ print 1000 * ($1 - $2) / n }' \
        >>"$XDG_RUNTIME_DIR/node"
    echo "$(orvanesrc "$frames") $(orvanesrc $few)" |
        awk -v n="$frames" -v few=$few '{ print 1000 * ($1 - $2) / (n - few) }' \
            >>"$XDG_RUNTIME_DIR/element"
done
kill -TERM $node $daemons
wait

node_ms=$(median <"$XDG_RUNTIME_DIR/node")
element_ms=$(median <"$XDG_RUNTIME_DIR/element")
echo "orvane-pipewire: $(tr '\n' ' ' <"$XDG_RUNTIME_DIR/node")ms CPU a frame"
echo "orvanesrc:       $(tr '\n' ' ' <"$XDG_RUNTIME_DIR/element")ms CPU a frame"
awk -v node="$node_ms" -v element="$element_ms" -v rounds="$rounds" -v frames="$frames" 'BEGIN {
    printf "medians over %d rounds of %d frames: orvane-pipewire %.2f ms, orvanesrc %.2f ms (%+.1f%%)\n",
        rounds, frames, node, element, 100 * (node / element - 1)
}'
