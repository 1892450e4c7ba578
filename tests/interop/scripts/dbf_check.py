#!/usr/bin/python3
"""Reads every table in a folder with an independent reader and names those it refuses.

    dbf_check.py dbfread FOLDER     read each file in FOLDER with python3-dbfread

Prints one line per refused table (its name and the reader's error) and exits with 1 when
there is any, 0 otherwise.
"""
import os
import sys

import dbfread


def main():
    reader, folder = sys.argv[1], sys.argv[2]
    if reader != "dbfread":
        sys.exit("unknown reader: " + reader)
    refused = []
    for name in sorted(os.listdir(folder)):
        try:
            list(dbfread.DBF(os.path.join(folder, name), encoding="cp1252"))
        except Exception as error:
            refused.append(name + ": " + repr(error))
    if refused:
        print("\n".join(refused))
        sys.exit(1)


if __name__ == "__main__":
    main()
