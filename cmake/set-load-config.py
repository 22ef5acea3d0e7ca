#!/usr/bin/env python3
"""Points an exe's load-configuration directory at its _load_config_used table.

GNU ld before 2.42 does not fill in that data directory entry itself. The
table's address comes from the link map. Usage: set-load-config.py EXE MAP
"""
import re
import struct
import sys

exe_path, map_path = sys.argv[1], sys.argv[2]
symbol = re.compile(r"^\s+0x([0-9a-fA-F]+)\s+_{1,2}load_config_used\s*$")
address = None
with open(map_path, encoding="utf-8", errors="replace") as map_file:
    for line in map_file:
        match = symbol.match(line)
        if match:
            address = int(match.group(1), 16)
if address is None:
    sys.exit(f"{map_path}: no _load_config_used")

image = bytearray(open(exe_path, "rb").read())
pe = struct.unpack_from("<I", image, 0x3C)[0]
assert image[pe:pe + 4] == b"PE\0\0", "not a PE file"
sections = struct.unpack_from("<H", image, pe + 6)[0]
optional = pe + 24
magic = struct.unpack_from("<H", image, optional)[0]
if magic == 0x20B:  # PE32+
    image_base = struct.unpack_from("<Q", image, optional + 24)[0]
    directories = optional + 112
else:  # PE32
    image_base = struct.unpack_from("<I", image, optional + 28)[0]
    directories = optional + 96
rva = address - image_base

# The table's own first field is its size.
section_table = optional + struct.unpack_from("<H", image, pe + 20)[0]
for i in range(sections):
    entry = section_table + 40 * i
    size, virtual, raw_size, raw = struct.unpack_from("<IIII", image, entry + 8)
    if virtual <= rva < virtual + max(size, raw_size):
        table_size = struct.unpack_from("<I", image, raw + rva - virtual)[0]
        break
else:
    sys.exit("the table lies in no section")

struct.pack_into("<II", image, directories + 10 * 8, rva, table_size)
open(exe_path, "wb").write(image)
