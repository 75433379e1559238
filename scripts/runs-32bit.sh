#!/usr/bin/env bash
# Does this machine run 32-bit x86 code? Exit 0 when it does, 1 when it does
# not. Some kernels are built without IA-32 emulation, and then no i386
# program starts, the 32-bit Wine loader included ("Exec format error").
#
# The question is put to the kernel itself: a static i386 ELF of 91 bytes
# (one program header, code "xor ebx,ebx; xor eax,eax; inc eax; int 0x80",
# that is exit(0)) is written to a temporary file and started.
set -u
probe=$(mktemp "${TMPDIR:-/tmp}/runs-32bit.XXXXXX") || exit 1
trap 'rm -f "$probe"' EXIT
printf '%b' \
  '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' \
  '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' \
  '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00' \
  '\x00\x00\x00\x00' \
  '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' \
  '\x5b\x00\x00\x00\x5b\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' \
  '\x31\xdb\x31\xc0\x40\xcd\x80' >"$probe"
chmod +x "$probe"
"$probe" 2>/dev/null
