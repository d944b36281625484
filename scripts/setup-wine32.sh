#!/usr/bin/env bash
# Sets up 32-bit Wine (under qemu-i386 where the kernel runs no 32-bit code) and its Windows XP prefix,
# build/wine-xp32. Idempotent: installs, mounts and registers only what is missing. Where this machine
# cannot register an i386 handler, prints one "skipped" line and exits 0. Never touches ~/.wine.
# With --packages-only it stops once 32-bit programs run, before the prefix: scripts/setup.sh takes that way, so
# that the 64-bit prefix is made with its 32-bit half (syswow64), as 64-bit Windows XP has one.
set -euo pipefail
source "$(dirname "$0")/env.sh"
source "$(dirname "$0")/env-wine32.sh"
source "$(dirname "$0")/wine-prefix.sh"
start=$(date +%s)
binfmt=/proc/sys/fs/binfmt_misc
# What qemu's own binfmt table gives for i386 ELF executables and shared objects (ET_EXEC and ET_DYN).
i386Magic='\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
i386Mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
# qemu-user ships this name for binfmt's P flag (argv[0] preserved); Debian registers the other
# architectures with the same flags. F opens the interpreter now, so it is found in any mount namespace.
qemuI386=/usr/libexec/qemu-binfmt/i386-binfmt-P

skip() {
  echo "win32: skipped: $*"
  exit 0
}

runs32() { timeout 120 "$WINE32" --version >/dev/null 2>&1; }

i386Handler() {  # the name of an enabled binfmt entry that takes i386 executables, if any
  local entry
  for entry in "$binfmt"/*; do
    case "${entry##*/}" in register | status) continue ;; esac
    grep -qx enabled "$entry" 2>/dev/null || continue
    grep -q '^magic 7f454c4601010100000000000000000002000300' "$entry" 2>/dev/null && { echo "${entry##*/}"; return 0; }
  done
  return 1
}

if [ -n "$SUDO" ] && ! sudo -n true 2>/dev/null; then
  skip "installing packages and registering binfmt_misc need root or password-less sudo"
fi

# Check first that binfmt_misc can be had, so that a machine that cannot use it installs nothing; 32-bit
# Wine that already runs needs none.
if ! runs32; then
  if ! grep -qs "^binfmt_misc $binfmt " /proc/mounts; then
    $SUDO mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null || skip "binfmt_misc cannot be mounted at $binfmt"
    log "mounted binfmt_misc at $binfmt"
  fi
  [ -e "$binfmt/register" ] || skip "$binfmt has no register file"
fi

# qemu-user 7.2 (bookworm) loops forever under Wine; bookworm-backports has version 10.
. /etc/os-release
backports="${VERSION_CODENAME}-backports"
if ! grep -rqsw "$backports" /etc/apt/sources.list /etc/apt/sources.list.d/; then
  keyring=$(sed -n 's/^Signed-By: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n1)
  log "enabling $backports"
  $SUDO tee /etc/apt/sources.list.d/debian-backports.sources >/dev/null <<EOF
Types: deb
URIs: http://deb.debian.org/debian
Suites: $backports
Components: main
Signed-By: ${keyring:-/usr/share/keyrings/debian-archive-keyring.gpg}
EOF
fi
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  log "adding the i386 architecture"
  $SUDO dpkg --add-architecture i386
fi

missing=()
qemuVersion=$(dpkg-query -W -f='${Status} ${Version}' qemu-user 2>/dev/null | sed -n 's/^install ok installed //p' || true)
if [ -z "$qemuVersion" ] || ! dpkg --compare-versions "$qemuVersion" ge 1:10; then
  missing+=("qemu-user/$backports")
fi
dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed" || missing+=(wine32:i386)
if [ ${#missing[@]} -gt 0 ]; then
  log "installing: ${missing[*]}"
  apt_update
  # wine32:i386 brings its i386 libraries, and apt raises their amd64 twins to the same version: where the
  # mirror's i386 index fails, the i386 twins of the amd64 libraries it alone lists cannot be had.
  if ! errors=$(DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" 2>&1 >/dev/null); then
    why=$(grep -m1 '^E:' <<<"$errors" | cut -c4-120)
    skip "${missing[*]} cannot be installed (apt: $why)${APT_INDEX_FAILURE:+, since an index of the mirror failed: $APT_INDEX_FAILURE}"
  fi
fi

# A kernel that runs 32-bit code itself needs no emulator (some kernels here do, some do not);
# ZOLVANE_WIN32_EMULATE=1 takes the emulated way all the same. An i386 handler already in place is kept.
if [ "${ZOLVANE_WIN32_EMULATE:-0}" = 1 ] || ! runs32; then
  if ! handler=$(i386Handler); then
    [ -x "$qemuI386" ] || { echo "win32: $qemuI386 is missing" >&2; exit 1; }
    line=":qemu-i386:M::$i386Magic:$i386Mask:$qemuI386:OPF"
    echo "$line" | $SUDO tee "$binfmt/register" >/dev/null 2>&1 ||
      skip "binfmt_misc refused the i386 handler"
    handler=qemu-i386
    log "registered qemu-i386 for i386 executables"
  fi
  runs32 || { echo "win32: 32-bit programs do not start, though binfmt_misc entry '$handler' takes them" >&2; exit 1; }
fi

if [ "${1:-}" = --packages-only ]; then
  log "32-bit Wine runs ($(( $(date +%s) - start )) s)"
  exit 0
fi

make_wine_prefix "$WINE32" winxp || { echo "win32: the prefix could not be made" >&2; exit 1; }
log "32-bit Wine ready ($(( $(date +%s) - start )) s)"
