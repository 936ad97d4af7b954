#!/usr/bin/env bash
# The installed program as a user meets it: `cmake --install` into a prefix that is then
# made read-only, the program run from there by an ordinary account (CI runs as root), its
# files in that user's own folder; the menu entry, the metadata and the manual page checked
# by their validators; the Debian package built and started from its own tree.
# Usage: bash Install_e2e.sh <dist_dir>
set -euo pipefail
source "$(dirname "$0")/lib/e2e.sh"

# The account that runs the program; root's own files stay out of its reach.
user_id=$(id -u nobody)
group_id=$(id -g nobody)

# A place both root and the user can reach (root's temporary folders are private).
make_user_space() {
  USER_SPACE=$(mktemp -d /tmp/zl-install-e2e.XXXXXX)
  chmod 755 "$USER_SPACE"
  PREFIX=$USER_SPACE/prefix
  USER_HOME=$USER_SPACE/home
  USER_RUNTIME=$USER_SPACE/runtime
  mkdir "$USER_HOME"
  mkdir -m 700 "$USER_RUNTIME"
  chown "$user_id:$group_id" "$USER_HOME" "$USER_RUNTIME"
  USER_FOLDER=$USER_HOME/.local/share/zentavo-logger
  AUTOSTART=$USER_HOME/.config/autostart/zentavo-logger.desktop
  # The library's helpers read the program's files here.
  PROGRAM_DIR=$USER_FOLDER
  WESTON_PID=''
  trap 'status=$?; remove_user_space; (exit $status); zl_scenario_cleanup' EXIT
}

remove_user_space() {
  [ -z "$WESTON_PID" ] || { kill "$WESTON_PID" 2>/dev/null; wait "$WESTON_PID" 2>/dev/null; } || true
  [ -n "${ZL_E2E_KEEP:-}" ] && return 0
  chmod -R u+w "$USER_SPACE" 2>/dev/null || true
  rm -rf "$USER_SPACE"
}

# In the background it must replace its shell, so that $! is the program itself.
as_user() {
  exec setpriv --reuid="$user_id" --regid="$group_id" --clear-groups \
    env -i PATH=/usr/bin:/bin HOME="$USER_HOME" XDG_RUNTIME_DIR="$USER_RUNTIME" LANG=C.UTF-8 LC_ALL=C.UTF-8 "$@"
}

build_dir() { dirname "$ZL_DIST_DIR"; }

install_read_only() {
  cmake --install "$(build_dir)" --prefix "$PREFIX" >"$ZL_WORK/install.out" ||
    zl_fail "cmake --install failed: $(tail -n 5 "$ZL_WORK/install.out")"
  chmod -R a-w "$PREFIX"
  prefix_before=$(prefix_listing)
}

# Names, sizes, modes, times and contents of everything under the prefix.
prefix_listing() {
  (cd "$PREFIX" && find . -printf '%p %y %s %m %T@\n' | LC_ALL=C sort &&
    find . -type f -print0 | LC_ALL=C sort -z | xargs -0 md5sum)
}

expect_prefix_unchanged() {
  [ "$(prefix_listing)" = "$prefix_before" ] ||
    zl_fail "the prefix changed: $(diff <(echo "$prefix_before") <(prefix_listing))"
}

# A headless Wayland compositor run by the user, when weston is there.
start_compositor() {
  command -v weston >/dev/null || zl_fail "weston is not installed"
  (as_user weston --backend=headless-backend.so --socket=wayland-zl --idle-time=0) >"$ZL_WORK/weston.out" 2>&1 &
  WESTON_PID=$!
  zl_wait_for 10 test -S "$USER_RUNTIME/wayland-zl" || zl_fail "weston did not start: $(tail -n 3 "$ZL_WORK/weston.out")"
}

# Starts the program as the user; the arguments are environment assignments, then the program.
start_as_user() {
  ZL_RUN=$((ZL_RUN + 1))
  (as_user "$@") >"$ZL_WORK/program.$ZL_RUN.out" 2>&1 &
  ZL_PID=$!
  ZL_ALL_PIDS="$ZL_ALL_PIDS $ZL_PID"
  MAIN_WINDOW=
}

