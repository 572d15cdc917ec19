#!/usr/bin/env bash
# Reads the three shortcuts that the installation cycle left in C:\jextest\links-CODEPAGE of the test prefix, for
# each system code page it ran under, with lnkinfo (Debian package liblnk-utils), a reader of the format
# independent of Wine; then removes the folders.
#   shortcuts_lnkinfo.sh INSTALL-DIR links-1250 links-1252 ...    (INSTALL-DIR in UTF-8)
# The working directory is kept as UTF-16 and read back whole. The link's local path is kept by Wine only in the
# system's ANSI code page (Windows adds a UTF-16 copy where that cannot hold it; Wine does not), so it reads back
# as the Polish path only where the system's code page is 1250; elsewhere its file name is checked.
set -u
install=$1
shift
command -v lnkinfo >/dev/null || { echo "lnkinfo not found: install liblnk-utils" >&2; exit 1; }

status=0
fail() { echo "$*" >&2; status=1; }
# The value of the first line "<label> : <value>" of a report.
field() { printf '%s\n' "$1" | sed -n "s/^[[:space:]]*$2[[:space:]]*: //p" | head -n 1; }

for folder in "$@"; do
    group=${WINEPREFIX:?}/drive_c/jextest/$folder
    [ -d "$group" ] || { fail "no shortcuts at $group: the cycle under ${folder#links-} did not leave them"; continue; }
    names=$(cd "$group" && ls -1 | LC_ALL=C sort | tr '\n' '|')
    [ "$names" = "Jex.lnk|Program instalacyjny.lnk|Program konfiguracyjny.lnk|" ] || fail "$folder holds: $names"
    for pair in "Jex.lnk:Jex.exe" "Program instalacyjny.lnk:jexinstl.exe" "Program konfiguracyjny.lnk:jexsetup.exe"; do
        link=${pair%%:*} target=${pair#*:}
        report=$(lnkinfo -c windows-1250 "$group/$link" 2>&1) || { fail "$folder: lnkinfo cannot read $link: $report"; continue; }
        path=$(field "$report" "Local path") dir=$(field "$report" "Working directory")
        want=$install\\$target
        [ "$folder" = links-1250 ] || want=${path%\\*}\\$target
        [ "$path" = "$want" ] || fail "$folder/$link: target '$path', want '$want'"
        [ "$dir" = "$install\\" ] || fail "$folder/$link: working directory '$dir', want '$install\\'"
        grep -Eq "Contains a (description|command line arguments) string" <<<"$report" &&
            fail "$folder/$link: has a description or arguments"
    done
    rm -rf "$group"
done
[ $status -eq 0 ] && echo "the shortcuts of $# cycles read back by lnkinfo"
exit $status
