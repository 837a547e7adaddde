#!/usr/bin/env python3
"""Fails when a project include runs the wrong way between the layers.

    platform/       the system's handles and version: includes nothing of the project but itself
    ui/framework/   the thin Win32 window layer: itself and platform/ only
    engine/         the cleaners and their run: itself, platform/, the settings record
                    (app/settings.h) and the names of options.ini's options (app/option_keys.h),
                    never a window, a page, the application or the controls
    app/settings.h  the settings record: nothing of the project but the hot-key value and
                    options.ini it holds, which themselves include nothing of the project

usage: check_layers.py TOP"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)

RULES = [
    # (files the rule is about, includes they may use)
    (lambda f: f.startswith("platform/"), lambda i: i.startswith("platform/")),
    (lambda f: f.startswith("ui/framework/"), lambda i: i.startswith(("ui/framework/", "platform/"))),
    (lambda f: f.startswith("engine/"),
     lambda i: i.startswith(("engine/", "platform/")) or i in ("app/settings.h", "app/option_keys.h")),
    (lambda f: f == "app/settings.h", lambda i: i in ("app/hot_key_value.h", "app/options_ini.h")),
    (lambda f: f in ("app/options_ini.h", "app/option_keys.h", "app/hot_key_value.h"), lambda i: False),
]


def main():
    top = sys.argv[1]
    failures = []
    for folder in ("platform", "ui/framework", "engine", "app"):
        for root, _, files in os.walk(os.path.join(top, folder)):
            for name in files:
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(root, name)
                rel = os.path.relpath(path, top).replace(os.sep, "/")
                with open(path, encoding="utf-8") as f:
                    includes = INCLUDE.findall(f.read())
                for applies, allowed in RULES:
                    if not applies(rel):
                        continue
                    for inc in includes:
                        if not allowed(inc):
                            failures.append(f"{rel}: includes {inc}")
    for line in failures:
        print(line)
    print(f"{len(failures)} include(s) running the wrong way" if failures else "layers: every include runs downward")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