# A Wayland session with XWayland: both displays are there and nothing is chosen.
session=()
start_in_session() { start_as_user "${session[@]}" "$PREFIX/bin/zentavo-logger"; zl_wait_main_window; }

user_folder_listing() { find "$USER_FOLDER" -printf '%P %y %s %m %T@\n' | LC_ALL=C sort; }

expect_owned_by_user() {
  [ "$(stat -c %u "$1")" = "$user_id" ] || zl_fail "$1 belongs to $(stat -c %U "$1"), not to the user"
}

# The settings dialog: the start-at-login box in the options group, then OK.
switch_start_at_login() {
  zl_pointer_away
  zl_keys "$MAIN_WINDOW" s
  zl_wait_dialog
  sleep 0.3
  xdotool mousemove --window "$DIALOG" 45 256 click 1
  sleep 0.2
  xdotool mousemove --window "$DIALOG" 180 362 click 1
  zl_wait_dialog_gone
}

scenario_installed_program_runs_as_a_user() {
  make_user_space
  install_read_only
  start_compositor
  session=(DISPLAY="$DISPLAY" WAYLAND_DISPLAY=wayland-zl XDG_SESSION_TYPE=wayland)

  zl_step "first start: the user's folder is made from the installed data; the window shows on X"
  start_in_session
  [ -d "$USER_FOLDER" ] || zl_fail "no folder $USER_FOLDER"
  [ "$(stat -c %a "$USER_FOLDER")" = 700 ] || zl_fail "$USER_FOLDER has mode $(stat -c %a "$USER_FOLDER")"
  expect_owned_by_user "$USER_FOLDER"
  local name
  for name in Czech.lng English.lng File_List Work_Type_List Skin/Button_Skin.bmp Skin/Splash_Screen.bmp; do
    cmp -s "$PREFIX/share/zentavo-logger/$name" "$USER_FOLDER/$name" || zl_fail "$name was not copied whole"
  done
  ! grep -q First_Start "$USER_FOLDER/Setup.ini" || zl_fail "the first-start marker is still in Setup.ini"

  zl_step "close: the day is saved in the user's folder; the protocol names the real paths"
  zl_stop
  [ -f "$USER_FOLDER/Actual_Work_Log.log" ] || zl_fail "no day log in $USER_FOLDER"
  expect_owned_by_user "$USER_FOLDER/Actual_Work_Log.log"
  zl_expect_protocol \
    "PREPARE_PROGRAM_FOLDER - OK - program files copied from $PREFIX/share/zentavo-logger to $USER_FOLDER/" \
    "OPEN_ACTUAL_WORK_LOG - FILE_NOT_FOUND - file $USER_FOLDER/Actual_Work_Log.log not found" \
    "SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to $USER_FOLDER/Actual_Work_Log.log"

  zl_step "second start the same day continues it; a third hands over and touches nothing"
  start_in_session
  local before status=0
  before=$(user_folder_listing)
  (as_user timeout 5 env "${session[@]}" "$PREFIX/bin/zentavo-logger") >"$ZL_WORK/handover.out" 2>&1 || status=$?
  [ "$status" = 0 ] || zl_fail "the handing-over start ended with status $status: $(cat "$ZL_WORK/handover.out")"
  zl_running || zl_fail "the running program ended when another start handed over"
  [ "$(user_folder_listing)" = "$before" ] || zl_fail "the handing-over start changed files"

  zl_step "start at login: switched on, the entry appears and validates; switched off, it is gone"
  [ ! -e "$AUTOSTART" ] || zl_fail "an autostart entry exists before the option was switched on"
  switch_start_at_login
  zl_wait_for 3 test -f "$AUTOSTART" || zl_fail "no autostart entry after switching the option on"
  expect_owned_by_user "$AUTOSTART"
  grep -qx "Exec=$PREFIX/bin/zentavo-logger" "$AUTOSTART" || zl_fail "the entry does not start $PREFIX/bin/zentavo-logger"
  desktop-file-validate "$AUTOSTART" >"$ZL_WORK/autostart.validate" 2>&1 ||
    zl_fail "the autostart entry does not validate: $(cat "$ZL_WORK/autostart.validate")"
  ! grep -qi login "$USER_FOLDER/Setup.ini" || zl_fail "Setup.ini gained a key for the option"
  switch_start_at_login
  zl_wait_for 3 test ! -e "$AUTOSTART" || zl_fail "the autostart entry stays after switching the option off"
  zl_stop
  expect_prefix_unchanged
}

