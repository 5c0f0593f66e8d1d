#!/usr/bin/env bash
# Prints the Windows architecture the tests run in: i686 where this machine can execute
# 32-bit x86 code (then the tests run the shipped 32-bit build), else x86_64 (the same
# sources built for 64-bit Windows, run by 64-bit Wine). Some virtual machines have no
# 32-bit user mode at all; see docs/testing.md.
set -u
# Left by scripts/install-deps.sh when 32-bit Wine could not be installed; ignored once it is.
marker="${XDG_CACHE_HOME:-$HOME/.cache}/vorel/wine32-unavailable"
if [ "${1:-}" = --marker ]; then echo "$marker"; exit 0; fi
if [ -n "${VOREL_TEST_ARCH:-}" ]; then echo "$VOREL_TEST_ARCH"; exit 0; fi
if [ -e "$marker" ] && ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed"; then
  echo x86_64
  exit 0
fi
probe="$(mktemp)"
# A minimal static i386 ELF whose only work is exit(0) through int 0x80.
python3 - "$probe" <<'PY'
import struct, sys
code = bytes([0x31, 0xdb, 0x31, 0xc0, 0x40, 0xcd, 0x80])
base, eh, ph = 0x08048000, 52, 32
total = eh + ph + len(code)
ehdr = b'\x7fELF' + bytes([1, 1, 1, 0]) + bytes(8)
ehdr += struct.pack('<HHIIIIIHHHHHH', 2, 3, 1, base + eh + ph, eh, 0, 0, eh, ph, 1, 0, 0, 0)
phdr = struct.pack('<IIIIIIII', 1, 0, base, base, total, total, 5, 0x1000)
open(sys.argv[1], 'wb').write(ehdr + phdr + code)
PY
chmod +x "$probe"
if "$probe" 2>/dev/null; then echo i686; else echo x86_64; fi
rm -f "$probe"
