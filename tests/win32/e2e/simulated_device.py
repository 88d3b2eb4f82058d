#!/usr/bin/env python3
"""The device behind the FIFOs that a Wine prefix presents as the pipes of a
simulated device interface: PIPE02 carries what the program writes, PIPE03
what it reads. Answers records with DLE ACK, and a record that ends a flash
file (S7, S8 or S9) with DLE EOT; answers "?" and a letter with that identity
item. Logs every request, one hex line each, for the test to compare.

    simulated_device.py DIRECTORY LOG [--ack-delay-ms N]
"""
import argparse
import os
import signal
import sys
import time

IDENTITY = {
    b"S": b"SIM-0001",
    b"P": b"Trelox Testgeraet",
    b"M": b"Testwerk",
    b"V": b"1.1.0",
    b"E": b"keine Fehler",
}
ACCEPTED = b"\x10\x06"
PROGRAMMED = b"\x10\x04"
LAST_RECORDS = (b"S7", b"S8", b"S9")


def reply_to(request):
    if len(request) == 2 and request[:1] == b"?":
        return IDENTITY.get(request[1:2], b"?")
    if request.startswith(LAST_RECORDS):
        return PROGRAMMED
    return ACCEPTED


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("directory")
    parser.add_argument("log")
    parser.add_argument("--ack-delay-ms", type=int, default=0)
    args = parser.parse_args()
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))

    # Both ends stay open here, so that the program never sees end-of-file.
    to_device = os.open(os.path.join(args.directory, "PIPE02"), os.O_RDWR)
    from_device = os.open(os.path.join(args.directory, "PIPE03"), os.O_RDWR)
    with open(args.log, "a", buffering=1) as log:
        while True:
            request = os.read(to_device, 65536)
            if not request:
                return
            log.write(request.hex() + "\n")
            reply = reply_to(request)
            if args.ack_delay_ms and not request.startswith(b"?"):
                time.sleep(args.ack_delay_ms / 1000.0)
            os.write(from_device, reply)


if __name__ == "__main__":
    main()
