#!/usr/bin/env bash
# Reads the three shortcuts of an installation that a test left in the test
# prefix with lnkinfo (Debian package liblnk-utils), a reader of the
# shortcut format independent of Wine, decoding their paths from code page
# 1250; then removes the test's scratch folder.
#   shortcuts_lnkinfo.sh FOLDER INSTALL-DIR
# FOLDER holds the shortcuts, under C:\jextest; its first part is the
# scratch folder. INSTALL-DIR is the installation's directory (UTF-8).
set -u
: "${WINEPREFIX:?}"
group=$WINEPREFIX/drive_c/jextest/$1
scratch=$WINEPREFIX/drive_c/jextest/${1%%/*}
install=$2
trap 'rm -rf "$scratch"' EXIT

if ! command -v lnkinfo >/dev/null; then
    echo "lnkinfo not found: install the Debian package liblnk-utils" >&2
    exit 1
fi
if [ ! -d "$group" ]; then
    echo "no shortcuts at $group: the test before did not leave them" >&2
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
    if ! report=$(lnkinfo -c windows-1250 "$group/$link" 2>&1); then
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
