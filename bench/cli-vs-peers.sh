#!/usr/bin/env bash
# Times cmdgen-cli writing the window's initial template many times over
# against the one-liners a user would write instead (perl, mawk, gawk, a Python
# loop) and against the bare cost of moving that many bytes (head -c N
# /dev/zero). Every peer must produce exactly cmdgen-cli's bytes, checked with
# cmp, before any timing is taken. Prints the machine and a table of medians,
# each as a ratio to cmdgen-cli from the same run.
#
# Usage: bench/cli-vs-peers.sh [--blocks N] [--runs R] [--output pipe|null]
#   --blocks N   blocks to write (default 10000000)
#   --runs R     timed rounds, each command once per round, after one
#                warm-up round (default 5)
#   --output     where the bytes go: a pipe read and discarded by hyperfine
#                (default), or /dev/null
# CMDGEN_CLI names the binary (default: build/bin/cmdgen-cli of this tree).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
blocks=10000000
runs=5
output=pipe

while [ $# -gt 0 ]; do
  case $1 in
    --blocks) blocks=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --output) output=$2; shift 2 ;;
    -h | --help) sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "cli-vs-peers: unknown argument '$1' (see --help)" >&2; exit 2 ;;
  esac
done
case $output in pipe | null) ;; *) echo "cli-vs-peers: --output is pipe or null" >&2; exit 2 ;; esac
if ! [[ $blocks =~ ^[1-9][0-9]*$ && $runs =~ ^[1-9][0-9]*$ ]]; then
  echo "cli-vs-peers: --blocks and --runs take positive whole numbers" >&2
  exit 2
fi

cli=${CMDGEN_CLI:-$root/build/bin/cmdgen-cli}
if [ ! -x "$cli" ]; then
  echo "cli-vs-peers: no cmdgen-cli at $cli; run 'make build' or set CMDGEN_CLI" >&2
  exit 1
fi
# Debian's interpreter, not whatever a version manager put first on PATH.
python=/usr/bin/python3
[ -x "$python" ] || python=$(command -v python3 || true)
missing=()
for tool in hyperfine perl mawk gawk jq cmp "$python"; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "cli-vs-peers: missing ${missing[*]}; run scripts/install-deps" >&2
  exit 1
fi
# A session that forces unbuffered Python output would make the Python peer
# issue one write per block, which no user's shell does.
unset PYTHONUNBUFFERED

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

first=1124
last=$((first + blocks - 1))

