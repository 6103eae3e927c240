#include "TempFolder.h"
#include "TestArchive.h"
#include "zip/ZipArchive.h"
#include <doctest/doctest.h>

namespace {

struct Random {
    unsigned int state;
    unsigned int Next()
    {
        state = state * 1103515245u + 12345u;
        return (state >> 8) & 0xFFFFFF;
    }
    unsigned int Below(unsigned int n) { return n ? Next() % n : 0; }
};

std::string ValidArchive()
{
    TestEntry text = File("readme.txt", CompressibleText(3000, 1));
    text.localExtra = std::string("UT\x0d\x00\x07", 5) + Le32(1000000000) + Le32(1000000001) + Le32(1000000002);
    TestEntry stored = File("data/stored.bin", CompressibleText(700, 2));
    stored.deflate = false;
    TestEntry folder = File("maps/", "");
    folder.external = 0x10;
    folder.deflate = false;
    TestEntry unixFile = File("sub/dir/unix.txt", CompressibleText(1500, 3));
    unixFile.versionMadeBy = 0x0314;
    unixFile.external = 0100644u << 16;
    TestEntry empty = File("empty.txt", "");
    return BuildArchive({text, stored, folder, unixFile, empty});
}

// Offsets of the archive's structures, where a damaged byte matters most.
std::vector<size_t> StructureOffsets(const std::string& bytes)
{
    std::vector<size_t> offsets;
    for (size_t at = bytes.find("PK"); at != std::string::npos; at = bytes.find("PK", at + 1))
        for (size_t k = 0; k < 46 && at + k < bytes.size(); ++k) offsets.push_back(at + k);
    return offsets;
}

std::string Mutate(const std::string& original, const std::vector<size_t>& structure, Random& random)
{
    std::string bytes = original;
    unsigned int kind = random.Below(4);
    if (kind == 0) {
        bytes.resize(random.Below(static_cast<unsigned int>(bytes.size())));
        return bytes;
    }
    unsigned int changes = 1 + random.Below(4);
    for (unsigned int i = 0; i < changes; ++i) {
        size_t at = (kind == 1) ? random.Below(static_cast<unsigned int>(bytes.size()))
                                : structure[random.Below(static_cast<unsigned int>(structure.size()))];
        if (kind == 3 && at + 4 <= bytes.size()) {
            static const uint32_t extremes[] = {0, 1, 0xFFFFFFFF, 0x7FFFFFFF, 0xFFFF, 0x80000000, 300};
            uint32_t v = extremes[random.Below(7)];
            for (int k = 0; k < 4; ++k) bytes[at + k] = static_cast<char>((v >> (8 * k)) & 0xFF);
        } else {
            bytes[at] = static_cast<char>(bytes[at] ^ (1 + random.Below(255)));
        }
    }
    return bytes;
}

bool OnlyInsideBase(const std::vector<std::wstring>& names)
{
    for (const std::wstring& name : names) {
        if (name == L"m.zip" || name == L"base" || name == L"base\\inner") continue;
        if (name.compare(0, 11, L"base\\inner\\") != 0) return false;
    }
    return true;
}

} // namespace

TEST_CASE("damaged archives never crash, hang or write outside the base folder")
{
    TempFolder root;
    std::wstring inner = root.PathOf(L"base\\inner");
    root.MakeFolder(L"base");
    std::vector<std::string> originals{ValidArchive()};
    REQUIRE(WriteMinizipArchive(root.PathOf(L"e.zip"), {{"locked.txt", CompressibleText(2000, 4)}, {"x/y.txt", "short"}}, ""));
    originals.push_back(*root.Read(L"e.zip"));
    DeleteFileW(root.PathOf(L"e.zip").c_str());

    Random random{20140420};
    DWORD start = GetTickCount();
    DWORD slowest = 0;
    int runs = 0, opened = 0, extracted = 0;
    bool contained = true;
    while (runs < 3000 && GetTickCount() - start < 5000) {
        const std::string& original = originals[runs % originals.size()];
        std::string bytes = Mutate(original, StructureOffsets(original), random);
        ++runs;
        REQUIRE(root.Write(L"m.zip", bytes));
        CreateDirectoryW(inner.c_str(), nullptr);
        DWORD began = GetTickCount();
        ZipHandle zip = ZipOpen(root.PathOf(L"m.zip").c_str());
        ZipSetBaseDir(zip, inner.c_str());
        if (zip) ++opened;
        for (DWORD result : ExtractAll(zip, 200)) extracted += result == ZIPRES_OK;
        ZipClose(zip);
        DWORD took = GetTickCount() - began;
        if (took > slowest) slowest = took;
        if (!OnlyInsideBase(ListTree(root.Path()))) {
            contained = false;
            break;
        }
        RemoveTree(inner);
    }
    MESSAGE("runs " << runs << ", opened " << opened << ", entries extracted " << extracted << ", slowest " << slowest << " ms");
    CHECK(contained);
    CHECK(runs >= 200);
    CHECK(slowest < 2000);
    // The mutations must leave most archives readable, or the entry code is never reached.
    CHECK(opened > runs / 3);
    CHECK(extracted > runs / 3);
}
