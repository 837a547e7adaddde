#!/usr/bin/env python3
"""Fails when a portable source reaches a Windows header through its #include lines.

A Windows header is one that the MinGW-w64 headers have and the host's C library has not
(windows.h, shlobj.h, wininet.h, ...): the C standard headers exist on both sides and stay allowed.

usage: check_portable.py TOP SOURCE..."""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)
MINGW_DIRS = ["/usr/x86_64-w64-mingw32/include", "/usr/i686-w64-mingw32/include", "/usr/share/mingw-w64/include"]
WELL_KNOWN = {"windows.h", "winbase.h", "winuser.h", "winreg.h", "shlobj.h", "commctrl.h", "wininet.h",
              "richedit.h", "shellapi.h", "wincrypt.h", "msi.h", "winsock.h", "winsock2.h", "tchar.h"}


def windows_headers():
    names = set(WELL_KNOWN)
    for d in MINGW_DIRS:
        if os.path.isdir(d):
            for f in os.listdir(d):
                names.add(f.lower())
    host = set()
    for d in ["/usr/include", "/usr/include/x86_64-linux-gnu"]:
        if os.path.isdir(d):
            host.update(f.lower() for f in os.listdir(d))
    return {n for n in names if n not in host or n in WELL_KNOWN}


def main():
    top, sources = sys.argv[1], sys.argv[2:]
    if not sources:
        print("no sources given")
        return 2
    banned = windows_headers()
    failures = []
    seen = set()

    def visit(path, chain):
        if path in seen:
            return
        seen.add(path)
        with open(path, encoding="utf-8", errors="replace") as f:
            text = f.read()
        for kind, name in INCLUDE.findall(text):
            if kind == "<":
                if name.lower() in banned or os.path.basename(name).lower() in banned:
                    failures.append(" -> ".join(chain + [os.path.relpath(path, top), "<" + name + ">"]))
            else:
                for base in (os.path.dirname(path), top):
                    candidate = os.path.normpath(os.path.join(base, name))
                    if os.path.isfile(candidate):
                        visit(candidate, chain + [os.path.relpath(path, top)])
                        break

    for s in sources:
        src = os.path.join(top, s)
        visit(src, [])
        header = os.path.splitext(src)[0] + ".h"
        if os.path.isfile(header):
            visit(header, [])
    for f in failures:
        print("portable source includes a Windows header:", f)
    print(f"checked {len(seen)} files, {len(failures)} Windows includes")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
