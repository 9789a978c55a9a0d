#!/usr/bin/env bash
# make install's copying (scripts/install.sh) in temporary folders only, never
# the real /usr/local or ~/.lv2: as root with PREFIX and LV2_DIR given, then as
# nobody with its defaults under a HOME of its own, and refused a PREFIX it
# cannot write. Needs root (to switch users); CTest counts exit 77 as skipped.
#   install_test.sh INSTALL_SH AAXHOST AAX_BUNDLE LV2_BUNDLE
set -euo pipefail
if [[ $(id -u) != 0 ]]; then
  echo "skipped: needs root, to run the install as nobody too"
  exit 77
fi
script=$1 aaxhost=$2 aax=$3 lv2=$4

fail() { echo "FAIL: $*" >&2; exit 1; }
# Everything under a folder, with type and mode: what "as it was" means.
tree() { (cd "$1" && find . -printf '%p %y %m\n' | sort); }
sums() { find "$1" -type f -exec md5sum {} + | sort; }
as_nobody() {
  setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups \
    env -i PATH=/usr/bin:/bin HOME="$home" "$@"
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# What install reads, laid out as a build tree any user can read.
build=$work/build
mkdir -p "$build/bin"
cp -R "$lv2" "$build/Quorvane.lv2"
cp -R "$aax" "$build/Quorvane.aaxplugin"
cp "$aaxhost" "$build/bin/aaxhost"
cp "$script" "$work/install.sh"
chmod -R a+rX "$work"
install_sh() { bash "$work/install.sh" "$@"; }

# The three things in place, with the build's files, the binaries stripped.
check_installed() { # lv2_dir prefix
  local l=$1/Quorvane.lv2 a=$2/lib/aax/Quorvane.aaxplugin f
  [[ -x $2/bin/aaxhost ]] || fail "no $2/bin/aaxhost"
  [[ $(cd "$l" && find . ! -name .installed-folders | sort) == $(cd "$build/Quorvane.lv2" && find . | sort) ]] ||
    fail "$l differs from the build's bundle"
  [[ $(cd "$a" && find . ! -name .installed-folders | sort) == $(cd "$build/Quorvane.aaxplugin" && find . | sort) ]] ||
    fail "$a differs from the build's bundle"
  for f in "$l/Quorvane.so" "$l/Quorvane_ui.so" "$a/Contents/x86_64-linux/Quorvane.so" "$2/bin/aaxhost"; do
    [[ $(readelf -S "$f") != *.symtab* ]] || fail "$f is not stripped"
  done
}

# Root, PREFIX and LV2_DIR given: PREFIX/bin exists beforehand (and stays),
# the rest install makes, three folders deep for LV2_DIR.
dest=$work/dest p=$work/dest/prefix l=$work/dest/lv2/a/lv2
mkdir -p "$p/bin"
before=$(tree "$dest") built=$(sums "$build")
install_sh install BUILD_DIR="$build" PREFIX="$p" LV2_DIR="$l"
check_installed "$l" "$p"
[[ $(sums "$build") == "$built" ]] || fail "install changed the build tree"
if ! out=$("$p/bin/aaxhost" describe "$p/lib/aax/Quorvane.aaxplugin") || [[ $out != *Quorvane* ]]; then
  fail "aaxhost describe of the installed bundle: $out"
fi
# Installed again over itself, the folders the first install made are still
# its to remove.
install_sh install BUILD_DIR="$build" PREFIX="$p" LV2_DIR="$l" >/dev/null
install_sh uninstall PREFIX="$p" LV2_DIR="$l"
[[ $(tree "$dest") == "$before" ]] || fail "uninstall left: $(diff <(echo "$before") <(tree "$dest"))"
# A step that fails (strip here) leaves nothing behind.
mkdir "$work/badbin"
printf '#!/bin/sh\nexit 1\n' >"$work/badbin/strip"
chmod 755 "$work/badbin/strip"
! PATH=$work/badbin:$PATH install_sh install BUILD_DIR="$build" PREFIX="$p" LV2_DIR="$l" 2>/dev/null ||
  fail "install went on after strip failed"
[[ $(tree "$dest") == "$before" ]] || fail "a failed install left: $(diff <(echo "$before") <(tree "$dest"))"

# nobody, defaults: HOME/.lv2 and HOME/.local; uninstall leaves HOME empty.
home=$work/home
mkdir "$home"
chown nobody:"$(id -g nobody)" "$home"
as_nobody bash "$work/install.sh" install BUILD_DIR="$build"
check_installed "$home/.lv2" "$home/.local"
as_nobody bash "$work/install.sh" uninstall
[[ -z $(ls -A "$home") ]] || fail "uninstall left in HOME: $(ls -A "$home")"

# nobody, PREFIX=/usr/local: refused in one line naming PREFIX, nothing copied.
t=/usr/local/lib/aax
while [[ ! -e $t ]]; do t=$(dirname "$t"); done
! as_nobody test -w "$t" || fail "nobody can write $t here; not trying"
if out=$(as_nobody bash "$work/install.sh" install BUILD_DIR="$build" PREFIX=/usr/local 2>&1); then
  fail "install as nobody into /usr/local succeeded"
fi
[[ $(wc -l <<<"$out") == 1 && $out == *"set PREFIX="* ]] || fail "the refusal: $out"
[[ -z $(ls -A "$home") ]] || fail "the refused install left in HOME: $(ls -A "$home")"
echo "refused as expected: $out"
echo "install and uninstall: all checks passed"
