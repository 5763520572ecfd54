#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Quelmo's tray in Waybar, a StatusNotifier host we did not write, on a
# headless sway (run as the unprivileged user "wltest" when the tests run as
# root) with a private session bus and a virtual pointer. The menu is read
# over D-Bus before it was ever opened, a left click opens it (and no window
# of Quelmo's), and the icon reads on a light and on a dark bar.
# With QUELMO_SCREENSHOTS=DIR the bar with its open menu is kept as
# DIR/waybar-{light,dark}.png.
set -uo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
source "$here/harness.sh"
need_tools sway:sway waybar:waybar grim:grim dbus-send:dbus convert:imagemagick
harness_init "$1"
clicker="$build/tests/support/pointer-clicks"
# The pointer hides itself between clicks, so it does not cover the icon in
# the screenshots.
start_sway "default_border none" "seat * hide_cursor 300"

fresh_user
start_bus
unset DISPLAY
export WAYLAND_DISPLAY="$socket" SWAYSOCK="$swaysock" XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=sway
# Quelmo as a native Wayland client, so a stray window of its would show in
# sway's tree; without Qt's Wayland plugin it cannot be one at all.
if [ -n "$(find /usr/lib -path '*qt6/plugins/platforms/libqwayland-generic.so' 2>/dev/null | head -1)" ]; then
  export QT_QPA_PLATFORM=wayland
else
  export QT_QPA_PLATFORM=offscreen
fi

mkfifo "$work/clicks"
"$clicker" <"$work/clicks" >"$work/clicks.out" 2>&1 &
pids+=($!)
exec 7>"$work/clicks"
click() { echo "click $1 $2" >&7; }

# Waybar with the tray alone at the left of a 30 pixel bar.
mkdir -p "$work/waybar"
cat >"$work/waybar/config" <<'CONF'
{ "layer": "top", "position": "top", "height": 30,
  "modules-left": ["tray"], "tray": { "icon-size": 22, "spacing": 8 } }
CONF
style() { # style BAR TEXT MENU MENU_TEXT
  cat >"$work/waybar/style.css" <<CSS
* { font-family: sans-serif; font-size: 13px; }
window#waybar { background: $1; color: $2; }
#tray { padding: 0 6px; color: $2; }
menu, menuitem { background: $3; color: $4; }
menuitem:disabled, menuitem:disabled label { color: #8e8e93; }
CSS
}
start_waybar() {
  GDK_BACKEND=wayland waybar -c "$work/waybar/config" -s "$work/waybar/style.css" \
    >>"$work/waybar.log" 2>&1 &
  waybar_pid=$!
  pids+=("$waybar_pid")
}
stop_waybar() { kill "$waybar_pid" 2>/dev/null; wait "$waybar_pid" 2>/dev/null; }

shot() { grim -t png "$1" 2>/dev/null; }
# The darkest and the lightest grey in the icon's square, and the bar's grey.
icon_darkest() { convert "$1" -crop 26x26+4+2 -colorspace Gray -format '%[fx:minima.r]' info:; }
icon_lightest() { convert "$1" -crop 26x26+4+2 -colorspace Gray -format '%[fx:maxima.r]' info:; }
bar_tone() { convert "$1" -crop 200x4+600+26 -colorspace Gray -format '%[fx:mean]' info:; }
changed_box() { # the area that differs between two screenshots: "W H X Y"
  convert "$1" "$2" -compose difference -composite -colorspace Gray -threshold 8% -trim \
    -format '%w %h %[fx:page.x] %[fx:page.y]' info: 2>/dev/null
}
sni_service() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.ListNames | grep -o 'org.kde.StatusNotifierItem-[0-9-]*' | head -1
}

style "#f6f5f4" "#1c1c1e" "#ffffff" "#1c1c1e"
start_waybar
start_quelmo
wait_for 20 "launched; motion authorization authorized" && ok "Quelmo starts" || not_ok "Quelmo starts"
has_item() { [ -n "$(sni_service)" ]; }
wait_until 20 has_item && ok "Quelmo's tray item is on the bus" ||
  not_ok "Quelmo's tray item is on the bus"
service="$(sni_service)"
registered() {
  dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
    org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher \
    string:RegisteredStatusNotifierItems 2>/dev/null | grep -q "$service"
}
wait_until 20 registered && ok "Waybar's watcher has the item" || not_ok "Waybar's watcher has the item"

layout="$(dbus-send --session --print-reply --dest="$service" /MenuBar \
  com.canonical.dbusmenu.GetLayout int32:0 int32:-1 array:string: 2>&1)"
grep -q '"Waiting for your' <<<"$layout" && grep -q 'Put them in your ears' <<<"$layout" &&
  ok "before any open the published menu holds the status and its detail" ||
  not_ok "before any open the published menu holds the status and its detail ($layout)"
is_menu="$(dbus-send --session --print-reply --dest="$service" /StatusNotifierItem \
  org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierItem string:ItemIsMenu 2>&1)"
grep -q 'boolean true' <<<"$is_menu" && ok "the item is a menu" || not_ok "the item is a menu"

sleep 2 # Waybar draws the icon
for tone in light dark; do
  if [ "$tone" = dark ]; then
    stop_waybar
    style "#1e1e20" "#f2f2f7" "#2b2b2e" "#f2f2f7"
    start_waybar
    wait_until 20 registered
    sleep 2
  fi
  shot "$work/$tone-closed.png"
  bar="$(bar_tone "$work/$tone-closed.png")"
  if [ "$tone" = light ]; then
    ink="$(icon_darkest "$work/$tone-closed.png")"
    awk -v i="$ink" -v b="$bar" 'BEGIN { exit !(b > 0.8 && b - i > 0.3) }'
  else
    ink="$(icon_lightest "$work/$tone-closed.png")"
    awk -v i="$ink" -v b="$bar" 'BEGIN { exit !(b < 0.2 && i - b > 0.3) }'
  fi && ok "the icon reads on a $tone bar (icon $ink, bar $bar)" ||
    not_ok "the icon reads on a $tone bar (icon $ink, bar $bar)"
  click 17 15
  sleep 1.5
  shot "$work/$tone-open.png"
  read -r width height x _ <<<"$(changed_box "$work/$tone-closed.png" "$work/$tone-open.png")"
  [ "${height:-0}" -gt 100 ] && [ "${width:-0}" -gt 150 ] &&
    ok "a left click opens the menu on the $tone bar (${width:-?}x${height:-?} at x ${x:-?})" ||
    not_ok "a left click opens the menu on the $tone bar (${width:-?}x${height:-?} at x ${x:-?})"
  [ -n "${width:-}" ] && [ $((x + width)) -lt 1270 ] &&
    ok "the first open fits on the output" || not_ok "the first open fits on the output"
  windows="$(swaymsg -t get_tree 2>/dev/null | grep -c '"app_id"\|"window_properties"')"
  [ "$windows" -eq 0 ] && ok "no window of Quelmo's appears" ||
    not_ok "no window of Quelmo's appears ($windows)"
  [ -n "${QUELMO_SCREENSHOTS:-}" ] && mkdir -p "$QUELMO_SCREENSHOTS" &&
    convert "$work/$tone-open.png" -crop 640x400+0+0 "$QUELMO_SCREENSHOTS/waybar-$tone.png"
  click 900 600 # closes the menu
  sleep 0.5
done

finish
