"""Reads a monthly archive with olefile, an independent compound-file reader, and checks
that every chunk of each named stream inflates to the bytes of the matching log file.

usage: olefile_check.py MONTHLY.var LOG...   (each stream is named like its log file)
"""
import os
import struct
import sys
import zlib

import olefile


def chunks(data):
    offset = 0
    while offset < len(data):
        raw_size, packed_size = struct.unpack_from("<II", data, offset)
        offset += 8
        packed = data[offset:offset + packed_size]
        if len(packed) != packed_size:
            raise ValueError("chunk cut off")
        offset += packed_size
        raw = zlib.decompress(packed)
        if len(raw) != raw_size:
            raise ValueError("chunk inflates to %d bytes, not %d" % (len(raw), raw_size))
        yield raw


def main():
    monthly, logs = sys.argv[1], sys.argv[2:]
    if not olefile.isOleFile(monthly):
        print("not a compound file")
        return 1
    with olefile.OleFileIO(monthly) as ole:
        for log in logs:
            name = os.path.basename(log)
            data = ole.openstream(name).read()
            sizes = [len(c) for c in chunks(data)]
            if any(size > 1000000 for size in sizes) or any(s != 1000000 for s in sizes[:-1]):
                print("%s: chunk sizes %s" % (name, sizes))
                return 1
            with open(log, "rb") as f:
                if b"".join(chunks(data)) != f.read():
                    print("%s: bytes differ" % name)
                    return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
