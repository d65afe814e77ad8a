#!/usr/bin/env bash
# Builds tavilo-calc at each named commit and at its first parent, runs both
# over the same generated projects with --json and reports whether the
# outputs are byte-identical. Usage:
#   tools/project-variants/compare-commits.sh [--count N] COMMIT...
# A commit may also be given as BEFORE..AFTER to compare two chosen commits.
# Scratch trees live under ${TMPDIR:-/tmp}/tavilo-variants.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
count=500
if [ "${1:-}" = --count ]; then count=$2; shift 2; fi
scratch=${TMPDIR:-/tmp}/tavilo-variants
mkdir -p "$scratch/out"
projects=$scratch/projects
rm -rf "$projects"
python3 "$root/tools/project-variants/generate.py" "$projects" --count "$count"
export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}

# The --json output of one commit, built once and kept by commit id.
output_of() {
  local commit out
  commit=$(git -C "$root" rev-parse "$1")
  out=$scratch/out/$commit.jsonl
  if [ ! -s "$out" ]; then
    if [ ! -d "$scratch/src" ]; then
      git -C "$root" worktree add --detach "$scratch/src" "$commit" >/dev/null 2>&1
    fi
    git -C "$scratch/src" checkout --quiet --detach "$commit"
    cmake -S "$scratch/src" -B "$scratch/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DTAVILO_BUILD_TESTS=OFF -DTAVILO_BUILD_BENCH=OFF >/dev/null
    cmake --build "$scratch/build" --target tavilo-calc --parallel 2 >/dev/null
    (cd "$scratch" && "$scratch/build/src/app/tavilo-calc" "$projects"/*.tvl --json \
      >"$out" 2>/dev/null) || true
  fi
  echo "$out"
}

status=0
for arg in "$@"; do
  if [[ $arg == *..* ]]; then before=${arg%%..*}; after=${arg##*..}; else before=$arg^1; after=$arg; fi
  a=$(output_of "$before")
  b=$(output_of "$after")
  calculated=$(grep -vc '"refusal"' "$b" || true)
  if cmp -s "$a" "$b"; then
    echo "$(git -C "$root" rev-parse --short "$before") -> $(git -C "$root" rev-parse --short "$after"): identical ($(wc -l <"$b") projects, $calculated calculated, $(wc -c <"$b") bytes)"
  else
    echo "$(git -C "$root" rev-parse --short "$before") -> $(git -C "$root" rev-parse --short "$after"): DIFFERENT"
    status=1
  fi
done
exit $status
