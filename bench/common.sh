# Sourced by bench/install-speed and bench/uninstall-speed: a Wine prefix of
# their own, the sample CDs, the trees that the outside tools copy and
# remove, timing, medians and ratios.
#
# Fair comparisons: every contender works on the same tree on the same file
# system, with a warm page cache and nothing synced inside any timing (a
# `sync` before each contender, outside its timing, starts all of them from
# clean pages); the rounds alternate the contenders and change their order
# (order_of); the figures printed are medians over the rounds.
#
# On this machine (a virtual one, which gives freed memory back to its host)
# a large copy can take two to three times as long when it comes third or
# fourth in a round, after the others' large copies, as when it comes
# first. So each contender copies each tree into a folder of its own and
# clears that folder (its copy of the same tree from the round before) just
# before it copies again, so that every copy first frees as much as it
# writes; an untimed round first gives every folder its tree; and the order
# rotates, so that every contender runs in every place equally often.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${JEX_BUILD_DIR:-$root/build}
export JEX_BUILD_DIR=$build

# bench_setup PREFIX-FOLDER TARGET...: installs what the benchmarks need,
# builds the targets, makes a fresh prefix (with its small sample CD in
# $build/bench-small-cd) and a display.
bench_setup() {
    local prefix=$1
    shift
    "$root/tools/prereqs" --test
    "$root/tools/build" --target installer standins manifest_tables "$@" >/dev/null
    export WINEPREFIX=$prefix
    source "$root/tools/wine-env"
    ensure_display
    trap bench_cleanup EXIT
    "$root/tools/prepare-test-prefix" "$prefix" "$build/bench-small-cd" "$build" >/dev/null
    drive_c=$prefix/drive_c
}

bench_cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    stop_display
}

# bench_make_trees: the exact-size CD ($build/bench-cd, 580 MB) beside the
# small one, and for each of them and each installation kind the tree that
# an installation of that kind makes: the manifest's directories and that
# kind's files, as hard links to the CD's files (same bytes, same cached
# pages). The names come from the program's own manifest.
#   $build/bench-trees/{tiny,exact}-{partial,full}
bench_make_trees() {
    "$root/tools/make-cd" "$build/bench-cd" --build "$build" --exact >/dev/null
    rm -rf "$build/bench-trees"
    local size cd kind tree tag name
    for size in tiny exact; do
        cd=$build/bench-small-cd
        [ "$size" = exact ] && cd=$build/bench-cd
        for kind in partial full; do
            tree=$build/bench-trees/$size-$kind
            mkdir -p "$tree"
            while read -r tag name; do
                name=${name//\\//}
                case $tag in
                    dir) mkdir -p "$tree/$name" ;;
                    "$kind") cp -l "$cd/$name" "$tree/$name" ;;
                esac
            done < <("$build/manifest-tables")
        done
    done
    # Written back once, then read once: every contender starts from a warm
    # cache and no pending writes.
    sync
    find "$build/bench-cd" "$build/bench-small-cd" -type f -exec cat {} + >/dev/null
}

# tree_files TREE, tree_bytes TREE
tree_files() { find "$1" -type f | wc -l; }
tree_bytes() { find "$1" -type f -printf '%s\n' | awk '{ n += $1 } END { print n }'; }

# win_path LINUX-PATH: the path as Wine's Z: drive shows it.
win_path() { local p="Z:$1"; echo "${p//\//\\}"; }

# clear_then_sync FOLDER...: removes the folders and writes everything back,
# outside any timing.
clear_then_sync() {
    rm -rf "$@"
    sync
}

# timed VAR COMMAND...: runs the command and puts its wall time in seconds
# into VAR; stdout and stderr of the command go to $bench_log.
timed() {
    local var=$1
    shift
    local start=$EPOCHREALTIME
    "$@" >>"$bench_log" 2>&1
    local end=$EPOCHREALTIME
    printf -v "$var" '%.4f' "$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')"
}

# wine_timed VAR COMMAND...: timed, for a Wine program.
wine_timed() {
    local var=$1
    shift
    timed "$var" env LC_ALL="$JEX_WINE_LOCALE" "$@"
}

# time_wine_start: what starting a Wine program costs (inside every figure
# of a Wine command), kept under "start".
time_wine_start() {
    local seconds
    wine_timed seconds wine cmd /c exit
    figure start "$seconds"
}

# figure NAME VALUE: keeps one round's figure under NAME (and logs it).
# Nothing is kept while bench_warmup is set.
declare -A figures
figure() {
    [ -n "${bench_warmup:-}" ] && return
    figures[$1]+=" $2"
    echo "figure $1: $2" >>"$bench_log"
}

# median NAME: the median of the figures kept under NAME.
median() {
    tr ' ' '\n' <<<"${figures[$1]:-}" | awk 'NF' | sort -g |
        awk '{ v[NR] = $1 } END { if (NR == 0) print "nan"; else if (NR % 2) print v[(NR + 1) / 2]; else printf "%.4f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# ratio NAME-A NAME-B [NAME-C NAME-D]: the median over the rounds of A/B,
# or of (A - C)/(B - D), round by round. Call it as $(ratio ...): the
# rounds' ratios it keeps stay in that subshell.
ratio() {
    local -a a b c d
    read -ra a <<<"${figures[$1]}"
    read -ra b <<<"${figures[$2]}"
    if [ $# -eq 4 ]; then
        read -ra c <<<"${figures[$3]}"
        read -ra d <<<"${figures[$4]}"
    fi
    local i
    figures[ratios]=""
    for i in "${!a[@]}"; do
        figures[ratios]+=" $(awk -v a="${a[i]}" -v b="${b[i]}" -v c="${c[i]:-0}" -v d="${d[i]:-0}" \
                                'BEGIN { printf "%.4f", (a - c) / (b - d) }')"
    done
    median ratios
}

# bench_field NAME OUTPUT: the value of a driver's "BENCH NAME=value" line
# (Windows programs end their lines with CR LF).
bench_field() { tr -d '\r' <<<"$2" | sed -n "s/^BENCH .*\\b$1=\\([^ ]*\\).*/\\1/p" | head -1; }

# order_of ROUND CONTENDER...: the contenders in this round's order. Every
# second round reverses the one before, and every pair of rounds starts one
# contender further on, so that over twice as many rounds as contenders each
# contender runs in every place, after every other one.
order_of() {
    local round=$1
    shift
    local -a list=("$@") out=()
    local n=${#list[@]} shift_by i
    shift_by=$((((round - 1) / 2) % n))
    for ((i = 0; i < n; i++)); do out+=("${list[(i + shift_by) % n]}"); done
    if [ $((round % 2)) -eq 0 ]; then
        local -a reversed=()
        for ((i = n - 1; i >= 0; i--)); do reversed+=("${out[i]}"); done
        out=("${reversed[@]}")
    fi
    echo "${out[@]}"
}

# plain_list KIND FILE [EXCEPT]: the manifest's directories and that kind's
# files, as bench/plain_win32.exe reads them, without the file EXCEPT.
plain_list() {
    "$build/manifest-tables" | tr -d '\r' |
        awk -v kind="$1" -v except="${3:-}" '
            $1 == "dir" { print "dir " substr($0, 5) }
            $1 == kind && substr($0, length(kind) + 2) != except { print "file " substr($0, length(kind) + 2) }' >"$2"
}
