# End-to-end scenarios of the installed program, sourced by e2e.sh (which has
# the helpers): an install into a prefix of the user's own, and the Debian
# package unpacked into a temporary root as a system-wide install.

# What an install lays down, under a prefix; the desktop entry starts LAUNCHER.
check_install_layout() {
  local prefix=$1 launcher=$2
  local programs=$prefix/libexec/vexa shipped=$prefix/share/vexa
  [ -x "$programs/vexa" ] || fail "no executable vexa in libexec/vexa"
  [ -x "$programs/vexa-rtf" ] || fail "no executable vexa-rtf in libexec/vexa"
  [ -x "$programs/vexa-check" ] || fail "no executable vexa-check in libexec/vexa"
  [ -x "$prefix/bin/vexa" ] || fail "no launcher bin/vexa"
  [ "$(readlink -f "$prefix/bin/vexa-rtf")" = "$(readlink -f "$programs/vexa-rtf")" ] ||
    fail "bin/vexa-rtf does not lead to the program"
  [ "$(readlink -f "$prefix/bin/vexa-check")" = "$(readlink -f "$programs/vexa-check")" ] ||
    fail "bin/vexa-check does not lead to the program"
  "$prefix/bin/vexa-check" --help >"$work/vexa-check.log" 2>&1 ||
    fail "the installed vexa-check does not run: $(cat "$work/vexa-check.log")"
  local missing
  missing=$(cd "$data" && find . -type f | while read -r f; do
    cmp -s "$f" "$shipped/$f" || echo "$f"
  done)
  [ -z "$missing" ] || fail "data files missing or different in share/vexa: $missing"
  local desktop=$prefix/share/applications/vexa.desktop
  [ -f "$desktop" ] || fail "no desktop entry"
  desktop-file-validate "$desktop" || fail "desktop entry does not validate"
  grep -qx 'Name=Vexa Web Editor Pro' "$desktop" || fail "desktop entry: Name"
  grep -qx "Exec=$launcher %f" "$desktop" || fail "desktop entry: Exec"
  grep -qx 'Icon=vexa' "$desktop" || fail "desktop entry: Icon"
  grep -q '^Categories=.*Development;' "$desktop" || fail "desktop entry: Categories"
  local mime
  mime=$(grep '^MimeType=' "$desktop")
  for type in text/html application/x-php text/javascript application/xml text/plain; do
    [[ "$mime" == *"$type;"* ]] || fail "desktop entry: MimeType lacks $type"
  done
  local metainfo
  metainfo=$(ls "$prefix"/share/metainfo/*.metainfo.xml 2>/dev/null | head -n 1)
  [ -n "$metainfo" ] || fail "no AppStream metainfo"
  appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 ||
    fail "metainfo does not validate: $(cat "$work/appstream.log")"
  for page in vexa vexa-rtf vexa-check; do
    [ -s "$prefix/share/man/man1/$page.1.gz" ] || fail "no man page $page(1)"
  done
  local copyright=$prefix/share/doc/vexa/copyright
  [ -f "$copyright" ] || fail "no copyright file"
  grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
    "$copyright" || fail "the copyright file is not in the machine-readable format"
  grep -q '<project_license>GPL-3.0-or-later</project_license>' "$metainfo" ||
    fail "metainfo: no project_license"
  [ -f "$prefix/share/icons/hicolor/scalable/apps/vexa.svg" ] || fail "no SVG icon"
  local png=$prefix/share/icons/hicolor/48x48/apps/vexa.png
  [ -f "$png" ] || fail "no 48x48 icon"
  # PNG header: width and height are the big-endian words at bytes 16 and 20.
  expect_eq "icon size" "0000003000000030" "$(od -An -tx1 -j16 -N8 "$png" | tr -d ' \n')"
}

# A prefix inside the user's home that the user may write: the shipped folder
# is the program folder, as the build folder is. Uninstalling leaves no file.
scenario_installed() {
  [ -n "$build" ] || fail "the build folder is needed"
  local prefix=$work/home/.local
  step "install into $prefix"
  cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    fail "install failed: $(tail -n 5 "$work/install.log")"
  cp "$build/install_manifest.txt" "$work/manifest"
  check_install_layout "$prefix" "$prefix/bin/vexa"

  step "the installed program uses its own folder"
  mkdir -p "$shared" "$work/runtime"
  chmod 700 "$work/runtime"
  prog=$prefix/share/vexa
  write_quiet_ini
  start_vexa env -u VEXA_PROGRAM_DIR "$prefix/bin/vexa"
  local main
  main=$(wait_started)
  exit_from_menu "$main"
  wait_exit 60
  check_ini_layout
  [ ! -e "$prefix/share/vexa/.shipped" ] || fail "the launcher prepared a per-user folder"

  step "uninstall"
  cmake -DMANIFEST="$work/manifest" -P "$(dirname "${BASH_SOURCE[0]}")/../../packaging/uninstall.cmake" \
    >"$work/uninstall.log" 2>&1 || fail "uninstall failed: $(tail -n 5 "$work/uninstall.log")"
  local left
  left=$(cd "$prefix" && find . -type f -o -type l | grep -vx './share/vexa/vexapro.ini' || true)
  [ -z "$left" ] || fail "files left after uninstalling: $left"
}

# The Debian package, built from this build, checked by lintian and unpacked
# into a temporary root: a system-wide install that each user runs with a
# program folder of their own, writing nothing outside the home.
scenario_package() {
  [ -n "$build" ] || fail "the build folder is needed"
  step "pack the build"
  cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >"$work/cpack.log" 2>&1 ||
    fail "cpack failed: $(tail -n 5 "$work/cpack.log")"
  local deb
  deb=$(ls "$work"/deb/vexa_*.deb | head -n 1)
  [ -f "$deb" ] || fail "no package built"
  dpkg-deb -f "$deb" Depends | grep -q 'libqt6webenginewidgets6' ||
    fail "dependencies not taken from the binaries: $(dpkg-deb -f "$deb" Depends)"

  step "lintian"
  # Every error and warning fails (so does lintian failing to run at all),
  # and so does an override that no longer matches anything: each override
  # left in the package carries its reason.
  local status=0 findings
  lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 || status=$?
  findings=$(grep -E '^[EW]: |: (unused|mismatched)-override' "$work/lintian.log" || true)
  [ "$status" -eq 0 ] && [ -z "$findings" ] ||
    fail "lintian (status $status): ${findings:-$(tail -n 5 "$work/lintian.log")}"

  local root=$work/root
  dpkg-deb -x "$deb" "$root"
  check_install_layout "$root/usr" /usr/bin/vexa

  step "first run, a file handed over on the command line"
  mkdir -p "$shared" "$work/home" "$work/runtime" "$work/sites"
  chmod 700 "$work/runtime"
  chmod -R a-w "$root"
  touch "$work/before-runs"
  prog=$work/home/.local/share/vexa
  # A returning user's settings, kept when the folder is first prepared.
  mkdir -p "$prog"
  write_quiet_ini
  local page=$work/sites/page.php
  printf '<?php echo 1; ?>' >"$page"
  start_vexa env -u VEXA_PROGRAM_DIR "$root/usr/bin/vexa" "$page" "$work/sites/other.htm"
  local main
  main=$(wait_started)
  [ -f "$prog/qcode/html1.qvw" ] || fail "the per-user folder was not prepared"
  focus "$main"
  # The editor has the keyboard once the window has it.
  xdotool key ctrl+End
  xdotool type --delay 30 '<p>typed</p>'
  step "save with F2 into the file opened"
  xdotool key F2
  local deadline=$((SECONDS + 30))
  until grep -q 'typed' "$page"; do
    visible "$(title 'Save As')" && fail "F2 asked for a name: the file was not opened"
    [ "$SECONDS" -lt "$deadline" ] || fail "the page was not saved"
    sleep 0.2
  done
  expect_eq "saved page" '<?php echo 1; ?><p>typed</p>' "$(tr -d '\r' <"$page")"
  exit_from_menu "$main"
  wait_exit 60
  check_ini_layout

  step "second run"
  local stamp
  stamp=$(cat "$prog/.shipped")
  start_vexa env -u VEXA_PROGRAM_DIR "$root/usr/bin/vexa"
  main=$(wait_started)
  exit_from_menu "$main"
  wait_exit 60
  check_ini_layout
  expect_eq "shipped files stamp" "$stamp" "$(cat "$prog/.shipped")"
  local written
  written=$(find "$root" -newer "$work/before-runs" | head -n 5)
  [ -z "$written" ] || fail "written inside the install: $written"
  chmod -R u+w "$root"
}
