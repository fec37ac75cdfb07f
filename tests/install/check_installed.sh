#!/bin/sh
# Runs installed programs as a user would, from PREFIX (an install prefix, or the usr folder of an
# unpacked package): orvane-cli on an example in an empty folder, then the panel started by the
# menu launcher in an empty home and worked by the click-through plugin found in PLUGINS
# (Set Register, Upload, Exit), which must start the installed viewer in the working folder.
set -u
prefix=$(cd "$1" && pwd -P) plugins=$2
work=$(mktemp -d) && work=$(cd "$work" && pwd -P)
viewer=
cleanup() {
    [ -z "$viewer" ] || kill "$viewer"
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
export PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen
unset ORVANE_PORT ORVANE_VCD ORVANE_SCENE XDG_DATA_HOME

mkdir "$work/shots" && cd "$work/shots" || exit 1
"$prefix/bin/orvane-cli" "$prefix/share/doc/orvane/examples/capture_yuv.txt" >trace.txt ||
    fail "orvane-cli in an empty folder"
[ "$(wc -c <testfile.bmp)" -eq 194742 ] || fail "testfile.bmp of orvane-cli"
# The PipeWire camera finds the library, and its user unit names it where it was installed.
"$prefix/bin/orvane-pipewire" --version | grep -q "^orvane-pipewire " || fail "orvane-pipewire"
grep -q "^ExecStart=/.*/bin/orvane-pipewire$" "$prefix/lib/systemd/user/orvane-pipewire.service" ||
    fail "the user unit of orvane-pipewire"

export HOME="$work/home"
folder="$HOME/.local/share/orvane"
mkdir "$HOME" && cd / || exit 1
QT_PLUGIN_PATH=$plugins QT_QPA_GENERIC_PLUGINS=orvaneclickthrough timeout 60 \
    "$prefix/libexec/orvane/orvane-launch" orvane-panel >"$work/trace" 2>"$work/errors" ||
    fail "panel from the launcher: $(cat "$work/errors")"
cat "$work/errors"
grep -qx "orvane: working folder $folder" "$work/errors" || fail "the launcher's working folder"
grep -qx 'click-through: message "All registers were set!"' "$work/errors" || fail "Set Register"
grep -qx 'click-through: press "E&xit"' "$work/errors" || fail "Exit"
[ -s "$work/trace" ] || fail "no bus trace"
cmp "$prefix/share/orvane/bmphead24" "$folder/bmphead24" || fail "template copied"
[ "$(wc -c <"$folder/testfile.bmp")" -eq 194742 ] || fail "testfile.bmp of the panel"
for _ in $(seq 50); do
    for process in /proc/[0-9]*; do
        if [ "$(readlink "$process/exe")" = "$prefix/libexec/orvane/monitor.exe" ] &&
            [ "$(readlink "$process/cwd")" = "$folder" ]; then
            viewer=${process#/proc/}
        fi
    done
    [ -z "$viewer" ] || break
    sleep 0.1
done
[ -n "$viewer" ] || fail "the installed viewer did not start in $folder"
echo "installed programs work from $prefix (viewer $viewer)"
