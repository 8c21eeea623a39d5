#!/usr/bin/env bash
# The .deb as a user gets it: made by CPack from the build into a scratch folder, its files and
# control fields, then unpacked (dpkg -x: nothing is installed) and run from there: the program
# headless on the packaged sample page, the launcher from a fresh home folder, and the windows'
# class under Xvfb against the desktop entry's StartupWMClass. Lintian must find no errors.
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../e2e/e2e_lib.sh"
source "$here/../support/x_session.sh"
trap 'stop_x_server; [ "$failures" -gt 0 ] && echo "the cases are in $e2e_root" >&2 || rm -rf "$e2e_root"' EXIT
build="$FONTLOOM_BUILD_DIR"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
arch="$(dpkg --print-architecture)"
case_dir="$e2e_root"

case_name=cpack
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$e2e_root/package" >"$e2e_root/cpack.log" 2>&1 ||
  { fail "cpack failed: $(tail -5 "$e2e_root/cpack.log")"; finish; }
deb="$e2e_root/package/fontloom_${version}_$arch.deb"
[ -f "$deb" ] || { fail "no $(basename "$deb"), cpack made: $(ls "$e2e_root/package")"; finish; }

# Exactly these files and links: nothing of the build or the tests comes along.
case_name=contents
expected="$(sort <<EOF
./usr/bin/fontloom
./usr/bin/fontloom-launcher
./usr/share/applications/fontloom.desktop
./usr/share/doc/fontloom/changelog.gz
./usr/share/doc/fontloom/copyright
./usr/share/fontloom/text.txt
./usr/share/icons/hicolor/128x128/apps/fontloom.png
./usr/share/icons/hicolor/16x16/apps/fontloom.png
./usr/share/icons/hicolor/24x24/apps/fontloom.png
./usr/share/icons/hicolor/256x256/apps/fontloom.png
./usr/share/icons/hicolor/32x32/apps/fontloom.png
./usr/share/icons/hicolor/48x48/apps/fontloom.png
./usr/share/icons/hicolor/64x64/apps/fontloom.png
./usr/share/man/man1/fontloom-launcher.1.gz->fontloom.1.gz
./usr/share/man/man1/fontloom.1.gz
EOF
)"
diff <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 $7 $8 }' | sort) - <<<"$expected" >&2 ||
  fail "the files differ (< the package, > expected)"

root="$e2e_root/root"
dpkg -x "$deb" "$root" || { fail "dpkg -x failed"; finish; }

# Control fields. Every library the program links is there by the package that ships it here
# (dpkg-shlibdeps' work), with the fonts and libdecor's frames beside them.
case_name=control
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package) $(field Version) $(field Architecture)" = "fontloom $version $arch" ] ||
  fail "Package, Version, Architecture: $(field Package) $(field Version) $(field Architecture)"
[ -n "$(field Maintainer)" ] && [ -n "$(field Description)" ] && [ -n "$(field Section)" ] || fail "Maintainer, Description or Section missing"
depends=" $(field Depends | sed 's/ *([^)]*)//g; s/,/ /g') "
echo "Depends: $(field Depends)"
for package in fonts-liberation libdecor-0-plugin-1-cairo; do
  [[ "$depends" = *" $package "* ]] || fail "Depends lacks $package"
