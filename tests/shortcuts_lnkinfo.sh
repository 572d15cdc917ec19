#!/usr/bin/env bash
# Reads the Start-menu group that the test ShortcutsForLinuxReader.LeaveGroup
# left in the test prefix with lnkinfo (Debian package liblnk-utils), a
# reader of the shortcut format independent of Wine, then removes it.
set -u
: "${WINEPREFIX:?}"
scratch=$WINEPREFIX/drive_c/jextest/lnkinfo
group="$scratch/Menu Start/Programy/Kestrel Forge/Jex"
install='C:\jextest\lnkinfo\Gry\Jex'
trap 'rm -rf "$scratch"' EXIT

if ! command -v lnkinfo >/dev/null; then
    echo "lnkinfo not found: install the Debian package liblnk-utils" >&2
    exit 1
fi
if [ ! -d "$group" ]; then
    echo "no group folder at $group: ShortcutsForLinuxReader.LeaveGroup did not leave one" >&2
    exit 1
fi

status=0
fail() { echo "$*" >&2; status=1; }

# The first line "<label> : <value>" of lnkinfo's report.
field() {
    printf '%s\n' "$1" | sed -n "s/^[[:space:]]*$2[[:space:]]*: //p" | head -n 1
}

expected_names=$'Jex.lnk\nProgram instalacyjny.lnk\nProgram konfiguracyjny.lnk'
names=$(cd "$group" && ls -1 | LC_ALL=C sort)
[ "$names" = "$expected_names" ] || fail "group holds: $names"

check() {
    local link=$1 target=$2 report
    if ! report=$(lnkinfo "$group/$link" 2>&1); then
        fail "lnkinfo cannot read $link: $report"
        return
    fi
    local path dir
    path=$(field "$report" "Local path")
    dir=$(field "$report" "Working directory")
    [ "$path" = "$install\\$target" ] || fail "$link: target '$path', want '$install\\$target'"
    [ "$dir" = "$install\\" ] || fail "$link: working directory '$dir', want '$install\\'"
    if printf '%s\n' "$report" | grep -Eq "Contains a (description|command line arguments) string"; then
        fail "$link: has a description or arguments"
    fi
}

check "Jex.lnk" "Jex.exe"
check "Program instalacyjny.lnk" "jexinstl.exe"
check "Program konfiguracyjny.lnk" "jexsetup.exe"
[ $status -eq 0 ] && echo "three shortcuts read back by lnkinfo"
exit $status
