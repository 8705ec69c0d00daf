#!/bin/bash
# The shipped file: a 64-bit GUI program that imports only DLLs every Windows has, and carries its
# name, version, icon and per-monitor DPI manifest.
set -uo pipefail
scr="$1"
status=0
fail() { echo "FAIL: $*"; status=1; }

headers="$(x86_64-w64-mingw32-objdump -p "$scr")"
grep -q 'PE32+' <<<"$headers" || fail "not a 64-bit PE"
grep -q 'Subsystem.*Windows GUI' <<<"$headers" || fail "not a GUI program"
allowed='^(KERNEL32|USER32|GDI32|gdiplus|OPENGL32|SHLWAPI|ole32|msvcrt|ADVAPI32)\.dll$'
while read -r dll; do
    [[ "$dll" =~ $allowed ]] || fail "imports $dll"
done < <(sed -n 's/.*DLL Name: //p' <<<"$headers")

text="$(strings -a "$scr")"
grep -q '<dpiAwareness[^>]*>PerMonitorV2</dpiAwareness>' <<<"$text" || fail "no per-monitor-v2 manifest"
grep -q '<dpiAware[^>]*>true/pm</dpiAware>' <<<"$text" || fail "no true/pm fallback"
grep -q 'supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"' <<<"$text" || fail "no Windows 10 entry"
wide="$(strings -a -el "$scr")"
grep -qx 'Orvane' <<<"$wide" || fail "no display name string"
grep -q 'OriginalFilename' <<<"$wide" || fail "no version information"
x86_64-w64-mingw32-objdump -h "$scr" | grep -q '\.rsrc' || fail "no resources"
[ $status -eq 0 ] && echo "package checks passed"
exit $status
