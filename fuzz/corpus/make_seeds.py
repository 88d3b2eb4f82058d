#!/usr/bin/env python3
"""Writes the seed corpus of each fuzz target (one folder per target)."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
GUID = b"{c0558574-212d-4625-8877-fe9c2e8ed396}"


def word(value):
    return struct.pack("<I", value)


def seeds():
    yield "FuzzInstanceId", {
        "usual": b"\\\\?\\usb#vid_1234&pid_5678#ABC123#" + GUID,
        "no-hash": b"\\\\?\\usb",
        "empty-instance": b"\\\\?\\usb#vid_1234&pid_5678##" + GUID,
        "long-hardware-id": b"p#" + b"h" * 300 + b"#i#",
        "long-instance-id": b"p#h#" + b"i" * 300,
        "zero-byte": b"p#h#in\x00side#",
    }
    yield "FuzzCommandLine", {
        "file": b"\x00firmware.s19",
        "switch-and-file": b"\x00/I\x00firmware.s19",
        "lower-switch-after": b"\x00firmware.s19\x00-i",
        "empty-then-file": b"\x00\x00firmware.s19",
        "other-switches": b"\x00/X\x00/Ix\x00a\x00b",
        "identity-slot": b"\x01serial\x00file\x00-\x00/",
        "identity-flags": b"\x00/I\x00/S\x000815\x00-p\x00Pr\xfcfger\xe4t\x00/M\x00/S\x00x",
        "absolute-path": b"\x00/home/me/fw.s19\x00/I",
    }
    accepted, refused, programmed = b"\x02\x10\x06", b"\x02\x10\x15", b"\x02\x10\x04"
    yield "FuzzAcknowledge", {
        "accepted": b"\x00" + accepted,
        "refused-then-programmed": b"\x00" + refused + refused + programmed,
        "refused-three-times": b"\x00" + refused * 3,
        "three-bytes": b"\x00\x03\x10\x06\x00",
        "empty-reply": b"\x00\x00",
        "response-bytes": b"\x01\x10\x06\x0d",
        "error-numbers": b"\x02" + word(2) + word(1) + word(31),
    }
    yield "FuzzFlashRecords", {
        "records-crlf": b"\x00\x00S00600004844521B\r\nS1130000285F245F2212226A000424290008237C2A\r\nS9030000FC\r\n",
        "blank-lines-and-no-end": b"\x03\x00\n \t\n\r\nS1\x1a\n  S9030000FC  ",
        "zero-and-ff-bytes": b"\x07\x00\x00S1\x00\xff\xff\n\xff\n",
        "only-white-space": b"\x01\x00 \t\r\n\x0b\x0c \n",
        "read-fails": b"\x04\x02S1130000\nS1130010\nS9030000FC\n",
    }
    # Operations: kind in bits 0-2, pipe in bit 3 (0 write, 8 read), variant 16.
    start_write, start_read = 0x00, 0x08
    send_write, send_read = 0x02, 0x0A
    complete_write, complete_read = 0x03, 0x0B
    yield "FuzzBusFraming", {
        "record-exchange": bytes([start_write, 6, complete_write, 6, start_read, 10, complete_read, 2, 0x10, 0x06]),
        "short-write": bytes([start_write, 6, complete_write, 5]),
        "failed-read": bytes([start_read, 64, complete_read | 16, 31, 0]),
        "long-reply": bytes([start_read, 10, complete_read, 40]) + b"x" * 40,
        "split-completion": bytes([start_read, 10, send_read, 3]) + word(0)[:3]
        + bytes([send_read, 7]) + b"\x00" + word(2) + b"\x10\x06",
        "closed-mid-completion": bytes([start_read, 10, send_read, 5]) + word(0) + b"\x02" + bytes([0x0D]),
        "given-up-then-late": bytes([start_read, 10, 0x0C, 0, start_read, 10, complete_read, 2, 1, 2,
                                     complete_read, 2, 3, 4]),
        "program-closes": bytes([start_write, 2, 0x06, start_write, 2]),
        "large-read": bytes([start_read | 16, 250, complete_read, 200]) + b"y" * 200,
    }


for target, files in seeds():
    folder = os.path.join(HERE, target)
    os.makedirs(folder, exist_ok=True)
    for name, content in files.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(content)
