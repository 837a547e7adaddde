#!/usr/bin/env python3
"""Completes the package that wixl built from zlt.wxs with what wixl cannot express.

usage: complete_package.py PACKAGE BIN_DIR ARCH WORK_DIR

- every file in a cabinet of its own (wixl puts all files into the first one);
- the version and language of zlt.exe in the File table (wixl leaves them empty);
- the tables in installer/tables/*.idt: files removed at uninstallation (settings.dat and index.bat,
  which older versions wrote into the program's folder), the machine-wide Run value removed at
  installation. No access entries: the folder and the product key keep what Program Files and
  HKLM\Software give, so that only administrators change what every user runs;
- the product key removed as a whole at uninstallation, normal-window shortcuts, plain custom
  action types, and in a 64-bit package 64-bit components (so that the registry entries land in
  the view that a 64-bit zlt.exe reads).

The package is edited in place with msibuild; gcab makes the cabinets."""
import os
import struct
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

# File key (= name in the cabinet), cabinet stream, in installation order.
FILES = [
    ("zlt.exe", "zlt.cab"),
    ("zlt.chm", "chm.cab"),
    ("hook.dll", "hook.cab"),
    ("sqlite3.dll", "sqlite.cab"),
    ("uninst.exe", "uninst.cab"),
]

# US English, as the program's version resource says.
MAIN_PROGRAM_LANGUAGE = "1033"


def file_version(path):
    """The file version of a PE file's VS_FIXEDFILEINFO, as "a.b.c.d"."""
    with open(path, "rb") as f:
        data = f.read()
    at = data.find(struct.pack("<I", 0xFEEF04BD))
    if at < 0:
        sys.exit(f"complete_package: {path} has no version resource")
    ms, ls = struct.unpack_from("<II", data, at + 8)
    return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"


def msibuild(package, *args):
    subprocess.run(["msibuild", package, *args], check=True)


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    package, bin_dir, arch, work = sys.argv[1:]
    os.makedirs(work, exist_ok=True)

    streams = []
    for name, cab in FILES:
        cab_path = os.path.join(work, cab)
        if os.path.exists(cab_path):
            os.remove(cab_path)
        subprocess.run(["gcab", "--create", "--zip", "--nopath", cab_path, os.path.join(bin_dir, name)], check=True)
        streams += ["-a", cab, cab_path]

    tables_dir = os.path.join(HERE, "tables")
    tables = []
    for idt in sorted(os.listdir(tables_dir)):
        if idt.endswith(".idt"):
            tables += ["-i", os.path.join(tables_dir, idt)]

    queries = []
    for sequence, (name, _) in enumerate(FILES, start=1):
        queries.append(f"UPDATE `File` SET `Sequence` = {sequence} WHERE `File` = '{name}'")
    version = file_version(os.path.join(bin_dir, "zlt.exe"))
    queries += [
        f"UPDATE `File` SET `Version` = '{version}', `Language` = '{MAIN_PROGRAM_LANGUAGE}' WHERE `File` = 'zlt.exe'",
        # A versioned file must not carry a hash: Windows Installer compares versions instead.
        "DELETE FROM `MsiFileHash` WHERE `File_` = 'zlt.exe'",
        # "*": created at installation, removed with everything under it at uninstallation.
        "INSERT INTO `Registry` (`Registry`, `Root`, `Key`, `Name`, `Component_`) "
        "VALUES ('ProductKey', 2, 'Software\\Zephyrlanthorpe', '*', 'ProductKeys')",
        "UPDATE `Shortcut` SET `ShowCmd` = 1",
        # wixl marks every action "no impersonation", which means something only for deferred ones.
        "UPDATE `CustomAction` SET `Type` = 1 WHERE `Action` = 'CheckProgramRunning'",
        "UPDATE `CustomAction` SET `Type` = 51 WHERE `Type` = 2099",
    ]
    if arch == "x64":
        queries += [
            "UPDATE `Component` SET `Attributes` = 256 WHERE `Attributes` = 0",
            "UPDATE `Component` SET `Attributes` = 260 WHERE `Attributes` = 4",
        ]
    query_args = []
    for q in queries:
        query_args += ["-q", q]

    msibuild(package, *tables, *streams, *query_args)


if __name__ == "__main__":
    main()
