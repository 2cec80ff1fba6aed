#!/usr/bin/env python3
"""Writes down, in the order the kernel reports them, the files deleted from
and created in one directory, one "delete NAME" or "create NAME" a line,
until the file STOP exists (at most LIMIT seconds).

    watch_directory.py DIRECTORY LOG STOP [LIMIT]

Prints "watching" once the watch is in place."""
import ctypes
import os
import select
import struct
import sys
import time

IN_CREATE, IN_DELETE, IN_MOVED_TO, IN_MOVED_FROM = 0x100, 0x200, 0x80, 0x40


def main():
    directory, log, stop = sys.argv[1:4]
    limit = float(sys.argv[4]) if len(sys.argv) > 4 else 120
    libc = ctypes.CDLL(None, use_errno=True)
    fd = libc.inotify_init()
    mask = IN_CREATE | IN_DELETE | IN_MOVED_TO | IN_MOVED_FROM
    if fd < 0 or libc.inotify_add_watch(fd, directory.encode(), mask) < 0:
        print("cannot watch", directory)
        return 1
    print("watching", flush=True)
    end = time.monotonic() + limit
    with open(log, "w", encoding="utf-8") as out:
        while time.monotonic() < end and not os.path.exists(stop):
            if not select.select([fd], [], [], 0.1)[0]:
                continue
            data = os.read(fd, 65536)
            at = 0
            while at < len(data):
                _, event, _, length = struct.unpack_from("iIII", data, at)
                name = data[at + 16:at + 16 + length].rstrip(b"\0").decode("utf-8", "replace")
                at += 16 + length
                what = "create" if event & (IN_CREATE | IN_MOVED_TO) else "delete"
                out.write(f"{what} {name}\n")
                out.flush()
    return 0


if __name__ == "__main__":
    sys.exit(main())
