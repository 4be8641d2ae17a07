#!/bin/bash
# Usage (under Xvfb): xvfb-run -a -s "-screen 0 1280x1024x24" scripts/update-demo.sh [build-dir] [shots-dir]
# Needs the test build (update_test_server, sleevix), xdotool and imagemagick.
# Drives Sleevix's update check under Xvfb against a loopback HTTPS server.
set -u
B=${1:-$(cd "$(dirname "$0")/.." && pwd)/build/test}
D=/tmp/upd-demo; rm -rf $D; mkdir -p $D/www $D/home $D/Downloads
SHOTS=${2:-/tmp/update-shots}; mkdir -p "$SHOTS"
shot() { sleep 0.6; import -window root "$SHOTS/$1.png"; }
list() { printf '%s\r\n' "Other,other200.exe,a,100,-" "$1" "Another,another310.exe,,250,-" > $D/www/versions.dat; }
# The test installer writes its parameters into a file; padded to 3 MB so the gauge has work.
{ printf '#!/bin/sh\necho "$@" > %s/installer-ran-with\nexit 0\n' $D; head -c 3000000 /dev/zero | tr '\0' '\n'; } > $D/www/sleevix111.exe
coproc SERVER { $B/tests/server/update_test_server --folder $D/www --certificates $D/certs --rate 1000000; }
read -r _ PORT <&"${SERVER[0]}"; read -r _ CA <&"${SERVER[0]}"
echo "server port $PORT"
export HOME=$D/home XDG_CONFIG_HOME=$D/home/.config XDG_DATA_HOME=$D/home/.local/share XDG_DOWNLOAD_DIR=$D/Downloads
export LANG=en_US.UTF-8
mkdir -p $D/home/.config; echo "XDG_DOWNLOAD_DIR=\"$D/Downloads\"" > $D/home/.config/user-dirs.dirs
cp /usr/bin/sleep $B/Sleevix_Sched; $B/Sleevix_Sched 600 & COMPANION=$!
cd $B
SLEEVIX_UPDATE_SERVER=https://127.0.0.1:$PORT SLEEVIX_UPDATE_CA=$CA ./sleevix & APP=$!
sleep 4
MAIN=$(xdotool search --name "^Sleevix - " | head -1)
xdotool windowmove $MAIN 0 0; sleep 0.5
check() {  # opens the options, presses Check Now; leaves the update window open
  xdotool mousemove 603 65 click 1; sleep 1.5
  OPT=$(xdotool search --name "Sleevix - " | while read w; do n=$(xdotool getwindowname $w); [ "$n" != "$(xdotool getwindowname $MAIN)" ] && echo $w; done | head -1)
  eval $(xdotool getwindowgeometry --shell $OPT)
  xdotool mousemove $((X+148)) $((Y+197)) click 1; sleep 2.5
  UPD=$(xdotool search --name "Sleevix - Update" | head -1)
}
close_all() {  # closes the update window, then the options with Cancel (Escape)
  eval $(xdotool getwindowgeometry --shell $UPD); xdotool mousemove $((X+320)) $((Y+225)) click 1; sleep 0.8
  xdotool key Escape; sleep 0.8
}
list "Sleevix,sleevix110.exe,c,2350,-"; check; shot 0-up-to-date; close_all
rm $D/www/versions.dat; check; shot 1-no-reply; close_all
printf 'Sleevix,sleevix111.exe,d,2350,-\r\n' | head -c 49 > $D/www/versions.dat; check; shot 2-list-too-small; close_all
list "Unrelated,unrelated1.exe,,1,-"; check; shot 3-not-listed; close_all
list "Sleevix,sleevix111.exe,d,2930,-"; check; shot 4-update-advised
eval $(xdotool getwindowgeometry --shell $UPD)
xdotool mousemove $((X+114)) $((Y+225)) click 1; sleep 1.2; shot 4a-downloading-gauge-moving; sleep 0.8; shot 4b-downloading-later
sleep 2; shot 4c-downloaded-install-offered
ls -la $D/Downloads
xdotool mousemove $((X+320)) $((Y+225)) click 1; sleep 0.3; shot 4d-install-started
for i in $(seq 1 30); do kill -0 $APP 2>/dev/null || break; sleep 0.2; done
kill -0 $APP 2>/dev/null && echo "PROGRAM STILL RUNNING" || echo "program ended"
kill -0 $COMPANION 2>/dev/null && echo "COMPANION STILL RUNNING" || echo "companion ended"
echo "installer ran with: $(cat $D/installer-ran-with 2>/dev/null)"
# Ping time-out: no ping program on the PATH and nothing listening at the server's port.
PATH=/nonexistent SLEEVIX_UPDATE_SERVER=https://127.0.0.1:1 SLEEVIX_UPDATE_CA=$CA ./sleevix & APP2=$!
sleep 4; MAIN=$(xdotool search --name "^Sleevix - " | head -1); xdotool windowmove $MAIN 0 0; sleep 0.5
check; shot 5-ping-timeout; close_all
kill $APP2; kill $SERVER_PID; wait
rm -f $B/Sleevix_Sched
