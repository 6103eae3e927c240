#!/usr/bin/env python3
"""Writes the five stand-in version packages (183.zip ... 188.zip).

The game's own files cannot be shipped, so each package gets entries with the real
names, sizes, order, dates and attributes, and data that deflates about as well as the
real files do: the archives come out near the sizes of the maker's packages, so that
extraction takes about as long. Game DLLs and war3.exe are real Windows binaries built
by the project, padded to size with such data after their PE image (Windows ignores an
overlay). Output is the same on every run.

With --header it writes instead the C++ header that gives the tests and benchmarks the same
table of packages (each entry's name and size, the package's time and the maker's size).
"""
import argparse
import os
import random
import struct
import sys
import time
import zlib

# Two kinds of stand-in data: "code" is a strongly skewed byte mix with much repetition,
# like executables; "packed" is nearly uniform, like the game's already compressed archives.
# Each entry names its kind, the fraction of the archive it should take of its data, and a
# content key: entries with the same key are the same file.
PACKAGES = [
    (183, (17, 31, 34), 36108746, [
        ("Storm.dll", 368702, "code", 0.60, "storm-120"),
        ("war3.exe", 1568211, "code", 0.62, "war3-120"),
        ("War3.org", 1572307, "code", 0.62, "war3org-120"),
        ("War3Patch.mpq", 33907011, "packed", 0.882, "mpq-120"),
        ("game.dll", 9375804, "code", 0.375, "game-120"),
        ("ijl15.dll", 372736, "code", 0.55, "ijl15-120"),
        ("Mss32.dll", 347648, "code", 0.60, "mss32-120"),
    ]),
    (185, (17, 33, 40), 33902383, [
        ("icons-WAR3.bni", 279991, "packed", 0.90, "icons"),
        ("msvcm80.dll", 479232, "code", 0.50, "msvcm80"),
        ("msvcp80.dll", 548864, "code", 0.48, "msvcp80"),
        ("msvcr80.dll", 626688, "code", 0.52, "msvcr80"),
        ("Storm.dll", 339968, "code", 0.55, "storm-124"),
        ("war3.exe", 471040, "code", 0.55, "war3-124"),
        ("War3Patch.mpq", 27737397, "packed", 0.975, "mpq-124"),
        ("bncache.dat", 1479164, "packed", 0.78, "bncache"),
        ("game.dll", 12140544, "code", 0.326, "game-124"),
    ]),
    (186, (17, 37, 40), 32040904, [
        ("War3Patch.mpq", 27737397, "packed", 0.975, "mpq-124"),
        ("game.dll", 12042240, "code", 0.326, "game-126"),
        ("ijl15.dll", 372736, "code", 0.55, "ijl15-126"),
        ("Mss32.dll", 347648, "code", 0.60, "mss32-126"),
        ("Storm.dll", 339968, "code", 0.55, "storm-126"),
        ("war3.exe", 471040, "code", 0.55, "war3-126"),
    ]),
    (187, (17, 44, 24), 4009514, [
        ("Game.dll", 12140544, "code", 0.326, "game-124-8m"),
    ]),
    (188, (17, 46, 36), 3559775, [
        ("Game.dll", 9375804, "code", 0.375, "game-120-4m"),
    ]),
]

# Which built binary opens each binary entry; the rest of the entry is padding.
BINARIES = {
    "game-120": "dll120", "game-120-4m": "dll120",
    "game-124": "dll124", "game-124-8m": "dll124",
    "game-126": "dll126",
    "war3-120": "war3", "war3-124": "war3", "war3-126": "war3",
}

PACKAGE_DATE = (2014, 4, 20)
LEVEL = 6


def byte_table(weights):
    """A translate table that turns uniform bytes into the weighted mix, the most frequent first."""
    table = bytearray()
    for value, slots in weights:
        table += bytes([value]) * slots
    rest = (v for v in range(256) if v not in dict(weights))
    while len(table) < 256:
        table.append(next(rest))
    return bytes(table[:256])


BYTE_MIXES = {
    "code": byte_table([(0x00, 44), (0xFF, 12), (0x8B, 8), (0x89, 6), (0x24, 5), (0x45, 4), (0x83, 4),
                        (0xE8, 4), (0x50, 3), (0x10, 3), (0x0F, 3), (0x85, 3), (0xC3, 2), (0x74, 2)]),
    "packed": byte_table([(0x00, 6)]),
}
COPY_COST = 0.012  # what a repeated run deflates to, per byte


def noise_costs():
    """What fresh noise of each kind deflates to, per byte: measured, as it depends on the zlib at hand."""
    costs = {}
    for kind, table in BYTE_MIXES.items():
        sample = random.Random(kind).randbytes(1 << 20).translate(table)
        costs[kind] = len(zlib.compress(sample, LEVEL)) / len(sample)
    return costs


