#!/usr/bin/python3
"""Prints a dBASE table as another program reads it, in one plain form that tests compare.

    dbf_dump.py dbfread TABLE.DBF     read with python3-dbfread
    dbf_dump.py ogrinfo TABLE.DBF     read with GDAL's ogrinfo
    dbf_dump.py dbf TABLE.DBF         read with python3-dbf

Output, one line each:
    FIELD <name> <type> <length> <decimals>   (C or N; other types as the reader names them)
    ROW <value> <value> ...                   (each value's text as Windows-1252 bytes in hex,
                                               "-" for an empty value, "~" for a memo field,
                                               whose text lives in another file)
Text forms: numbers with up to 15 significant digits ("2.99", "-10"), logicals "T"/"F", dates
YYYYMMDD, date-times "YYYY-MM-DD HH:MM:SS", null or blank as empty.
"""
import datetime
import decimal
import os
import re
import subprocess
import sys


def text_of(value):
    if value is None:
        return ""
    if isinstance(value, bool):
        return "T" if value else "F"
    if isinstance(value, int):
        return str(value)
    if isinstance(value, (float, decimal.Decimal)):
        return "%.15g" % float(value) if float(value) != 0 else "0"
    if isinstance(value, datetime.datetime):
        return value.strftime("%Y-%m-%d %H:%M:%S")
    if isinstance(value, datetime.date):
        return value.strftime("%Y%m%d")
    if isinstance(value, bytes):
        return value.hex()
    return str(value).rstrip(" ")


def hex_of(value):
    text = text_of(value)
    return text.encode("cp1252", "replace").hex() if text else "-"


def is_memo(field):
    return field.type in "MGP" or (field.type == "B" and field.length == 10)


def dump_dbfread(path):
    import dbfread
    # dbfread ignores the .cpg file that names the code page when the header does not.
    cpg = os.path.splitext(path)[0] + ".cpg"
    encoding = open(cpg).read().strip() if os.path.exists(cpg) else None
    table = dbfread.DBF(path, load=False, ignore_missing_memofile=True, encoding=encoding)
    fields = [f for f in table.fields if f.type != "0"]  # _NullFlags is hidden
    for f in fields:
        print("FIELD %s %s %d %d" % (f.name, f.type, f.length, f.decimal_count))
    for record in table.records:
        print("ROW " + " ".join("~" if is_memo(f) else hex_of(record[f.name]) for f in fields))


def dump_dbf(path):
    import dbf
    table = dbf.Table(path)
    table.open(dbf.READ_ONLY)
    names = table.field_names  # python3-dbf lower-cases them
    for name in names:
        kind, length, decimals = table.field_info(name)[:3]
        print("FIELD %s %s %d %d" % (name.upper(), chr(kind), length, decimals))
    for record in table:
        if not dbf.is_deleted(record):
            print("ROW " + " ".join(hex_of(record[name]) for name in names))
    table.close()


OGR_TYPES = {"String": "C", "Integer": "N", "Integer64": "N", "Real": "N", "Date": "D"}


def dump_ogrinfo(path):
    out = subprocess.run(["ogrinfo", "-ro", "-al", path], check=True,
                         capture_output=True).stdout.decode("utf-8")
    fields = []
    rows = []
    for line in out.splitlines():
        m = re.match(r"^(\w+): (\w+) \((\d+)\.(\d+)\)$", line)
        if m and not rows:
            fields.append(m.group(1))
            print("FIELD %s %s %s %s" % (m.group(1), OGR_TYPES.get(m.group(2), m.group(2)),
                                         m.group(3), m.group(4)))
            continue
        if line.startswith("OGRFeature("):
            rows.append({})
            continue
        m = re.match(r"^  (\w+) \((\w+)\) = (.*)$", line)
        if m and rows:
            name, kind, value = m.groups()
            if value == "(null)":
                value = None
            elif kind in ("Integer", "Integer64"):
                value = int(value)
            elif kind == "Real":
                value = float(value)
            rows[-1][name] = value
    for row in rows:
        print("ROW " + " ".join(hex_of(row.get(name)) for name in fields))


if __name__ == "__main__":
    {"dbfread": dump_dbfread, "ogrinfo": dump_ogrinfo, "dbf": dump_dbf}[sys.argv[1]](sys.argv[2])