done
libraries=($(objdump -p "$root/usr/bin/fontloom" | awk '$1 == "NEEDED" { print $2 }'))
multiarch="$(dpkg-architecture -qDEB_HOST_MULTIARCH)"
owners="$(dpkg -S "${libraries[@]/#/*/$multiarch/}" 2>/dev/null)"  # "package:arch: path" lines
for library in "${libraries[@]}"; do
  package="$(grep -F "/$multiarch/$library" <<<"$owners" | head -1 | cut -d: -f1)"
  [ -n "$package" ] && [[ "$depends" = *" $package "* ]] || fail "$library (${package:-no package}) is not in Depends"
done
file "$root/usr/bin/fontloom" | grep -q ', stripped' || fail "the program is not stripped"
gzip -dc "$root/usr/share/doc/fontloom/changelog.gz" >"$e2e_root/changelog"
changelog="$(dpkg-parsechangelog -l "$e2e_root/changelog" -S Version)"
[ "$changelog" = "$version" ] || fail "the changelog's latest version is $changelog, the package's $version"
cmp -s "$root/usr/share/fontloom/text.txt" "$FONTLOOM_SOURCE_DIR/app/sample/text.txt" || fail "the packaged sample page is not app/sample/text.txt"

# The desktop entry starts the packaged launcher, shows the packaged icon, whose every size is
# as large as its folder says.
case_name=desktop-entry
desktop="$root/usr/share/applications/fontloom.desktop"
desktop-file-validate "$desktop" >&2 || fail "desktop-file-validate refuses the entry"
key() { sed -n "s/^$1=//p" "$desktop"; }
[ -x "$root/usr/bin/$(key Exec)" ] || fail "Exec=$(key Exec) is not a program of the package"
for png in "$root"/usr/share/icons/hicolor/*/apps/"$(key Icon)".png; do
  size="$(basename "$(dirname "$(dirname "$png")")")"
  [ "$(identify -format '%wx%h' "$png")" = "$size" ] || fail "$png is $(identify -format '%wx%h' "$png")"
done

# The unpacked program, headless, on the unpacked sample page.
new_case unpacked-program
cp "$root/usr/share/fontloom/text.txt" text.txt
FONTLOOM_BIN="$root/usr/bin/fontloom"
run_program "key RETURN; key ESCAPE after 200 frames"
expect_exit_code 0
expect_file_bytes log.txt ''
expect_report
expect_count Present -ge 200

# launch CASE_HOME ENV...: the unpacked launcher as a desktop starts it: from /, in an environment
# of HOME, PATH and ENV alone; sets $exit_code, its output in $case_dir/stderr.
launch() {
  local home="$1"
  shift
  (cd / && env -i HOME="$home" PATH=/usr/bin:/bin SDL_AUDIODRIVER=dummy "$@" \
    timeout 60 "$root/usr/bin/fontloom-launcher" >"$case_dir/stdout" 2>"$case_dir/stderr")
  exit_code=$?
}
headless=(FONTLOOM_HEADLESS=1 "FONTLOOM_SIM=key RETURN; key ESCAPE after 200 frames")

# A fresh home: the launcher makes its folder, copies the sample page there and runs in it.
new_case launcher-fresh-home
home="$case_dir/home"
mkdir "$home"
launch "$home" "${headless[@]}"
expect_exit_code 0
folder="$home/.local/share/fontloom"
cmp -s "$folder/text.txt" "$root/usr/share/fontloom/text.txt" || fail "no copy of the sample page in $folder"
case_dir="$folder" expect_file_bytes log.txt ''
case_dir="$folder" expect_report
# The user's own page stays, and is what the program runs on.
printf 'My own page.\r\n' >"$folder/text.txt"
rm "$folder/FPS.txt"
launch "$home" "${headless[@]}"
expect_exit_code 0
case_dir="$folder" expect_file_bytes text.txt 'My own page.\r\n'
case_dir="$folder" expect_report

new_case launcher-xdg-data-home
launch "$case_dir/home" XDG_DATA_HOME="$case_dir/data" "${headless[@]}"
expect_exit_code 0
[ -f "$case_dir/data/fontloom/FPS.txt" ] && [ ! -e "$case_dir/home" ] || fail "the launcher did not run in \$XDG_DATA_HOME/fontloom"

# A home where no folder can be made: a plain message, status 1, the program not run.
new_case launcher-no-folder
printf 'a file\n' >home
launch "$case_dir/home" "${headless[@]}"
expect_exit_code 1
grep -q "fontloom-launcher: cannot make or write the folder $case_dir/home/.local/share/fontloom" stderr || fail "no plain message"
expect_file_bytes home 'a file\n'

# On a display, the windows' class is the desktop entry's StartupWMClass (a desktop matches
# windows to their entry by it); Escape in the preferences window ends the run.
new_case window-class
start_x_server
(launch "$case_dir/home" DISPLAY="$DISPLAY" FONTLOOM_HEADLESS=0; echo "$exit_code" >"$case_dir/exit_code") &
program_pid=$!
if prefs="$(wait_for_window "User Preferences" 60)"; then
  wm_class="$(x_client xprop -id "$prefs" WM_CLASS)"
  [[ "$wm_class" = *"\"$(key StartupWMClass)\"" ]] || fail "the window's $wm_class, the entry's StartupWMClass=$(key StartupWMClass)"
  press "$prefs" Escape
else
  fail "no preferences window"
fi
wait "$program_pid"
exit_code="$(cat exit_code)"
expect_exit_code 0
case_dir="$case_dir/home/.local/share/fontloom" expect_file_bytes log.txt 'Exiting\r\n\r\n'

case_name=lintian
if command -v lintian >/dev/null; then
  lintian --fail-on error "$deb" >"$e2e_root/lintian.txt" 2>&1 || fail "lintian finds errors"
  sed 's/^/lintian: /' "$e2e_root/lintian.txt"
else
  fail "lintian is not installed (tools/install-deps.sh installs it)"
fi
finish
