#!/usr/bin/env bash
# Reads the three shortcuts that a test left in C:\jextest\FOLDER of the test prefix with lnkinfo (Debian
# package liblnk-utils), a reader of the format independent of Wine, decoding code page 1250; then removes
# the folder.
#   shortcuts_lnkinfo.sh FOLDER INSTALL-DIR    (INSTALL-DIR in UTF-8)
set -u
group=${WINEPREFIX:?}/drive_c/jextest/$1 install=$2
trap 'rm -rf "$group"' EXIT
command -v lnkinfo >/dev/null || { echo "lnkinfo not found: install liblnk-utils" >&2; exit 1; }
[ -d "$group" ] || { echo "no shortcuts at $group: the test before did not leave them" >&2; exit 1; }

status=0
fail() { echo "$*" >&2; status=1; }
# The value of the first line "<label> : <value>" of a report.
field() { printf '%s\n' "$1" | sed -n "s/^[[:space:]]*$2[[:space:]]*: //p" | head -n 1; }

names=$(cd "$group" && ls -1 | LC_ALL=C sort | tr '\n' '|')
[ "$names" = "Jex.lnk|Program instalacyjny.lnk|Program konfiguracyjny.lnk|" ] || fail "group holds: $names"
for pair in "Jex.lnk:Jex.exe" "Program instalacyjny.lnk:jexinstl.exe" "Program konfiguracyjny.lnk:jexsetup.exe"; do
    link=${pair%%:*} target=${pair#*:}
    report=$(lnkinfo -c windows-1250 "$group/$link" 2>&1) || { fail "lnkinfo cannot read $link: $report"; continue; }
    path=$(field "$report" "Local path") dir=$(field "$report" "Working directory")
    [ "$path" = "$install\\$target" ] || fail "$link: target '$path', want '$install\\$target'"
    [ "$dir" = "$install\\" ] || fail "$link: working directory '$dir', want '$install\\'"
    grep -Eq "Contains a (description|command line arguments) string" <<<"$report" &&
        fail "$link: has a description or arguments"
done
[ $status -eq 0 ] && echo "three shortcuts read back by lnkinfo"
exit $status
