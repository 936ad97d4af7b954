#!/usr/bin/env python3
"""Reads and writes Actual_Work_Log.log for the end-to-end scripts.

The file is a bare sequence of 1536-byte records: six 256-byte fields, byte 0 the length,
then that many CP1250 characters. Texts on the command line and on output are UTF-8.

  day_log.py write FILE F0 F1 F2 F3 F4 F5 [F0 F1 ...]   six fields per record
  day_log.py count FILE                                  number of records (size checked)
  day_log.py field FILE RECORD FIELD                     one field, UTF-8, no newline
  day_log.py dump FILE                                   one line per record, fields joined by |
  day_log.py export_lines FILE                           the default-pattern target-log block
                                                         (empty separator line, then one CRLF
                                                         line per record), raw CP1250 bytes
  day_log.py garbage FILE SIZE SEED                      reproducible random bytes
"""
import random
import sys

RECORD_SIZE = 1536
FIELD_SIZE = 256
FIELD_COUNT = 6


def fail(message):
    sys.stderr.write("day_log.py: " + message + "\n")
    sys.exit(2)


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
        fail("%s is %d bytes, not a whole number of %d-byte records" % (path, len(content), RECORD_SIZE))
    records = []
    for start in range(0, len(content), RECORD_SIZE):
        fields = []
        for index in range(FIELD_COUNT):
            offset = start + index * FIELD_SIZE
            length = content[offset]
            fields.append(content[offset + 1:offset + 1 + length])
        records.append(fields)
    return records


def main(arguments):
    if len(arguments) < 2:
        fail("usage: see the file's head")
    command, path = arguments[0], arguments[1]
    rest = arguments[2:]
    if command == "write":
        if len(rest) == 0 or len(rest) % FIELD_COUNT != 0:
            fail("write needs six fields per record")
        with open(path, "wb") as stream:
            for text in rest:
                stream.write(encode_field(text))
    elif command == "count":
        print(len(read_records(path)))
    elif command == "field":
        records = read_records(path)
        record, field = int(rest[0]), int(rest[1])
        if record >= len(records):
            fail("%s holds %d records, record %d asked for" % (path, len(records), record))
        sys.stdout.write(records[record][field].decode("cp1250"))
    elif command == "dump":
        for fields in read_records(path):
            print("|".join(field.decode("cp1250") for field in fields))
    elif command == "export_lines":
        out = sys.stdout.buffer
        out.write(b"\r\n")
        for fields in read_records(path):
            out.write(b";".join(fields) + b"\r\n")
    elif command == "garbage":
        size, seed = int(rest[0]), int(rest[1])
        with open(path, "wb") as stream:
            stream.write(random.Random(seed).randbytes(size))
    else:
        fail("unknown command " + command)


if __name__ == "__main__":
    main(sys.argv[1:])
