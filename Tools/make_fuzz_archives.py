#!/usr/bin/env python3
"""Makes the seed archives of the archive fuzz target under
Tests/Fuzz/Archive/corpus: small "Data.zip" files with stored and deflated
entries, an empty entry, a folder entry, names in other letter cases, an
archive without entries and one with Info-ZIP's Zip64 records. Fixed dates, so
the same files come out each time."""

import os
import subprocess
import sys
import tempfile
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
    write_zip64(os.path.join(folder, "zip64.zip"), ROOT * 4)


def write_zip64(path, root):
    """Info-ZIP's Zip64 records hold only the sizes its headers mark."""
    path = os.path.abspath(path)
    with tempfile.TemporaryDirectory() as work:
        os.makedirs(os.path.join(work, "Data"))
        source = os.path.join(work, "Data", "Root.xml")
        with open(source, "w") as file:
            file.write(root)
        os.utime(source, (1704067200, 1704067200))
        if os.path.exists(path):
            os.remove(path)
        subprocess.run(["zip", "-q", "-X", "-fz", path, "Data/Root.xml"], cwd=work, check=True,
                       env=dict(os.environ, TZ="UTC"))


if __name__ == "__main__":
    main()
