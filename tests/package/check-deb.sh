#!/usr/bin/env bash
# Builds the .deb from a build folder and checks it as a Debian maintainer would: lintian has nothing
# to say, Depends names the libraries, the man pages render and name every command and option of
# --help, bash completes from where the package puts its completion, every version agrees.
# Usage: check-deb.sh BUILD_DIR WORK_DIR
set -euo pipefail
build=$1 work=$2
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack"; }
debs=("$work"/*.deb)
deb=${debs[0]}
[ -f "$deb" ] || fail "no .deb in $work"

# The libraries the program links against through Qt and SQLite, found by dpkg-shlibdeps.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6core6 libqt6gui6 libqt6widgets6 libqt6charts6 libsqlite3-0; do
  [[ ", $depends" == *", $package "* ]] || fail "Depends lacks $package: $depends"
done

# lintian: not one tag, but for the overrides in packaging/lintian-overrides, each below its reason.
command -v lintian >/dev/null || fail "lintian is missing (scripts/install-deps.sh --dev)"
lintian_out=$(lintian --fail-on none "$deb" 2>&1 | grep -vx 'running with root privileges is not recommended!' || true)
[ -z "$lintian_out" ] || fail "lintian: $lintian_out"
awk '/^#/ { reason = 1; next } /^$/ { reason = 0; next } !reason { exit 1 }' \
  "$(dirname "$0")/../../packaging/lintian-overrides" || fail "an override without its reason"

root=$work/root
dpkg-deb -x "$deb" "$root"
if dpkg-deb -c "$deb" | grep -E 'mime\.cache|mimeinfo\.cache|/globs2?$'; then
  fail "the package carries the desktop's caches"
fi

# Versions: the package's, the changelog's, the metainfo's newest release and both programs'.
version=$(dpkg-deb -f "$deb" Version)
lib=$root/usr/lib/dravenna-deckbuilder
zcat "$root/usr/share/doc/dravenna-deckbuilder/changelog.gz" >"$work/changelog"
[ "$(dpkg-parsechangelog -l "$work/changelog" -S Version)" = "$version" ] || fail "changelog version"
grep -q "<release version=\"$version\" date=\"" "$root/usr/share/metainfo/de.dravenna.deckbuilder.metainfo.xml" ||
  fail "metainfo has no release $version"
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$lib/dravenna-deck" --version)" = \
  "dravenna-deck (Dravenna Deck-Builder) $version" ] || fail "dravenna-deck --version"
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$lib/dravenna-deckbuilder" --version)" = \
  "dravenna-deckbuilder (Dravenna Deck-Builder) $version" ] || fail "dravenna-deckbuilder --version"

# Man pages: render without a warning, carry files, environment and exit codes, and name every
# command and option that --help names.
for program in dravenna-deck dravenna-deckbuilder; do
  page=$root/usr/share/man/man1/$program.1.gz
  [ -f "$page" ] || fail "no man page $page"
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$program.1: $warnings"
  text=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -E UTF-8 -l "$page" 2>/dev/null | LC_ALL=C.UTF-8 col -b)
  for section in ÜBERSICHT OPTIONEN DATEIEN UMGEBUNG RÜCKGABEWERT; do
    grep -q "^$section" <<<"$text" || fail "$program.1 lacks $section"
  done
  help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$lib/$program" --help)
  for word in $(grep -oE '(^|[ ,\[])--?[a-zA-Z][a-zA-Z-]*' <<<"$help" | tr -d ' ,[' | sort -u) \
    $(sed -n 's/^  \(check\|list\|export\|import\|query\) .*/\1/p' <<<"$help"); do
    grep -qF -- "$word" <<<"$text" || fail "$program.1 does not name $word of --help"
  done
done

# bash completion as a user's interactive bash loads it (Debian's default .bashrc sources
# bash-completion, which finds the file among the XDG data folders).
[ -f /usr/share/bash-completion/bash_completion ] || fail "bash-completion is missing (scripts/install-deps.sh --dev)"
home=$work/home
mkdir -p "$home/decks/unter"
cp /etc/skel/.bashrc "$home/.bashrc"
touch "$home/decks/mein.drd" "$home/decks/alt.ctd" "$home/decks/notiz.txt"
completions=$(cd "$home/decks" && HOME=$home XDG_DATA_DIRS=$root/usr/share:/usr/share PS1= TERM=dumb \
  bash -i 2>/dev/null <<'SHELL'
complete_line() {
  COMP_LINE=$1
  COMP_POINT=${#COMP_LINE}
  read -ra COMP_WORDS <<<"$COMP_LINE"
  [[ $COMP_LINE == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  complete -p dravenna-deck &>/dev/null || _completion_loader dravenna-deck
  local function=$(complete -p dravenna-deck | sed -n 's/.* -F \([^ ]*\) .*/\1/p')
  "$function" dravenna-deck "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  printf '%s|' "$COMP_LINE"
  printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' '
  echo
}
complete_line 'dravenna-deck '
complete_line 'dravenna-deck ex'
complete_line 'dravenna-deck check '
complete_line 'dravenna-deck import '
complete_line 'dravenna-deck export mein.drd -o '
complete_line 'dravenna-deck export mein.drd --'
complete_line 'dravenna-deck query --format '
complete_line 'dravenna-deck --'
SHELL
)
expected="dravenna-deck |check export help import list query 
dravenna-deck ex|export 
dravenna-deck check |mein.drd unter 
dravenna-deck import |alt.ctd unter 
dravenna-deck export mein.drd -o |alt.ctd unter 
dravenna-deck export mein.drd --|--cardtable-data --db --output 
dravenna-deck query --format |json text tsv 
dravenna-deck --|--help --version "
[ "$completions" = "$expected" ] || fail "bash completion:
$completions
expected:
$expected"
echo "dravenna-deckbuilder $version: lintian clean, Depends: $depends"