def stand_in_data(size, kind, ratio, noise_cost, seed, start=b""):
    """start followed by pseudo-random data up to size: runs of fresh noise of the kind and
    repeats of recent runs, mixed so that the whole deflates to about ratio of its size."""
    table = BYTE_MIXES[kind]
    repeat_share = min(0.98, max(0.0, (noise_cost - ratio) / (noise_cost - COPY_COST)))
    rng = random.Random(seed)
    out = bytearray(start)
    if len(out) >= size:
        return bytes(out)
    noise = rng.randbytes(size - len(out) + 1024).translate(table)
    used = 0
    window_start = len(out)
    while len(out) < size:
        run = rng.randint(24, 640)
        if len(out) - window_start > 32768 and rng.random() < repeat_share:
            # Within deflate's window, so that it can find the repeat.
            distance = rng.randint(run, 32000)
            begin = len(out) - distance
            out += out[begin:begin + run]
        else:
            out += noise[used:used + run]
            used += run
    del out[size:]
    return bytes(out)


def dos_time(hms):
    h, m, s = hms
    return (h << 11) | (m << 5) | (s // 2)


def dos_date(ymd):
    y, mo, d = ymd
    return ((y - 1980) << 9) | (mo << 5) | d


class Deflated:
    def __init__(self, data):
        compressor = zlib.compressobj(LEVEL, zlib.DEFLATED, -15)
        self.data = compressor.compress(data) + compressor.flush()
        self.crc = zlib.crc32(data)
        self.size = len(data)


def write_zip(path, entries, hms):
    """entries: (name, Deflated). Plain ZIP 2.0 records as an MS-DOS writer makes them."""
    mtime, mdate = dos_time(hms), dos_date(PACKAGE_DATE)
    central = bytearray()
    offset = 0
    temp = path + ".tmp"
    with open(temp, "wb") as out:
        for name, entry in entries:
            raw = name.encode("ascii")
            local = struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, 0, 8, mtime, mdate,
                                entry.crc, len(entry.data), entry.size, len(raw), 0)
            out.write(local + raw)
            out.write(entry.data)
            central += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 0x0014, 20, 0, 8, mtime, mdate,
                                   entry.crc, len(entry.data), entry.size, len(raw), 0, 0, 0, 0, 0x20, offset)
            central += raw
            offset += len(local) + len(raw) + len(entry.data)
        out.write(central)
        out.write(struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(entries), len(entries),
                              len(central), offset, 0))
    os.replace(temp, path)


def write_header(path):
    lines = [
        "// Written by tools/packages/make-packages.py from its table of the maker's packages.",
        "#pragma once",
        "#include <vector>",
        "",
        "struct PackageEntry {",
        "    const char* name;",
        "    unsigned long size;",
        "};",
        "",
        "struct PackageInfo {",
        "    int id;",
        "    int hour, minute, second;",
        "    unsigned long makerArchiveSize;",
        "    std::vector<PackageEntry> entries;",
        "};",
        "",
        "// The five packages in the order the launcher embeds them, each entry in its archive's order.",
        "inline const std::vector<PackageInfo>& PackageTable()",
        "{",
        "    static const std::vector<PackageInfo> packages = {",
    ]
    for package, (hour, minute, second), maker_size, table in PACKAGES:
        entries = ", ".join(f'{{"{name}", {size}}}' for name, size, *_ in table)
        lines.append(f"        {{{package}, {hour}, {minute}, {second}, {maker_size}, {{{entries}}}}},")
    lines += ["    };", "    return packages;", "}", ""]
    temp = path + ".tmp"
    with open(temp, "w", newline="\n") as out:
        out.write("\n".join(lines))
    os.replace(temp, path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--header", help="write only the C++ table of the packages to this file")
    parser.add_argument("--out", help="folder for the five archives")
    parser.add_argument("--dll120", help="game DLL with version 1, 20, 4, 6074")
    parser.add_argument("--dll124", help="game DLL with version 1, 24, 4, 6387")
    parser.add_argument("--dll126", help="game DLL with version 1, 26, 0, 6401")
    parser.add_argument("--war3", help="the stand-in war3.exe")
    args = parser.parse_args()
    if args.header:
        write_header(args.header)
        return
    missing = [o for o in ("out", "dll120", "dll124", "dll126", "war3") if not getattr(args, o)]
    if missing:
        parser.error("the arguments are required: " + ", ".join("--" + o for o in missing))

    began = time.monotonic()
    images = {}
    for option in ("dll120", "dll124", "dll126", "war3"):
        with open(getattr(args, option), "rb") as f:
            images[option] = f.read()
    costs = noise_costs()
    os.makedirs(args.out, exist_ok=True)

    made = {}
    for package, hms, maker_size, table in PACKAGES:
        entries = []
        for name, size, kind, ratio, key in table:
            if key not in made:
                start = images[BINARIES[key]] if key in BINARIES else b""
                if len(start) > size:
                    sys.exit(f"{name} of {package}: the built binary is larger than {size} bytes")
                made[key] = Deflated(stand_in_data(size, kind, ratio, costs[kind], zlib.crc32(key.encode()), start))
            entries.append((name, made[key]))
        path = os.path.join(args.out, f"{package}.zip")
        write_zip(path, entries, hms)
        archive = os.path.getsize(path)
        data = sum(e.size for _, e in entries)
        print(f"{package}.zip: {archive} bytes ({archive / data:.1%} of {data}; "
              f"the maker's package: {maker_size})")
    print(f"version packages written in {time.monotonic() - began:.1f} s")


if __name__ == "__main__":
    main()
