#!/usr/bin/env python3
"""Prints one-line deb-src entries for the machine's own Debian apt sources of a release."""
import glob
import sys

codename = sys.argv[1]
suites_wanted = {codename, f"{codename}-updates", f"{codename}-security"}


def deb822_stanzas(text):
    stanza = {}
    for line in text.splitlines() + [""]:
        if not line.strip():
            if stanza:
                yield stanza
            stanza = {}
        elif not line.startswith("#") and ":" in line and not line[0].isspace():
            field, value = line.split(":", 1)
            stanza[field.strip().lower()] = value.split()


entries = []
for path in glob.glob("/etc/apt/sources.list.d/*.sources"):
    with open(path, encoding="utf-8") as sources:
        for stanza in deb822_stanzas(sources.read()):
            if "deb" in stanza.get("types", []) and stanza.get("enabled", ["yes"]) != ["no"]:
                for uri in stanza.get("uris", []):
                    for suite in stanza.get("suites", []):
                        entries.append((uri, suite, stanza.get("components", ["main"])))
for path in ["/etc/apt/sources.list"] + glob.glob("/etc/apt/sources.list.d/*.list"):
    try:
        lines = open(path, encoding="utf-8").read().splitlines()
    except FileNotFoundError:
        continue
    for line in lines:
        words = line.split("#", 1)[0].split()
        if len(words) >= 3 and words[0] == "deb":
            words = [w for w in words[1:] if not w.startswith("[")]
            entries.append((words[0], words[1], words[2:] or ["main"]))

seen = set()
for uri, suite, components in entries:
    if suite in suites_wanted and (uri, suite) not in seen:
        seen.add((uri, suite))
        print("deb-src", uri, suite, " ".join(components))
if not seen:
    sys.exit(f"no Debian apt source for {codename} found to derive deb-src from")
