#!/usr/bin/env python3
"""Checks bench/make-archive: the same options give the same bytes (the
benchmark's cached archive and its figures depend on that), and --chain
gives one chain as deep as asked, as `teluri analyze` sees it.

Usage: check_make_archive.py MAKE_ARCHIVE TELURI
"""

import os
import subprocess
import sys
import tempfile


def make(script, folder, *options):
    subprocess.run([sys.executable, script, *options, folder], check=True,
                   stdout=subprocess.DEVNULL)
    return {name: open(os.path.join(folder, name), "rb").read()
            for name in sorted(os.listdir(folder))}


def main():
    script, teluri = sys.argv[1:3]
    with tempfile.TemporaryDirectory() as root:
        first = make(script, os.path.join(root, "a"), "--pages", "300", "--seed", "5")
        second = make(script, os.path.join(root, "b"), "--pages", "300", "--seed", "5")
        if first != second:
            print("the same seed gave different archives")
            return 1
        if sorted(first) != [f"{n}.msg" for n in range(1000, 1300)]:
            print("the archive does not hold pages 1000-1299")
            return 1
        other = make(script, os.path.join(root, "c"), "--pages", "300", "--seed", "6")
        if other == first:
            print("another seed gave the same archive")
            return 1

        chain = os.path.join(root, "chain")
        make(script, chain, "--chain", "40")
        tree = subprocess.run([teluri, "analyze", chain], check=True,
                              stdout=subprocess.PIPE).stdout.split(b"\r\n")[:-1]
        depths = [len(line) - len(line.lstrip(b"\t")) for line in tree]
        if depths != list(range(40)):
            print(f"--chain 40 gave a tree of depths {depths}")
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
