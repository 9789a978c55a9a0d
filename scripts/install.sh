#!/usr/bin/env bash
# make install / make uninstall: Quorvane.lv2 into LV2_DIR, the AAX module
# bundle into PREFIX/lib/aax, aaxhost into PREFIX/bin.
#   scripts/install.sh install   [BUILD_DIR=build] [PREFIX=dir] [LV2_DIR=dir]
#   scripts/install.sh uninstall [PREFIX=dir] [LV2_DIR=dir]
# Defaults: LV2_DIR=$HOME/.lv2; PREFIX=/usr/local for root, $HOME/.local for
# anyone else (the Makefile's defaults). It only reads BUILD_DIR, so it runs
# as a user who cannot write the build tree.
#
# Install is all or nothing: every destination is checked for writing before
# anything is made or copied; the copies are stripped and staged beside their
# destination, then renamed into place (a replaced install is kept aside
# until the end). Should any step fail, what this run made or put in place is
# removed and the previous install restored. The folders install had to make
# are listed in RECORD inside each bundle, so uninstall removes them again
# once empty, and never a folder that was there before.
set -euo pipefail

RECORD=.installed-folders
LV2=Quorvane.lv2 AAX=Quorvane.aaxplugin TOOL=aaxhost

die() { echo "$mode: $*" >&2; exit 1; }

mode=${1:-}
[[ $mode == install || $mode == uninstall ]] ||
  { echo "usage: $0 install|uninstall [BUILD_DIR=dir] [PREFIX=dir] [LV2_DIR=dir]" >&2; exit 2; }
shift
BUILD_DIR=build PREFIX='' LV2_DIR=''
for a in "$@"; do
  case $a in
  BUILD_DIR=* | PREFIX=* | LV2_DIR=*) printf -v "${a%%=*}" '%s' "${a#*=}" ;;
  *) die "unknown argument '$a'" ;;
  esac
done
if [[ -z $PREFIX || -z $LV2_DIR ]]; then
  [[ -n ${HOME:-} ]] || die "HOME is not set; set PREFIX= and LV2_DIR="
fi
if [[ -z $PREFIX ]]; then
  if [[ $(id -u) == 0 ]]; then PREFIX=/usr/local; else PREFIX=$HOME/.local; fi
fi
LV2_DIR=${LV2_DIR:-$HOME/.lv2}
# Absolute and without . or .. (symbolic links kept as they are).
PREFIX=$(realpath -ms -- "$PREFIX") LV2_DIR=$(realpath -ms -- "$LV2_DIR")

# Each destination folder, the variable that sets it, and what goes into it.
dirs=("$LV2_DIR" "$PREFIX/lib/aax" "$PREFIX/bin")
vars=(LV2_DIR PREFIX PREFIX)
items=("$LV2" "$AAX" "$TOOL")

refuse() { # path variable
  local hint="set $2=..."
  [[ $(id -u) == 0 ]] || hint="run as root or set $2=..."
  die "cannot write $1; $hint"
}

# The folder itself if it exists, else its nearest existing ancestor.
existing_ancestor() {
  local d=$1
  while [[ ! -e $d && ! -L $d ]]; do d=$(dirname -- "$d"); done
  printf '%s\n' "$d"
}

