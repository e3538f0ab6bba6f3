"""Reads and edits parameter tables the way other programs would, for the tests.

dump TABLE            every field, then every record, as dbfread sees them (tab-separated)
set TABLE NAME INDEX COLUMN TEXT   rewrites one text cell of the record NAME:INDEX
delete TABLE NAME INDEX            marks the record NAME:INDEX deleted
"""
import struct
import sys


def dump(path):
    from dbfread import DBF
    table = DBF(path, encoding="cp866", char_decode_errors="strict")
    print("\t".join("%s:%s:%d:%d" % (f.name, f.type, f.length, f.decimal_count) for f in table.fields))
    for record in table:
        print("\t".join(str(value) for value in record.values()))


def layout(data):
    count, header_length, record_length = struct.unpack_from("<IHH", data, 4)
    fields, offset = {}, 1
    for start in range(32, header_length - 1, 32):
        name = data[start:start + 11].split(b"\0")[0].decode("ascii")
        length = data[start + 16]
        fields[name] = (offset, length)
        offset += length
    return count, header_length, record_length, fields


def find_record(data, name, index):
    count, header_length, record_length, fields = layout(data)
    for number in range(count):
        start = header_length + number * record_length
        record = data[start:start + record_length]
        def cell(column):
            offset, length = fields[column]
            return record[offset:offset + length]
        if cell("NAME").decode("cp866").strip() == name and int(cell("LINDEX")) == int(index):
            return start, fields
    raise SystemExit("no record %s:%s" % (name, index))


def main():
    command, path = sys.argv[1], sys.argv[2]
    if command == "dump":
        return dump(path)
    data = bytearray(open(path, "rb").read())
    start, fields = find_record(data, sys.argv[3], sys.argv[4])
    if command == "delete":
        data[start] = ord("*")
    else:
        offset, length = fields[sys.argv[5]]
        data[start + offset:start + offset + length] = sys.argv[6].encode("cp866").ljust(length, b" ")
    open(path, "wb").write(bytes(data))


main()
