# X window helpers the scripts with a tray host or a desktop share. Sourced after e2e.sh;
# a script sets ZL_TRAY_HOST to the line its tray host's window has in `xwininfo -tree`.

# The program's icon in the tray host (its window id), if it is docked.
docked_icon() {
  xwininfo -root -tree 2>/dev/null | awk -v host="$ZL_TRAY_HOST" '
    index($0, host) { match($0, /^ */); indent = RLENGTH; inside = 1; next }
    inside { match($0, /^ */); if (RLENGTH <= indent) inside = 0; else if (/"zentavo-logger"/) { print $1; exit } }'
}
icon_docked() { [ -n "$(docked_icon)" ]; }
# Never without an id: xwininfo would wait for a click on the window.
window_info() { [ -n "$1" ] || zl_fail "no window for $2"; timeout 5 xwininfo -id "$1" 2>/dev/null; }
# IsViewable, IsUnMapped or IsUnviewable; the second argument names the window in a failure.
map_state() { window_info "$1" "${2:-the main window}" | awk '/Map State:/ { print $3 }'; }
# The window's absolute X or Y (the third argument) on the screen.
upper_left() { window_info "$1" "$2" | awk -v axis="$3" '$1 == "Absolute" && $3 == axis ":" { print $4 }'; }
# The opacity the program gives a window, 0 to 255.
window_opacity() {
  local value
  value=$(xprop -id "$1" _NET_WM_WINDOW_OPACITY 2>/dev/null | awk -F' = ' '/= / { print $2 }')
  echo $((${value:-4294967295} / 16843009))
}
