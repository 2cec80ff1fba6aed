#!/usr/bin/env python3
"""Points a linked 32-bit PE program's load configuration directory at its
.loadcfg section, which holds the program's IMAGE_LOAD_CONFIG_DIRECTORY32
(common/win32_program_entry.cpp), and recomputes the header's checksum.
GNU ld 2.40 fills that directory for no symbol, so it is done here, once the
program is linked.

    pe_load_configuration.py PROGRAM.exe
"""
import struct
import sys

LOAD_CONFIG_ENTRY = 10
SECTION_NAME = b".loadcfg"


def pe_checksum(data, checksum_offset):
    total = 0
    padded = data + b"\0" * (len(data) % 2)
    for (word,) in struct.iter_unpack("<H", padded):
        total += word
        total = (total & 0xFFFF) + (total >> 16)
    # The checksum field itself counts as zero.
    for (word,) in struct.iter_unpack("<H", data[checksum_offset:checksum_offset + 4]):
        total -= word
        if total < 0:
            total += 0xFFFF
    total = (total & 0xFFFF) + (total >> 16)
    return (total & 0xFFFF) + len(data)


def main(path):
    data = bytearray(open(path, "rb").read())
    header = struct.unpack_from("<I", data, 0x3C)[0]
    if data[header:header + 4] != b"PE\0\0":
        sys.exit(f"{path}: not a PE file")
    (section_count,) = struct.unpack_from("<H", data, header + 6)
    (optional_size,) = struct.unpack_from("<H", data, header + 20)
    optional = header + 24
    if struct.unpack_from("<H", data, optional)[0] != 0x10B:
        sys.exit(f"{path}: not a 32-bit PE")
    for index in range(section_count):
        section = optional + optional_size + 40 * index
        if data[section:section + 8].rstrip(b"\0") != SECTION_NAME:
            continue
        (address,) = struct.unpack_from("<I", data, section + 12)
        (file_offset,) = struct.unpack_from("<I", data, section + 20)
        (size,) = struct.unpack_from("<I", data, file_offset)  # the directory's own Size
        struct.pack_into("<II", data, optional + 96 + 8 * LOAD_CONFIG_ENTRY, address, size)
        checksum_offset = optional + 64
        struct.pack_into("<I", data, checksum_offset, 0)
        struct.pack_into("<I", data, checksum_offset, pe_checksum(bytes(data), checksum_offset))
        open(path, "wb").write(data)
        return
    sys.exit(f"{path}: no {SECTION_NAME.decode()} section")


if __name__ == "__main__":
    main(sys.argv[1])
