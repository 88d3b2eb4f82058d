#!/usr/bin/env python3
"""Writes firmware.s19: a made-up firmware image in S-record form for tests.

An S0 header, 40 S1 data records of 16 bytes (deterministic filler, not a real
program) and an S9 end record, each with a correct checksum. Run it again to
regenerate the file; the output is the same every time.
"""
import os

RECORDS = 40
BYTES_PER_RECORD = 16
LOAD_ADDRESS = 0x1000


def s_record(kind, address, data):
    body = address.to_bytes(2, "big") + data
    count = len(body) + 1  # address, data and the checksum byte
    checksum = 0xFF - ((count + sum(body)) & 0xFF)
    return "S%d%02X%s%02X" % (kind, count, body.hex().upper(), checksum)


def filler(length, seed):
    # A small linear congruential sequence: varied bytes, always the same.
    out = bytearray()
    state = seed
    for _ in range(length):
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        out.append((state >> 16) & 0xFF)
    return bytes(out)


def main():
    lines = [s_record(0, 0, b"TRELOX SAMPLE 1.0")]
    image = filler(RECORDS * BYTES_PER_RECORD, 2024)
    for i in range(RECORDS):
        chunk = image[i * BYTES_PER_RECORD:(i + 1) * BYTES_PER_RECORD]
        lines.append(s_record(1, LOAD_ADDRESS + i * BYTES_PER_RECORD, chunk))
    lines.append(s_record(9, LOAD_ADDRESS, b""))
    target = os.path.join(os.path.dirname(os.path.abspath(__file__)), "firmware.s19")
    with open(target, "w", newline="\r\n") as out:
        out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
