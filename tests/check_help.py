#!/usr/bin/env python3
"""Checks the help file's sources before chmcmd compiles them, which it does without complaint even
when a topic is missing or a link leads nowhere:
  - every file the project lists exists, and every topic and style sheet on disk is listed;
  - the default topic and every entry of the table of contents are listed files;
  - every relative link and picture of a topic leads to a listed file;
  - every page of the navigation tree has an entry of the same name in the table of contents.

usage: check_help.py TOP"""
import os
import re
import sys


def main():
    top = sys.argv[1]
    help_dir = os.path.join(top, "resources", "help")
    failures = []

    sections, current = {}, None
    with open(os.path.join(help_dir, "zlt.hhp"), encoding="cp1252") as f:
        for line in f.read().splitlines():
            line = line.strip()
            if re.fullmatch(r"\[\w+\]", line):
                current = sections.setdefault(line[1:-1], [])
            elif line and current is not None:
                current.append(line)
    norm = lambda p: os.path.normpath(p.replace("\\", "/"))
    listed = {norm(p) for p in sections.get("FILES", [])}
    for p in sorted(listed):
        if not os.path.isfile(os.path.join(help_dir, p)):
            failures.append(f"listed but missing: {p}")
    for root, _, files in os.walk(help_dir):
        for name in files:
            rel = norm(os.path.relpath(os.path.join(root, name), help_dir))
            if name.endswith((".html", ".css")) and rel not in listed:
                failures.append(f"not listed in zlt.hhp: {rel}")

    options = dict(o.split("=", 1) for o in sections.get("OPTIONS", []) if "=" in o)
    if norm(options.get("Default topic", "")) not in listed:
        failures.append("the default topic is not a listed file")
    contents = options.get("Contents file", "")
    with open(os.path.join(help_dir, contents), encoding="cp1252") as f:
        toc = f.read()
    entries = re.findall(r'<param name="Name" value="([^"]*)">\s*<param name="Local" value="([^"]*)">', toc)
    if not entries:
        failures.append("the table of contents has no entries")
    for name, local in entries:
        if norm(local.split("#")[0]) not in listed:
            failures.append(f"contents entry {name!r} leads to {local}, not a listed file")

    for p in sorted(listed):
        if not p.endswith(".html"):
            continue
        with open(os.path.join(help_dir, p), encoding="cp1252") as f:
            text = f.read()
        for link in re.findall(r'(?:href|src)="([^"]+)"', text):
            if re.match(r"[a-z]+:", link) or link.startswith("#"):
                continue
            target = norm(os.path.join(os.path.dirname(p), link.split("#")[0]))
            if target not in listed:
                failures.append(f"{p}: link to {link} leads to no listed file")

    with open(os.path.join(top, "ui", "navigation_tree.cpp"), encoding="utf-8") as f:
        tree = re.findall(r'\{-?\d+, "([^"]+)", (PAGE_\w+)', f.read())
    names = {name for name, _ in entries}
    for page in sorted({p for _, p in tree}):
        texts = [t for t, p in tree if p == page]
        if not names.intersection(texts):
            failures.append(f"no help topic for the page of {texts[0]!r}")

    for f in failures:
        print("help:", f)
    print(f"checked {len(listed)} files, {len(entries)} contents entries, {len(tree)} tree entries")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
