"""Holds a table file with an exclusive lock, as another program using it would.

usage: import_hold_table.py TABLE_FILE READY_FILE
Creates READY_FILE once the lock is held and keeps it until its standard input closes.
"""
import fcntl
import sys

with open(sys.argv[1], "rb") as table:
    fcntl.flock(table, fcntl.LOCK_EX)
    open(sys.argv[2], "w").close()
    sys.stdin.read()