# Is folder $1 folder $2 or one of its ancestors?
covers() { [[ $2 == "$1" || $2 == "$1"/* ]]; }

# Folders a destination may have had made for it: itself and its ancestors.
is_destination_folder() {
  local d
  for d in "${dirs[@]}"; do
    covers "$1" "$d" && return 0
  done
  return 1
}

# The recorded folders of an installed bundle that are destination folders.
recorded() {
  local f=$1/$RECORD d
  [[ -f $f ]] || return 0
  while IFS= read -r d; do
    [[ -n $d ]] && is_destination_folder "$d" && printf '%s\n' "$d"
  done <"$f"
  return 0
}

# Can this user replace or remove an installed item? (its folder writable,
# and, for a bundle, every folder in it)
removable() {
  [[ -w $(dirname -- "$1") ]] || return 1
  [[ -d $1 && ! -L $1 ]] || return 0
  [[ -z $(find "$1" -type d ! -writable -print -quit 2>/dev/null) ]]
}

uninstall() {
  local i dest any=0
  for i in "${!dirs[@]}"; do
    dest=${dirs[i]}/${items[i]}
    if [[ -e $dest || -L $dest ]]; then
      removable "$dest" || refuse "$dest" "${vars[i]}"
    fi
  done
  local made
  made=$(for i in 0 1; do recorded "${dirs[i]}/${items[i]}"; done | sort -ru)
  for i in "${!dirs[@]}"; do
    dest=${dirs[i]}/${items[i]}
    if [[ -e $dest || -L $dest ]]; then
      rm -rf -- "$dest"
      echo "removed $dest"
      any=1
    fi
  done
  # Deepest first: a folder sorts after its ancestors.
  local d
  while IFS= read -r d; do
    [[ -n $d && -d $d && ! -L $d && -z $(ls -A -- "$d") ]] || continue
    rmdir -- "$d" && echo "removed folder $d"
  done <<<"$made"
  ((any)) || echo "nothing installed in $LV2_DIR, $PREFIX/lib/aax, $PREFIX/bin"
}

install() {
  local src=("$BUILD_DIR/$LV2" "$BUILD_DIR/$AAX" "$BUILD_DIR/bin/$TOOL") f
  for f in "${src[1]}/Contents/x86_64-linux/Quorvane.so" "${src[0]}/Quorvane.so" \
    "${src[0]}/Quorvane_ui.so" "${src[0]}/manifest.ttl" "${src[2]}"; do
    [[ -f $f && -r $f ]] || die "$f is missing or unreadable; make install builds it"
  done
  command -v strip >/dev/null || die "strip (binutils) is missing"

  # Every check before the first change.
  local i a dest
  for i in "${!dirs[@]}"; do
    a=$(existing_ancestor "${dirs[i]}")
    [[ -d $a && -w $a && -x $a ]] || refuse "${dirs[i]}" "${vars[i]}"
    dest=${dirs[i]}/${items[i]}
    if [[ -e $dest || -L $dest ]]; then
      removable "$dest" || refuse "$dest" "${vars[i]}"
    fi
  done

  # From here on, a failure undoes this run.
  made=() staged=() placed=() kept=() done_ok=0
  trap rollback EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM HUP

  # The folders to make, outermost first, each before it is made.
  local d n new
  for d in "${dirs[@]}"; do
    new=()
    while [[ ! -e $d && ! -L $d ]]; do new=("$d" "${new[@]}"); d=$(dirname -- "$d"); done
    for n in "${new[@]}"; do
      mkdir -- "$n"
      made+=("$n")
    done
  done

  # Stage: copy, make the modes plain, strip the copies, write the records.
  local st
  for i in "${!dirs[@]}"; do
    st=$(mktemp -d "${dirs[i]}/.${items[i]}.XXXXXX")
    staged[i]=$st
    cp -R -- "${src[i]}" "$st/${items[i]}"
    chmod -R u=rwX,go=rX -- "$st/${items[i]}"
  done
  find "${staged[0]}/$LV2" "${staged[1]}/$AAX" -type f -name '*.so' \
    -exec strip --strip-unneeded -- "${staged[2]}/$TOOL" {} +
  # The LV2 bundle records the folders made for LV2_DIR, the AAX bundle those
  # made for PREFIX (lib/aax and bin); each keeps what the install it
  # replaces had recorded, folders an earlier install made.
  for i in 0 1; do
    for d in "${made[@]}"; do
      if covers "$d" "${dirs[i]}" || { ((i == 1)) && covers "$d" "${dirs[2]}"; }; then
        printf '%s\n' "$d"
      fi
    done >"${staged[i]}/$RECORD"
    recorded "${dirs[i]}/${items[i]}" >>"${staged[i]}/$RECORD"
    sort -u "${staged[i]}/$RECORD" >"${staged[i]}/${items[i]}/$RECORD"
    chmod 644 -- "${staged[i]}/${items[i]}/$RECORD"
  done

  # Rename into place; a replaced item is kept aside until the end.
  for i in "${!dirs[@]}"; do
    dest=${dirs[i]}/${items[i]}
    if [[ -e $dest || -L $dest ]]; then
      mv -T -- "$dest" "${staged[i]}/old"
      kept[i]=${staged[i]}/old
    fi
    mv -T -- "${staged[i]}/${items[i]}" "$dest"
    placed[i]=$dest
  done
  done_ok=1
  for i in "${!dirs[@]}"; do rm -rf -- "${staged[i]}"; done
  trap - EXIT INT TERM HUP
  echo "installed ${placed[0]}, ${placed[1]}, ${placed[2]}"
}

# On failure: take out what this run put in place, put back what it replaced,
# remove the staging folders and the folders it made (innermost first).
rollback() {
  local status=$? i
  ((done_ok)) && return
  trap - EXIT INT TERM HUP
  set +e
  for i in 2 1 0; do
    [[ -n ${placed[i]:-} ]] && rm -rf -- "${placed[i]}"
    [[ -n ${kept[i]:-} ]] && mv -T -- "${kept[i]}" "${dirs[i]}/${items[i]}"
    [[ -n ${staged[i]:-} ]] && rm -rf -- "${staged[i]}"
  done
  for ((i = ${#made[@]} - 1; i >= 0; i--)); do rmdir -- "${made[i]}" 2>/dev/null; done
  echo "install: failed; nothing installed (what was there before is unchanged)" >&2
  exit $((status ? status : 1))
}

"$mode"
