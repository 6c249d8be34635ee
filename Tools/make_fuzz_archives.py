#!/usr/bin/env python3
"""Makes the seed archives of the archive fuzz target under
Tests/Fuzz/Archive/corpus: small "Data.zip" files with stored and deflated
entries, an empty entry, a folder entry, names in other letter cases and an
archive without entries. Fixed dates, so the same files come out each time."""

import os
import sys
import zipfile

DATE = (2024, 1, 1, 0, 0, 0)
ROOT = '<MenuData>\n    <include file="Menu/Menu.xml" type="MenuData"/>\n</MenuData>\n'


def write(path, entries):
    """entries: (name, bytes, compression) in order."""
    with zipfile.ZipFile(path, "w") as archive:
        for name, content, compression in entries:
            info = zipfile.ZipInfo(name, DATE)
            info.compress_type = compression
            archive.writestr(info, content)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(__file__), "..", "Tests", "Fuzz", "Archive", "corpus")
    os.makedirs(folder, exist_ok=True)
    stored, deflated = zipfile.ZIP_STORED, zipfile.ZIP_DEFLATED
    archives = {
        "stored.zip": [("Data/Root.xml", ROOT, stored)],
        "deflated.zip": [("Data/Root.xml", ROOT * 4, deflated),
                         ("Data/Menu/Menu.lua", "print('menu')\n" * 8, deflated)],
        "mixed.zip": [("Data/", "", stored),
                      ("data/ROOT.XML", ROOT, deflated),
                      ("Data/Empty.txt", "", stored),
                      ("Data/Empty.bin", "", deflated)],
        "empty.zip": [],
    }
    for name, entries in archives.items():
        write(os.path.join(folder, name), entries)


if __name__ == "__main__":
    main()
