#!/usr/bin/env python3
"""Reads and writes Actual_Work_Log.log (1536-byte records of six 256-byte fields: a length
byte, then CP1250 characters) for the end-to-end scripts; texts in and out are UTF-8.
Commands: write FILE F0..F5 [F0..F5 ...] | count FILE | field FILE RECORD FIELD | dump FILE |
export_lines FILE (the default-pattern target-log block, raw CP1250) | garbage FILE SIZE SEED.
"""
import random
import sys

RECORD_SIZE, FIELD_SIZE, FIELD_COUNT = 1536, 256, 6


def fail(message):
    sys.exit("day_log.py: " + message)


def encode_field(text):
    data = text.encode("cp1250")
    if len(data) > 255:
        fail("field longer than 255 bytes: " + text)
    # Bytes after the characters carry no meaning; a pattern there catches readers that use them.
    return bytes([len(data)]) + data + b"\xaa" * (255 - len(data))


def read_records(path):
    with open(path, "rb") as stream:
        content = stream.read()
    if len(content) % RECORD_SIZE != 0:
        fail("%s is %d bytes, not a whole number of records" % (path, len(content)))
    return [[content[offset + 1:offset + 1 + content[offset]]
             for offset in range(start, start + RECORD_SIZE, FIELD_SIZE)]
            for start in range(0, len(content), RECORD_SIZE)]


def main(command, path, *rest):
    if command == "write":
        if len(rest) == 0 or len(rest) % FIELD_COUNT != 0:
            fail("write needs six fields per record")
        with open(path, "wb") as stream:
            stream.write(b"".join(encode_field(text) for text in rest))
    elif command == "count":
        print(len(read_records(path)))
    elif command == "field":
        sys.stdout.write(read_records(path)[int(rest[0])][int(rest[1])].decode("cp1250"))
    elif command == "dump":
        for fields in read_records(path):
            print("|".join(field.decode("cp1250") for field in fields))
    elif command == "export_lines":
        sys.stdout.buffer.write(b"\r\n" + b"".join(b";".join(fields) + b"\r\n" for fields in read_records(path)))
    elif command == "garbage":
        with open(path, "wb") as stream:
            stream.write(random.Random(int(rest[1])).randbytes(int(rest[0])))
    else:
        fail("unknown command " + command)


if __name__ == "__main__":
    main(*sys.argv[1:])
