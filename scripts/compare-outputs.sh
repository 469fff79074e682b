#!/usr/bin/env bash
# Runs two builds of brevix-cli over the samples, the kernel cases and the
# fuzz corpora and lists every command whose output (standard output,
# standard error, exit status, files written) differs: the check that a
# change meant to keep behaviour kept it byte for byte.
#   scripts/compare-outputs.sh BEFORE/brevix-cli AFTER/brevix-cli [CASES_DIR]
set -uo pipefail
cd "$(dirname "$0")/.."
before=$1 after=$2 cases=${3:-../shared/kernel-cases}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
files=(samples/*.asc samples/*.gem samples/*.brx)
[ -d "$cases" ] && files+=("$cases"/*.asc)
for kind in asc gem brx; do files+=(fuzz/corpus/$kind/*); done

run() {  # run BINARY TAG ARGS...: output of one command into $work/TAG
    local binary=$1 tag=$2; shift 2
    local out=$work/$tag
    mkdir -p "$out"
    (cd "$out" && timeout 60 "$binary" "$@" >stdout 2>stderr; echo $? >status)
}
differ=0 count=0
for file in "${files[@]}"; do
    [ -f "$file" ] || continue
    path=$(realpath "$file")
    for command in info check json intent figures "convert:asc" "convert:gem" "convert:brx" "light:--size:64"; do
        IFS=: read -r name extra1 extra2 <<<"$command"
        args=("$name" "$path")
        case $name in
            convert) args+=("out.$extra1") ;;
            light) args+=("$extra1" "$extra2") ;;
        esac
        run "$(realpath "$before")" before "${args[@]}"
        run "$(realpath "$after")" after "${args[@]}"
        count=$((count + 1))
        if ! diff -r "$work/before" "$work/after" >/dev/null; then
            echo "differs: brevix-cli ${args[*]}"
            differ=$((differ + 1))
        fi
        rm -rf "$work/before" "$work/after"
    done
done
echo "$count commands, $differ differ"
[ "$differ" = 0 ]