# The commands as a user would type them in bash; @N@ and @LAST@ are filled in
# below. The template is the window's initial one, each block ends in CR LF.
names=(cmdgen-cli perl mawk gawk python3)
commands=(
  "$(printf '%q' "$cli") -t \$'vlan {1}\\r\\nport Ethernet0/0/{2}\\r\\nquit' -s $first,1 -e @LAST@"
  "perl -e 'for (0 .. @N@ - 1) { my (\$v, \$p) = ($first + \$_, 1 + \$_); print \"vlan \$v\\r\\nport Ethernet0/0/\$p\\r\\nquit\\r\\n\" }'"
  "mawk 'BEGIN { for (i = 0; i < @N@; i++) printf \"vlan %d\\r\\nport Ethernet0/0/%d\\r\\nquit\\r\\n\", $first + i, 1 + i }'"
  "gawk 'BEGIN { for (i = 0; i < @N@; i++) printf \"vlan %d\\r\\nport Ethernet0/0/%d\\r\\nquit\\r\\n\", $first + i, 1 + i }'"
  "$python -c \$'import sys\\nw = sys.stdout.write\\nfor i in range(@N@):\\n    w(f\"vlan {$first + i}\\\\r\\\\nport Ethernet0/0/{1 + i}\\\\r\\\\nquit\\\\r\\\\n\")'"
)
for i in "${!commands[@]}"; do
  commands[i]=${commands[i]//@N@/$blocks}
  commands[i]=${commands[i]//@LAST@/$last}
done

machine() {
  local cpu memory os
  cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
  memory=$(awk '/^MemTotal:/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)
  os=$(. /etc/os-release && echo "$PRETTY_NAME")
  echo "Machine: $(nproc) cores, ${cpu:-unknown CPU}, $memory, $os, Linux $(uname -r)"
  echo "Tools: $(perl -e 'print "perl $^V"'), mawk $(mawk -W version 2>&1 | awk 'NR == 1 { print $2 }'),"\
    "gawk $(gawk --version | awk 'NR == 1 { print $3 }' | tr -d ,), $("$python" --version),"\
    "$(hyperfine --version)"
}
machine
# Other work on a shared machine shows here; the ratios hold up better than the
# absolute times, and the CPU times better than the wall times.
echo "Load average before: $(cut -d ' ' -f 1-3 /proc/loadavg)"

# The reference bytes, kept once; every peer is compared with them.
echo "Checking that every command writes the same $blocks blocks..."
bash -c "${commands[0]}" >"$work/reference"
bytes=$(stat -c %s "$work/reference")
for i in "${!commands[@]}"; do
  [ "$i" -eq 0 ] && continue
  if ! bash -c "${commands[i]}" | cmp -s "$work/reference" -; then
    echo "cli-vs-peers: ${names[i]} does not write cmdgen-cli's bytes:" >&2
    bash -c "${commands[i]}" | cmp "$work/reference" - >&2 || true
    exit 1
  fi
done
rm -f "$work/reference"
names+=("bare write")
commands+=("head -c $bytes /dev/zero")
echo "All ${#names[@]} commands agree on $bytes bytes."

# The runs go in rounds, each command once per round, so that a burst of load
# from other work on the machine hits every command alike. Round 0 warms the
# caches and is not counted.
for round in $(seq 0 "$runs"); do
  args=(--shell=bash --output="$output" --runs 1 --style none --export-json "$work/round-$round.json")
  for i in "${!commands[@]}"; do args+=(-n "${names[i]}" "${commands[i]}"); done
  if ! hyperfine "${args[@]}" >"$work/hyperfine.log" 2>&1; then
    cat "$work/hyperfine.log" >&2
    exit 1
  fi
done
rm -f "$work/round-0.json"

echo "Load average after: $(cut -d ' ' -f 1-3 /proc/loadavg)"
where=$([ "$output" = pipe ] && echo "a pipe" || echo /dev/null)
echo
echo "$blocks blocks, $bytes bytes, output to $where; medians of $runs rounds after one warm-up"
echo "(wall: elapsed time; CPU: user + system time of the command itself)"
jq -r -s --argjson blocks "$blocks" --argjson bytes "$bytes" '
  # n with d decimals, padded: fixed(1; 2) -> "1.00"
  def fixed(n; d):
    ((n * pow(10; d)) | round | tostring) as $s
    | if d == 0 then $s
      else ((("0" * (d + 1 - ($s | length))) // "") + $s) as $p
      | $p[:(($p | length) - d)] + "." + $p[(($p | length) - d):]
      end;
  def median: sort | if length % 2 == 1 then .[length / 2 | floor]
                     else (.[length / 2 - 1] + .[length / 2]) / 2 end;
  [.[].results[]] | group_by(.command)
  | map({command: .[0].command, wall: (map(.times[0]) | median), min: (map(.times[0]) | min),
         max: (map(.times[0]) | max), cpu: (map(.user + .system) | median)})
  | . as $r
  | (map({(.command): .}) | add) as $by
  | $by["cmdgen-cli"] as $cli
  | $by["bare write"] as $bare
  | ($r | map(select(.command != "cmdgen-cli" and .command != "bare write")) | min_by(.wall)) as $best
  | "| command | wall s | min s | max s | CPU s | Mblocks/s | MB/s | wall / cmdgen-cli | CPU / cmdgen-cli |",
    "|---|---:|---:|---:|---:|---:|---:|---:|---:|",
    (["cmdgen-cli", "perl", "mawk", "gawk", "python3", "bare write"][] as $name | $by[$name]
     | "| \(.command) | \(fixed(.wall; 3)) | \(fixed(.min; 3)) | \(fixed(.max; 3)) | " +
       "\(fixed(.cpu; 3)) | \(fixed($blocks / .wall / 1e6; 1)) | \(fixed($bytes / .wall / 1e6; 0)) | " +
       "\(fixed(.wall / $cli.wall; 2)) | \(fixed(.cpu / $cli.cpu; 2)) |"),
    "",
    "Fastest peer: \($best.command), \(fixed($best.wall / $cli.wall; 1)) times the wall time of " +
      "cmdgen-cli (goal: at least 10): " + (if $best.wall / $cli.wall >= 10 then "met" else "missed" end),
    "cmdgen-cli: \(fixed($cli.wall / $bare.wall; 2)) times the wall time of the bare write " +
      "(goal: at most 2): " + (if $cli.wall / $bare.wall <= 2 then "met" else "missed" end)
' "$work"/round-*.json
