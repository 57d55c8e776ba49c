#!/usr/bin/env bash
# Kills in-place saves at random moments and checks what they leave behind.
#
#   scripts/kill-test.sh [COUNT] [TALBATCH]
#
# COUNT times each (default 300), `talbatch form set` changes a form deck in place and `talbatch
# settings set` changes a settings file, and is killed (SIGKILL) after a random wait between 0 and
# a little more than a whole run takes. After every kill the deck must be the whole old or the
# whole new deck, its back-up ".BAK" a whole earlier deck, the settings file the whole old or new
# file, and at most one temporary file of a killed save may be left beside each of them (the next
# save removes it). Exit status 1 on the first violation, with what was found.
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-300}
talbatch=$(realpath "${2:-${TAL_BUILD_DIR:-build}/talbatch}")
work=$(mktemp -d "${TMPDIR:-/tmp}/talkill-XXXXXX")
trap 'rm -rf "$work"' EXIT

fail() { echo "kill-test: $*" >&2; exit 1; }
# Milliseconds since the epoch.
now() { date +%s%3N; }
# Temporary files of saves of $2 in folder $1.
temporaries() { find "$1" -maxdepth 1 -name ".$2.talsave-*" | wc -l; }

# ---- form deck: the demo's house form, made large enough that writing it takes a while ---------
mkdir -p "$work/form" "$work/expect"
cp -r demo/HOUSE.TKD demo/HOUSE.BMP demo/WEATHER.DAT demo/TALWIN "$work/form/"
for i in $(seq 1 40000); do echo "* padding line $i of a large deck, copied byte for byte on every save"; done \
  >> "$work/form/HOUSE.TKD"
deck=$work/form/HOUSE.TKD
"$talbatch" form set "$deck" -o "$work/expect/A.TKD" DAY1=5 >/dev/null
"$talbatch" form set "$deck" -o "$work/expect/B.TKD" DAY1=6 >/dev/null
cp "$work/expect/A.TKD" "$deck"
"$talbatch" form set "$deck" DAY1=5 >/dev/null  # a whole back-up to start from
started=$(now); "$talbatch" form set "$deck" DAY1=5 >/dev/null; formMs=$(( $(now) - started + 1 ))

# ---- settings file ---------------------------------------------------------------------------------
mkdir -p "$work/settings" "$work/expect/old" "$work/expect/new"
"$talbatch" settings set "$work/expect/old" "user_command=old command" >/dev/null
"$talbatch" settings set "$work/expect/new" "user_command=new command" >/dev/null
cp "$work/expect/old/TALSHELL.DFT" "$work/settings/"
started=$(now); "$talbatch" settings set "$work/settings" "user_command=old command" >/dev/null
settingsMs=$(( $(now) - started + 1 ))

# Runs "$@" in the background and kills it after a random wait of up to $1 * 1.3 milliseconds.
# Prints "killed" or "finished".
run_and_kill() {
  local limit=$1; shift
  "$@" >/dev/null 2>&1 &
  local pid=$!
  local wait=$(( RANDOM % (limit * 13 / 10 + 1) ))
  sleep "$(printf '%d.%03d' $(( wait / 1000 )) $(( wait % 1000 )))"
  if kill -9 "$pid" 2>/dev/null; then wait "$pid" 2>/dev/null || true; echo killed; else wait "$pid" 2>/dev/null || true; echo finished; fi
}

killed=0 finished=0
for i in $(seq 1 "$count"); do
  # The deck: whichever whole deck it holds, the save turns it into the other.
  if cmp -s "$deck" "$work/expect/A.TKD"; then value=6; else value=5; fi
  outcome=$(run_and_kill "$formMs" "$talbatch" form set "$deck" "DAY1=$value")
  [ "$outcome" = killed ] && killed=$((killed + 1)) || finished=$((finished + 1))
  cmp -s "$deck" "$work/expect/A.TKD" || cmp -s "$deck" "$work/expect/B.TKD" ||
    fail "run $i: the deck is neither the whole old nor the whole new deck"
  backup=$(find "$work/form" -maxdepth 1 -iname 'HOUSE.BAK' | head -1)
  [ -n "$backup" ] || fail "run $i: no back-up of the deck"
  cmp -s "$backup" "$work/expect/A.TKD" || cmp -s "$backup" "$work/expect/B.TKD" ||
    fail "run $i: the back-up is not a whole earlier deck"
  for name in HOUSE.TKD "$(basename "$backup")"; do
    [ "$(temporaries "$work/form" "$name")" -le 1 ] || fail "run $i: more than one temporary file of $name"
  done

  if cmp -s "$work/settings/TALSHELL.DFT" "$work/expect/old/TALSHELL.DFT"; then text="new command"; else text="old command"; fi
  outcome=$(run_and_kill "$settingsMs" "$talbatch" settings set "$work/settings" "user_command=$text")
  [ "$outcome" = killed ] && killed=$((killed + 1)) || finished=$((finished + 1))
  cmp -s "$work/settings/TALSHELL.DFT" "$work/expect/old/TALSHELL.DFT" ||
    cmp -s "$work/settings/TALSHELL.DFT" "$work/expect/new/TALSHELL.DFT" ||
    fail "run $i: the settings file is neither the whole old nor the whole new file"
  [ "$(temporaries "$work/settings" TALSHELL.DFT)" -le 1 ] || fail "run $i: more than one temporary settings file"
done

# A save that runs to its end leaves no temporary file at all.
"$talbatch" form set "$deck" DAY1=7 >/dev/null
"$talbatch" settings set "$work/settings" "user_command=last" >/dev/null
left=$(find "$work/form" "$work/settings" -name '.*talsave-*' | wc -l)
[ "$left" -eq 0 ] || fail "$left temporary files left after whole saves"
echo "kill-test: $count form saves and $count settings saves: $killed killed, $finished finished first; every file whole (form save ${formMs} ms, settings save ${settingsMs} ms)"
