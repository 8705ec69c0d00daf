#!/bin/bash
# The shipped file: a 64-bit GUI program that imports only DLLs every Windows has, and carries its
# name, version, icon and per-monitor DPI manifest.
set -uo pipefail
status=0
fail() { echo "FAIL: $*"; status=1; }
headers="$(x86_64-w64-mingw32-objdump -p -h "$1")"
# A 64-bit PE, a GUI program, with resources.
for w in 'PE32+' 'Subsystem.*Windows GUI' '\.rsrc'; do grep -q "$w" <<<"$headers" || fail "no $w"; done
others="$(sed -n 's/.*DLL Name: //p' <<<"$headers" |
    grep -vxE '(KERNEL32|USER32|GDI32|gdiplus|OPENGL32|SHLWAPI|ole32|msvcrt|ADVAPI32|WTSAPI32)\.dll')"
[ -z "$others" ] || fail "imports" $others
text="$(strings -a "$1")"
grep -q '<dpiAwareness[^>]*>PerMonitorV2</dpiAwareness>' <<<"$text" || fail "no per-monitor-v2 manifest"
grep -q '<dpiAware[^>]*>true/pm</dpiAware>' <<<"$text" || fail "no true/pm fallback"
grep -q 'supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"' <<<"$text" || fail "no Windows 10 entry"
grep -qx 'Orvane' <(strings -a -el "$1") || fail "no display name string"
grep -q 'OriginalFilename' <(strings -a -el "$1") || fail "no version information"
exit $status
