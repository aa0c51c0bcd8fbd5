#!/bin/bash
# Rewrites the header and footer of a tree of 40 small .doc files with the
# program's real batch code, and compares it with LibreOffice's own
# load-and-store of the same files in one office (the floor) and with a fresh
# office for every document.
#   bash bench/run-benchmark.sh [build folder]   (default: build-bench)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-bench}"
count=40

cmake -S bench -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target word_bench >/dev/null
driver="$build/word_bench"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# Both offices get profiles of their own, warmed before anything is timed.
export XDG_CACHE_HOME="$work/cache"
soffice=(soffice "-env:UserInstallation=file://$work/soffice-profile" --headless --norestore)

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

"$driver" make "$work/source" "$count"
"${soffice[@]}" --convert-to doc --outdir "$work/warm" "$(find "$work/source" -name '*.doc' | head -1)" >/dev/null 2>&1
mapfile -t files < <(find "$work/source" -name '*.doc' | sort)

cp -r "$work/source" "$work/batch"
batch=$("$driver" batch "$work/batch")

start=$(now)
"${soffice[@]}" --convert-to doc --outdir "$work/floor" "${files[@]}" >/dev/null 2>&1
floor=$(elapsed "$start" "$(now)")

start=$(now)
for f in "${files[@]}"; do
  "${soffice[@]}" --convert-to doc --outdir "$work/fresh" "$f" >/dev/null 2>&1
done
fresh=$(elapsed "$start" "$(now)")

printf '%d documents\n' "${#files[@]}"
printf 'batch (program, warm shared office):     %6.2f s\n' "$batch"
printf 'floor (load and store, one office):      %6.2f s\n' "$floor"
printf 'fresh office per document:               %6.2f s\n' "$fresh"
printf 'batch / floor:  %s  (goal: at most 1.5)\n' "$(ratio "$batch" "$floor")"
printf 'fresh / batch:  %s  (goal: at least 5)\n' "$(ratio "$fresh" "$batch")"
