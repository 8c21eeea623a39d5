#!/usr/bin/env bash
# The Windows .zip as a user gets it: made by CPack from the Windows build into a scratch folder,
# its files, what the .exe imports against what README.txt says it needs, the .exe's version
# and icon; then unpacked and run under Wine on its own sample page (Return, then Escape), and
# once without d3dx9_43.dll, which the loader must refuse before any of the program runs.
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../e2e/e2e_lib.sh"
source "$here/../support/x_session.sh"
trap 'stop_wine; stop_x_server; [ "$failures" -gt 0 ] && echo "the cases are in $e2e_root" >&2 || rm -rf "$e2e_root"' EXIT
winbuild="${FONTLOOM_WINDOWS_BUILD:-build-win}"
[[ "$winbuild" = /* ]] || winbuild="${FONTLOOM_SOURCE_DIR:?}/$winbuild"
exe="$winbuild/app/fontloom.exe"
[ -f "$exe" ] || { echo "SKIPPED: $exe is not built ('make windows'); the Windows package was not checked"; exit 77; }
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$winbuild/CMakeCache.txt")"
case_dir="$e2e_root"

case_name=cpack
cpack --config "$winbuild/CPackConfig.cmake" -G ZIP -B "$e2e_root/package" >"$e2e_root/cpack.log" 2>&1 ||
  { fail "cpack failed: $(tail -5 "$e2e_root/cpack.log")"; finish; }
zip="$e2e_root/package/fontloom-$version-win64.zip"
top="fontloom-$version-win64"
[ -f "$zip" ] || { fail "no $(basename "$zip"), cpack made: $(ls "$e2e_root/package")"; finish; }

case_name=contents
[ "$(unzip -Z1 "$zip" | sort | tr '\n' ' ')" = "$top/README.txt $top/fontloom.exe $top/text.txt " ] ||
  fail "the archive holds: $(unzip -Z1 "$zip" | tr '\n' ' ')"
unzip -q "$zip" -d "$e2e_root/unpacked"
unpacked="$e2e_root/unpacked/$top"
cmp -s "$unpacked/text.txt" "$FONTLOOM_SOURCE_DIR/app/sample/text.txt" || fail "the sample page is not app/sample/text.txt"

# README.txt reads as one in Notepad (CR LF), and names every DLL the .exe needs that Windows
# does not have: all its imports but those of Windows itself.
case_name=readme
readme="$unpacked/README.txt"
[ "$(grep -c $'\r$' "$readme")" = "$(wc -l <"$readme")" ] || fail "README.txt has lines that do not end in CR LF"
imports="$(x86_64-w64-mingw32-objdump -p "$unpacked/fontloom.exe" | awk '/DLL Name:/ { print tolower($3) }' | sort)"
echo "fontloom.exe imports: $(tr '\n' ' ' <<<"$imports")"
extra="$(grep -vxE 'kernel32.dll|user32.dll|gdi32.dll|winmm.dll|d3d9.dll|msvcrt.dll' <<<"$imports")"
[ "$extra" = d3dx9_43.dll ] || fail "beyond Windows' own DLLs the .exe needs: $(tr '\n' ' ' <<<"$extra")(README.txt names d3dx9_43.dll alone)"
for dll in $extra; do grep -qi "$dll" "$readme" || fail "README.txt does not name $dll"; done

# The version resource carries the project's version, and the icon is the desktop's drawing.
case_name=resources
wrestool -x --raw --type=16 "$unpacked/fontloom.exe" >"$e2e_root/version.res" && [ -s "$e2e_root/version.res" ] ||
  fail "no version resource"
python3 - "$e2e_root/version.res" "$version" <<'PYTHON' || fail "the version resource is wrong"
import struct, sys
data = open(sys.argv[1], "rb").read()
want = sys.argv[2]
at = data.find(struct.pack("<I", 0xFEEF04BD))  # VS_FIXEDFILEINFO
if at < 0:
    sys.exit("no VS_FIXEDFILEINFO")
file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<4I", data, at + 8)
fixed = ["%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16) for ms, ls in ((file_ms, file_ls), (product_ms, product_ls))]
text = data.decode("utf-16-le", "replace")
strings = {key: text.split(key + "\0", 1)[1].lstrip("\0").split("\0", 1)[0] if key + "\0" in text else None
           for key in ("FileVersion", "ProductVersion", "ProductName", "OriginalFilename")}
print("version resource:", fixed, strings)
sys.exit(0 if fixed == [want, want] and strings["FileVersion"] == want and strings["ProductVersion"] == want
         and strings["ProductName"] == "Fontloom" and strings["OriginalFilename"] == "fontloom.exe" else 1)
PYTHON
wrestool -x --type=14 "$unpacked/fontloom.exe" >"$e2e_root/icon.ico" && [ -s "$e2e_root/icon.ico" ] || fail "no icon"
sizes="$(icotool -l "$e2e_root/icon.ico" | sed 's/.*--width=\([0-9]*\) --height=\([0-9]*\).*/\1x\2/' | tr '\n' ' ')"
[ "$sizes" = "16x16 24x24 32x32 48x48 64x64 256x256 " ] || fail "the icon's sizes: $sizes"
desktop_icon="$FONTLOOM_BUILD_DIR/packaging/icons/hicolor/48x48/apps/fontloom.png"
icotool -x -w 48 -o "$e2e_root/icon48.png" "$e2e_root/icon.ico" &&
  [ "$(compare -metric AE "$e2e_root/icon48.png" "$desktop_icon" null: 2>&1)" = 0 ] ||
  fail "the .exe's 48 x 48 icon is not the desktop's ($desktop_icon)"
[ "$failures" = 0 ] || finish

skip_without_wine "$exe" "the packaged fontloom.exe was not run"
new_case wine
rm -rf "$case_dir"
cp -r "$unpacked" "$case_dir"
start_x_server
make_wine_prefix "$e2e_root/prefix"
# The run that a double click makes: the unpacked folder is the working folder.
(cd "$case_dir" && timeout 90 wine fontloom.exe >stderr 2>&1; echo $? >exit_code) &
program_pid=$!
if prefs="$(wait_for_window "User Preferences" 60)"; then
  press "$prefs" Return
  if main="$(wait_for_window "^Fontloom$" 30)"; then
    wait_for_ink "$main" || fail "the main window stays dark"
    press "$main" Escape
  else
    fail "no main window"
  fi
else
  fail "no preferences window"
fi
wait "$program_pid"
exit_code="$(cat "$case_dir/exit_code")"
expect_exit_code 0
expect_file_bytes log.txt ''
expect_report

# Without d3dx9_43.dll (Wine's own turned off) the loader refuses the program, as Windows does
# (STATUS_DLL_NOT_FOUND, 0xC0000135): nothing of it runs, so no log.txt.
new_case without-d3dx9
rm text.txt
unzip -qj "$zip" -d "$case_dir"
WINEDLLOVERRIDES="mscoree,mshtml=;d3dx9_43=" WINEDEBUG=err+module timeout 60 wine fontloom.exe >stdout 2>stderr
exit_code=$?
expect_exit_code $((0xC0000135 & 0xFF))
grep -q "d3dx9_43.dll.*not found" stderr || fail "the loader does not name d3dx9_43.dll"
expect_no_file log.txt
finish
