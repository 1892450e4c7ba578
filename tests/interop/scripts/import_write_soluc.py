#!/usr/bin/python3
"""Writes a SOLUC table with an independent dBASE writer, for the Import's interop tests.

usage: import_write_soluc.py KIND FOLDER
  dbf-numeric    python3-dbf, dBASE III, Windows-1252, DIA and HORA numeric, extra fields,
                 fields in another order, one deleted row
  dbf-text       python3-dbf, dBASE III, code page 850, DIA and HORA as text
  ogr-lowercase  ogr2ogr from a CSV, lower-case field names and file name

Every kind holds the same lessons, so the C++ test expects the same ROVA_HORARIO.TXT.
"""
import os
import subprocess
import sys
import tempfile

# DIA, HORA, PROF, CODGRUPO, ASIG, AULA; None is a blank value.
ROWS = [
    (1, 1, "P01", "1ESA", "MAT", "A12"),
    (0, 2, "P02", "1ESA", "LEN", "A12"),
    (4, 2, "P0105", "2ESB", "Mús", "A14"),
    (None, 3, "P04", "2ESB", "HIS", "A14"),
    (5, 3, "P03", "3ESC", "ING", ""),
]


def write_dbf_numeric(folder):
    import dbf
    table = dbf.Table(os.path.join(folder, "SOLUC.DBF"),
                      "AULA C(5); SESION N(3,0); HORA N(2,0); DIA N(2,0); PROF C(5); "
                      "CODGRUPO C(5); ASIG C(5); NOTA C(10)",
                      dbf_type="db3", codepage="cp1252")
    table.open(dbf.READ_WRITE)
    for number, (dia, hora, prof, grupo, asig, aula) in enumerate(ROWS):
        table.append((aula, number, hora, dia, prof, grupo, asig, "nota"))
        if number == 0:
            # A deleted row between lessons must not be read.
            table.append(("X", 99, 1, 1, "DEL", "DEL", "DEL", "borrada"))
            dbf.delete(table[-1])
    table.close()


def write_dbf_text(folder):
    import dbf
    table = dbf.Table(os.path.join(folder, "SOLUC.DBF"),
                      "DIA C(1); HORA C(2); PROF C(5); CODGRUPO C(5); ASIG C(5); AULA C(5)",
                      dbf_type="db3", codepage="cp850")
    table.open(dbf.READ_WRITE)
    for dia, hora, prof, grupo, asig, aula in ROWS:
        # A text day must be a whole number; the blank day becomes "0", still no lesson.
        table.append((str(dia or 0), str(hora), prof, grupo, asig, aula))
    table.close()


def write_ogr_lowercase(folder):
    with tempfile.TemporaryDirectory() as work:
        csv = os.path.join(work, "soluc.csv")
        with open(csv, "w", encoding="utf-8") as out:
            out.write("aula,prof,dia,hora,codgrupo,asig\n")
            for dia, hora, prof, grupo, asig, aula in ROWS:
                out.write(f"{aula},{prof},{'' if dia is None else dia},{hora},{grupo},{asig}\n")
        with open(os.path.join(work, "soluc.csvt"), "w") as out:
            out.write('"String(5)","String(5)","Integer(2)","Integer(2)","String(5)","String(5)"\n')
        subprocess.run(["ogr2ogr", "-f", "ESRI Shapefile", folder, csv, "-nln", "soluc"],
                       check=True)


WRITERS = {
    "dbf-numeric": write_dbf_numeric,
    "dbf-text": write_dbf_text,
    "ogr-lowercase": write_ogr_lowercase,
}

if __name__ == "__main__":
    WRITERS[sys.argv[1]](sys.argv[2])
