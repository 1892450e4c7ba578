#!/usr/bin/python3
"""Derives two tables from the fixtures beside this script, for dialects no installed program
writes: their rows hold the same timetable, so the variant tests read them like the others.

    soluc_vfp_varchar.dbf    soluc_vfp.dbf with PROF, ASIG and AULA as Visual FoxPro varchar
                             (V) fields: a value shorter than its field is NUL-padded, its
                             length in the field's last byte and its bit set in _NullFlags
                             (one bit per varchar, then one per nullable field, in field order)
    soluc_dbase7_db437.dbf   soluc_dbase7.dbf with language-driver byte 0 and the driver name
                             DB437US0: its text in code page 437

Run it in this folder: derive_fixtures.py
"""
import struct


def fields_of(table, first, size, name_size, type_at, length_at):
    fields, at, offset = [], first, 1
    while table[at] != 0x0D:
        name = table[at:at + name_size].split(b"\0")[0].decode()
        fields.append((name, at, offset, table[at + length_at]))
        offset += table[at + length_at]
        at += size
    return fields


def records(table):
    header, length = struct.unpack("<HH", table[8:12])
    count = struct.unpack("<I", table[4:8])[0]
    return header, length, count


def derive_varchar():
    table = bytearray(open("soluc_vfp.dbf", "rb").read())
    table[0] = 0x32  # Visual FoxPro with varchar fields
    fields = {name: (at, offset, length)
              for name, at, offset, length in fields_of(table, 32, 32, 11, 11, 16)}
    varchar = ["PROF", "ASIG", "AULA"]
    for name in varchar:
        table[fields[name][0] + 11] = ord("V")
    # Bits: DIA null 0, PROF 1, ASIG 2, AULA 3, AULA null 4. The source numbers its null
    # bits by field position: DIA 0, AULA 5.
    varbit = {"PROF": 1, "ASIG": 2, "AULA": 3}
    header, length, count = records(table)
    flags_at = fields["_NULLFLAGS"][1]
    for row in range(count):
        start = header + row * length
        old = table[start + flags_at]
        flags = (old & 0x01) | (0x10 if old & 0x20 else 0)
        for name in varchar:
            _, offset, width = fields[name]
            value = bytes(table[start + offset:start + offset + width]).rstrip(b" ")
            if len(value) < width:
                table[start + offset:start + offset + width] = (
                    value + b"\0" * (width - len(value) - 1) + bytes([len(value)]))
                flags |= 1 << varbit[name]
        table[start + flags_at] = flags
    open("soluc_vfp_varchar.dbf", "wb").write(table)


def derive_db437():
    table = bytearray(open("soluc_dbase7.dbf", "rb").read())
    table[29] = 0
    table[32:64] = b"DB437US0".ljust(32, b"\0")
    header, length, count = records(table)
    for name, at, offset, width in fields_of(table, 68, 48, 32, 32, 33):
        if table[at + 32] != ord("C"):
            continue
        for row in range(count):
            start = header + row * length + offset
            text = bytes(table[start:start + width]).decode("cp1252")
            table[start:start + width] = text.encode("cp437")
    open("soluc_dbase7_db437.dbf", "wb").write(table)


if __name__ == "__main__":
    derive_varchar()
    derive_db437()