scenario_wayland_without_x_server() {
  make_user_space
  install_read_only
  start_compositor
  zl_step "only a compositor: the program still starts and runs, and the protocol says what it cannot do"
  start_as_user WAYLAND_DISPLAY=wayland-zl XDG_SESSION_TYPE=wayland "$PREFIX/bin/zentavo-logger"
  zl_wait_for 10 test -f "$USER_FOLDER/Error_Log.log" || zl_fail "the program made no protocol"
  sleep 1.5
  zl_running || { zl_reap; zl_fail "the program ended on Wayland (status $ZL_STATUS): $(cat "$ZL_WORK/program.$ZL_RUN.out")"; }
  zl_stop
  local protocol
  protocol=$(zl_protocol)
  grep -q "^ - START_DISPLAY - WAYLAND - no X server (DISPLAY is not set): the window cannot place itself" <<<"$protocol" ||
    zl_fail "the protocol does not tell what Wayland does not allow: $protocol"
  grep -qx " - SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to $USER_FOLDER/Actual_Work_Log.log" <<<"$protocol" ||
    zl_fail "the day was not saved on Wayland: $protocol"
  expect_prefix_unchanged
}

scenario_menu_entry_metadata_and_manual_validate() {
  make_user_space
  install_read_only
  local entry=$PREFIX/share/applications/zentavo-logger.desktop metainfo manual=$PREFIX/share/man/man1/zentavo-logger.1.gz
  # Debian 12's validator (0.26) predates the key SingleMainWindow (entry format 1.5): its
  # complaint about that one key is the only one allowed.
  desktop-file-validate "$entry" 2>&1 | grep -v '"SingleMainWindow" in group "Desktop Entry", but keys extending' \
    >"$ZL_WORK/desktop.validate" || true
  [ ! -s "$ZL_WORK/desktop.validate" ] || zl_fail "desktop-file-validate says: $(cat "$ZL_WORK/desktop.validate")"
  # The window's class without the version, so a desktop keeps its settings across upgrades.
  grep -qx "StartupWMClass=zentavo-logger" "$entry" && grep -qx "SingleMainWindow=true" "$entry" ||
    zl_fail "the entry lacks StartupWMClass or SingleMainWindow: $(cat "$entry")"
  metainfo=$(echo "$PREFIX"/share/metainfo/*.metainfo.xml)
  [ -f "$metainfo" ] || zl_fail "no metainfo in $PREFIX/share/metainfo"
  appstreamcli validate --no-net --pedantic "$metainfo" >"$ZL_WORK/metainfo.validate" 2>&1 ||
    zl_fail "the metainfo does not validate: $(cat "$ZL_WORK/metainfo.validate")"
  grep -q '^✔ Validation was successful.$' "$ZL_WORK/metainfo.validate" && [ "$(wc -l <"$ZL_WORK/metainfo.validate")" = 1 ] ||
    zl_fail "appstreamcli has remarks: $(cat "$ZL_WORK/metainfo.validate")"
  grep -q '<screenshot type="default">' "$metainfo" && grep -q '<release version="[0-9.]*" date="[0-9-]*"' "$metainfo" ||
    zl_fail "the metainfo lacks its screenshot or its release"

  local size
  for size in 16 22 24 32 48 64 128 256; do
    file -b "$PREFIX/share/icons/hicolor/${size}x$size/apps/zentavo-logger.png" | grep -q "^PNG image data, $size x $size," ||
      zl_fail "the ${size}x$size icon is not a PNG of that size"
  done
  file -b "$PREFIX/share/icons/hicolor/scalable/apps/zentavo-logger.svg" | grep -q "SVG" || zl_fail "no scalable icon"

  local text warnings name
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$manual" 2>&1 >/dev/null)
  [ -z "$warnings" ] || zl_fail "the manual page has warnings: $warnings"
  text=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$manual" 2>/dev/null)
  for name in --report --from --to --days --csv --help --version XDG_DATA_HOME XDG_CONFIG_HOME Setup.ini Work_Log.csv \
    prefix/share/zentavo-logger/ "KEYS AND MOUSE" Ctrl+Q QUITTING LANGUAGE LC_MESSAGES "iconv -f cp1250" ENCODINGS BUGS \
    "SEE ALSO"; do
    grep -qF -- "$name" <<<"$text" || zl_fail "the manual page does not mention $name"
  done
}

scenario_debian_package_builds_and_starts() {
  make_user_space
  zl_step "cpack -G DEB"
  (cd "$ZL_WORK" && cpack -G DEB --config "$(build_dir)/CPackConfig.cmake" -B "$ZL_WORK/package") \
    >"$ZL_WORK/cpack.out" 2>&1 || zl_fail "cpack failed: $(tail -n 5 "$ZL_WORK/cpack.out")"
  local package version fields
  package=$(echo "$ZL_WORK"/package/*.deb)
  [ -f "$package" ] || zl_fail "cpack made no package: $(ls "$ZL_WORK/package")"
  version=$(dpkg-deb -f "$package" Version)
  [ "$(basename "$package")" = "zentavo-logger_${version}_amd64.deb" ] || zl_fail "the package is named $(basename "$package")"
  fields=$(dpkg-deb -I "$package")
  echo "$fields" | sed 's/^/    /'
  grep -q "^ Depends:.*libqt6widgets6" <<<"$fields" && grep -q "^ Depends:.*libc6" <<<"$fields" ||
    zl_fail "the package's dependencies were not found by shlibdeps: $fields"
  grep -q "^ Architecture: amd64$" <<<"$fields" || zl_fail "the package is not for amd64"
  local contents path
  contents=$(dpkg-deb -c "$package" | awk '{ print $6 }')
  for path in ./usr/bin/zentavo-logger ./usr/share/applications/zentavo-logger.desktop \
    ./usr/share/zentavo-logger/Czech.lng ./usr/share/zentavo-logger/Skin/Button_Skin.bmp \
    ./usr/share/icons/hicolor/scalable/apps/zentavo-logger.svg ./usr/share/man/man1/zentavo-logger.1.gz; do
    grep -qx -- "$path" <<<"$contents" || zl_fail "the package lacks $path"
  done
  grep -q "^./usr/share/metainfo/.*\.metainfo\.xml$" <<<"$contents" || zl_fail "the package lacks its metainfo"
  for path in ./usr/share/doc/zentavo-logger/copyright ./usr/share/doc/zentavo-logger/changelog.gz; do
    grep -qx -- "$path" <<<"$contents" || zl_fail "the package lacks $path"
  done
  grep -q "^ Recommends:.*xdg-utils" <<<"$fields" || zl_fail "the package does not recommend xdg-utils: $fields"

  zl_step "lintian -I --pedantic: no error, no warning"
  lintian -I --pedantic "$package" >"$ZL_WORK/lintian.out" 2>&1 || true
  sed 's/^/    /' "$ZL_WORK/lintian.out"
  ! grep -q '^[EW]: ' "$ZL_WORK/lintian.out" || zl_fail "lintian reports errors or warnings"
  local program_dump
  program_dump=$(cd /tmp && dpkg-deb --fsys-tarfile "$package" | tar -xO ./usr/bin/zentavo-logger >"$ZL_WORK/hardened" &&
    readelf -d -s --wide "$ZL_WORK/hardened")
  grep -q "BIND_NOW\|FLAGS_1.*NOW" <<<"$program_dump" || zl_fail "the program is not linked with BIND_NOW"
  grep -q "__stack_chk_fail" <<<"$program_dump" || zl_fail "the program has no stack protector"
  grep -q "__[a-z]*_chk" <<<"$(grep -v __stack_chk_fail <<<"$program_dump")" || zl_fail "the program uses no fortified functions"
  ! grep -v '^./usr/' <<<"$contents" | grep -qv '^./$' || zl_fail "the package installs outside /usr"

  local answered
  answered=$(cd /tmp && dpkg-deb --fsys-tarfile "$package" | tar -xO ./usr/bin/zentavo-logger >"$ZL_WORK/packaged-program" &&
    chmod +x "$ZL_WORK/packaged-program" && "$ZL_WORK/packaged-program" --version)
  grep -qF "$version" <<<"$answered" || zl_fail "the packaged program says '$answered', not version $version"

  zl_step "the package's tree, started as its menu entry says, by the user"
  mkdir "$USER_SPACE/root"
  dpkg-deb -x "$package" "$USER_SPACE/root"
  chmod -R a-w "$USER_SPACE/root"
  local command
  command=$(sed -n 's/^Exec=//p' "$USER_SPACE/root/usr/share/applications/zentavo-logger.desktop")
  start_as_user PATH="$USER_SPACE/root/usr/bin:/usr/bin:/bin" DISPLAY="$DISPLAY" "$command"
  zl_wait_main_window
  zl_stop
  grep -q "PREPARE_PROGRAM_FOLDER - OK - program files copied from $USER_SPACE/root/usr/share/zentavo-logger to $USER_FOLDER/" \
    <(zl_protocol) || zl_fail "the packaged program did not fill the user's folder from its data"
}

# A newer installation over a user's folder: the copies the user never changed follow it,
# a changed one is kept, and the protocol names both.
scenario_upgrade_refreshes_unchanged_copies() {
  make_user_space
  install_read_only
  zl_step "first start fills the user's folder"
  start_as_user DISPLAY="$DISPLAY" "$PREFIX/bin/zentavo-logger"
  zl_wait_main_window
  zl_stop
  local data=$PREFIX/share/zentavo-logger
  printf 'Vlastn\xed\r\n' >>"$USER_FOLDER/Work_Type_List"
  cp "$USER_FOLDER/Work_Type_List" "$ZL_WORK/users-list"

  zl_step "a newer installation changes a language file and the work types"
  chmod -R u+w "$PREFIX"
  printf '; corrected\r\n' >>"$data/English.lng"
  printf 'Nov\xe1\r\n' >>"$data/Work_Type_List"
  chmod -R a-w "$PREFIX"
  start_as_user DISPLAY="$DISPLAY" "$PREFIX/bin/zentavo-logger"
  zl_wait_main_window
  zl_stop
  cmp -s "$data/English.lng" "$USER_FOLDER/English.lng" || zl_fail "the unchanged English.lng was not refreshed"
  cmp -s "$ZL_WORK/users-list" "$USER_FOLDER/Work_Type_List" || zl_fail "the user's Work_Type_List was replaced"
  grep -qx " - PREPARE_PROGRAM_FOLDER - OK - program files refreshed from $data: English.lng; kept as changed by the user: Work_Type_List" \
    <(zl_protocol) || zl_fail "the protocol does not name the refreshed files: $(zl_protocol)"

  zl_step "the next start finds nothing new"
  start_as_user DISPLAY="$DISPLAY" "$PREFIX/bin/zentavo-logger"
  zl_wait_main_window
  zl_stop
  ! grep -q "refreshed" <(zl_protocol) || zl_fail "a start without a newer installation refreshed: $(zl_protocol)"
}

zl_main "$@" upgrade_refreshes_unchanged_copies installed_program_runs_as_a_user wayland_without_x_server menu_entry_metadata_and_manual_validate \
  debian_package_builds_and_starts
