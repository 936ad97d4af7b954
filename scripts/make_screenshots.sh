#!/usr/bin/env bash
# Makes every picture of docs/ from the built program with its Czech texts: the record
# editor and the settings dialog through their widget tests, the tray's balloon and the
# report window (a week, a year and all) through their end-to-end scenarios, and the rest as scenes of the real
# program under Xvfb below.
# Usage: scripts/make_screenshots.sh [output directory (default docs/)]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ "${2:-}" != --scenario ] && [ -z "${ZL_SCREENSHOT_SCENES:-}" ]; then
  out=$(mkdir -p "${1:-$root/docs}" && cd "${1:-$root/docs}" && pwd)
  "$root/scripts/build.sh"
  work=$(mktemp -d /tmp/zl_shots.XXXXXX)
  trap 'rm -rf "$work"' EXIT
  chmod 700 "$work"
  export XDG_RUNTIME_DIR=$work TMPDIR=$work ZL_SCREENSHOT_DIR=$out
  ctest --test-dir "$root/build" -R '^(Update_Record_Form_test|Setup_Form_test)$' --output-on-failure
  ZL_E2E_ONLY=full_time_balloon bash "$root/tests/e2e/Tray_e2e.sh" "$root/build/dist"
  # Two years of days, so that the year shows its weeks and "all" its months.
  ZL_E2E_ONLY=r_reads_the_history_in_and_escape_closes ZL_REPORT_SCREENSHOT=$out/screenshot-report.png ZL_REPORT_DAYS=730 \
    bash "$root/tests/e2e/Report_Window_e2e.sh" "$root/build/dist"
  ZL_SCREENSHOT_SCENES=1 bash "$0" "$root/build/dist"
  ls -l "$out"/screenshot-*.png
  exit 0
fi

source "$root/tests/e2e/lib/e2e.sh"

# A Monday morning of four records; the clock stands at 12:10.
write_morning() {
  zl_install
  zl_write_quiet_setup
  zl_write_day_log "Pondělí" "07.12.2026" "07:45 - 12:10" "Pracovní doba" "04:25" "" \
    "" "" "" "Administrativa" "00:20" "" \
    "" "" "" "Programování" "02:30" "export výkazu do CSV" \
    "" "" "" "Porada" "00:45" "týdenní plán týmu" \
    "" "" "" "Revize kódu" "00:50" "kontrola změn v rozhraní pro zákaznický portál"
}

# The day as it shows, then with the button bar and a row under the pointer.
scenario_main_window() {
  write_morning
  zl_start_window "2026-12-07 12:10:00"
  zl_pointer_away
  sleep 0.5
  import -window "$MAIN_WINDOW" "$ZL_SCREENSHOT_DIR/screenshot-day.png"
  zl_keys "$MAIN_WINDOW" Return
  zl_wait_height "$(($(zl_rows_height 5) + 30))"
  zl_pointer_to_row 3
  sleep 0.5
  import -window "$MAIN_WINDOW" "$ZL_SCREENSHOT_DIR/screenshot-main.png"
  zl_stop
}

# The settings dialog with "Start at login" on: the autostart entry is there already.
scenario_settings_start_at_login() {
  write_morning
  export XDG_CONFIG_HOME=$ZL_WORK/config
  mkdir -p "$XDG_CONFIG_HOME/autostart"
  printf '[Desktop Entry]\nType=Application\nName=Zentavo Logger\nExec=%s\n' "$PROGRAM_DIR/zentavo-logger" \
    >"$XDG_CONFIG_HOME/autostart/zentavo-logger.desktop"
  zl_start_window "2026-12-07 12:10:00"
  zl_keys "$MAIN_WINDOW" s
  zl_wait_dialog
  sleep 0.5
  import -window "$DIALOG" "$ZL_SCREENSHOT_DIR/screenshot-settings-start-at-login.png"
  zl_close_dialog "$DIALOG"
  zl_stop
}

zl_main "$@" main_window settings_start_at_login
