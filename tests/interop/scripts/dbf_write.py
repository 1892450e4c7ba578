#!/usr/bin/python3
"""Writes a small dBASE table with another program, for the engine to read back.

    dbf_write.py db3|fp|vfp TABLE.DBF     written by python3-dbf as dBASE III, FoxPro or
                                          Visual FoxPro
    dbf_write.py db3-unset-flags TABLE.DBF  the dBASE III table with every live row's
                                          deletion flag 0x00, as some writers leave it
    dbf_write.py ogr2ogr TABLE.DBF        written by GDAL's ogr2ogr from a CSV file
    dbf_write.py ogr2ogr-cp850 TABLE.DBF  the same in code page 850, named by a .cpg file

Every table holds accented text and the byte 0xBD ("½"), numbers with decimals, negative
numbers and empty values.
"""
import csv
import datetime
import os
import struct
import subprocess
import sys
import tempfile

NAMES = ["Música ½", "Educación", "", "Ñandú"]


def write_python_dbf(kind, path):
    import dbf
    if kind == "vfp":
        fields = ("DIA I null; HORA C(2); NOMBRE C(20); HORAS B; FIJA L null; MODIF T null; "
                "PRECIO Y")
        rows = [(1, "1", NAMES[0], 2.99, True, datetime.datetime(2024, 9, 2, 8, 30), 12.5),
                (-7, "12", NAMES[1], -10.0, False, None, 0),
                (None, "", NAMES[2], 0.5, None, None, 0),
                (2147483646, "3", NAMES[3], 1e-3, True, datetime.datetime(1999, 12, 31, 23, 59, 59), -1)]
        codepage = "cp1252"
    else:
        fields = "DIA N(2,0); HORA C(2); NOMBRE C(20); HORAS N(19,6); FIJA L; FECHA D"
        rows = [(1, "1", NAMES[0], 2.99, True, datetime.date(2024, 9, 2)),
                (0, "12", NAMES[1], -10, False, None),
                (None, "", NAMES[2], None, None, None),
                (-9, "3", NAMES[3], 0.000001, True, datetime.date(1999, 12, 31))]
        codepage = "cp1252" if kind == "db3" else "cp850"
        if kind == "fp":
            # Without a memo field python3-dbf writes a version byte it cannot reopen itself.
            fields += "; OBS M"
            rows = [row + (note,) for row, note in zip(rows, ["Sesión", "", "", "½"])]
    table = dbf.Table(path, fields, dbf_type=kind, codepage=codepage)
    table.open(dbf.READ_WRITE)
    for row in rows:
        table.append(row)
    table.close()


def write_ogr2ogr(path, encoding):
    folder = tempfile.mkdtemp()
    source = os.path.join(folder, "source.csv")
    with open(source, "w", encoding="utf-8", newline="") as out:
        writer = csv.writer(out)
        writer.writerow(["DIA", "HORA", "NOMBRE", "HORAS"])
        writer.writerow(["1", "1", NAMES[0], "2.99"])
        writer.writerow(["0", "12", NAMES[1], "-10"])
        writer.writerow(["", "", NAMES[2], ""])
        writer.writerow(["-9", "3", NAMES[3], "0.000001"])
    with open(source[:-4] + ".csvt", "w") as out:
        out.write('"Integer(2)","String(2)","String(20)","Real(20.6)"\n')
    command = ["ogr2ogr", "-f", "ESRI Shapefile", path, source]
    if encoding:
        command += ["-lco", "ENCODING=" + encoding]
    subprocess.run(command, check=True, capture_output=True)


def unset_flags(path):
    table = bytearray(open(path, "rb").read())
    header, length = struct.unpack("<HH", table[8:12])
    count = struct.unpack("<I", table[4:8])[0]
    for row in range(count):
        if table[header + row * length] == ord(" "):
            table[header + row * length] = 0
    open(path, "wb").write(table)


if __name__ == "__main__":
    kind, target = sys.argv[1], sys.argv[2]
    if kind in ("db3", "fp", "vfp"):
        write_python_dbf(kind, target)
    elif kind == "db3-unset-flags":
        write_python_dbf("db3", target)
        unset_flags(target)
    elif kind == "ogr2ogr":
        write_ogr2ogr(target, None)
    elif kind == "ogr2ogr-cp850":
        write_ogr2ogr(target, "CP850")
    else:
        sys.exit("unknown writer " + kind)
