#!/usr/bin/env bash
# Records what the simulator does for every system on a few long scripts: the traces, the check
# files and the autosaves, one folder per run. Two corpora of the same commit range are compared
# with `diff -r`; a change that is not meant to alter behaviour leaves them identical.
#   scripts/trace-corpus.sh OUT_DIR [SIM]
set -euo pipefail
out=${1:?usage: trace-corpus.sh OUT_DIR [SIM]}
sim=${2:-$(dirname "${BASH_SOURCE[0]}")/../build/orbista-sim}
sim=$(realpath "$sim")
mkdir -p "$out"
out=$(realpath "$out")

# The scripts are generated, not stored: a fixed awk generator gives the same tokens everywhere.
make_script() { # seed length
    awk -v seed="$1" -v len="$2" 'BEGIN {
        srand(seed);
        for (i = 1; i <= len; i++) {
            r = rand();
            if (r < 0.03) print "c";
            else if (r < 0.035) print "n";
            else if (r < 0.040) print "set:MaxStake=" int(rand() * 40);
            else if (r < 0.043) print "set:Memo3=" int(rand() * 500) - 100;
            else if (r < 0.045) print "set:UseDrawnSeries=" int(rand() * 2);
            else if (r < 0.046) print "set:WinTarget=abc";
            else if (r < 0.047) print "set:WinTarget=50";
            else if (r < 0.30) print int(rand() * 6);   # a repetitive stretch: few distinct numbers
            else print int(rand() * 37);
        }
    }'
}
make_script 11 3000 >"$out/script-a.txt"
make_script 12 6000 >"$out/script-b.txt"

systems="with-selection without-selection sectors six-lines peer anti-review esd favourites gizmo
chaos waiting statistics-only custom none"
for system in $systems; do
    for script in a b; do
        for sectors in "" --sectors-on-table; do
            run="$out/$system-$script${sectors:+-table}"
            mkdir -p "$run/check" "$run/autosave"
            (cd "$run" && "$sim" --system "$system" $sectors --seed 7 --trace \
                --check-dir "$run/check" --autosave-dir "$run/autosave" \
                --script "$out/script-$script.txt" >trace.txt 2>/dev/null) || echo "exit $? ($run)" >>"$run/trace.txt"
            # Autosave names carry the clock: the contents are what is compared, as a sorted list.
            (cd "$run/autosave" && for f in *; do [ -e "$f" ] && md5sum <"$f"; done | sort | uniq -c) \
                >"$run/autosaves.txt"
            rm -rf "$run/autosave"
        done
    done
    mkdir -p "$out/check-random"
    "$sim" --system "$system" --seed 7 --check-dir "$out/check-random" --random 20000 \
        >"$out/$system-random.txt" 2>/dev/null
done
echo "corpus in $out"
