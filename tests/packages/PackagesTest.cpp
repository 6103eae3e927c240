#include <doctest/doctest.h>
#include "BuildFile.h"
#include "PackageTable.h"
#include "Process.h"
#include "TempFolder.h"
#include "Utf8.h"
#include "framework/CString.h"
#include <unzip.h>
#include <zlib.h>
#include <string>
#include <vector>
#include <windows.h>

namespace {

// The maker's packages are checked against the table only: their war3.exe would start the game.
const bool kStandIns = PACKAGES_ARE_STAND_INS;

std::string ArchivePath(int id)
{
    return Ansi(BuildFile(L"packages\\" + std::to_wstring(id) + L".zip"));
}

// An open archive, closed when it goes out of scope.
class Archive {
public:
    explicit Archive(int id) : m_zip(unzOpen64(ArchivePath(id).c_str())) {}
    ~Archive()
    {
        if (m_zip) unzClose(m_zip);
    }
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;
    unzFile Get() const { return m_zip; }

    // The whole of the named entry, decompressed; empty when it can't be read or fails its CRC.
    std::string Extract(const char* name) const
    {
        std::string data;
        if (unzLocateFile(m_zip, name, 1) != UNZ_OK || unzOpenCurrentFile(m_zip) != UNZ_OK) return data;
        std::vector<char> buffer(1 << 16);
        int got;
        while ((got = unzReadCurrentFile(m_zip, buffer.data(), static_cast<unsigned>(buffer.size()))) > 0)
            data.append(buffer.data(), got);
        if (unzCloseCurrentFile(m_zip) != UNZ_OK || got < 0) data.clear();
        return data;
    }

private:
    unzFile m_zip;
};

ULONGLONG FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

struct BlockCounts {
    int stored = 0, fixed = 0, dynamic = 0;
};

// Walks the raw deflate stream of the current entry block by block and counts the block
// types. False when the stream doesn't inflate to exactly size bytes.
bool CountBlocks(unzFile zip, unsigned long compressedSize, unsigned long size, BlockCounts& counts)
{
    int method = 0, level = 0;
    if (unzOpenCurrentFile2(zip, &method, &level, 1) != UNZ_OK) return false;
    std::vector<unsigned char> raw(compressedSize);
    int got = compressedSize ? unzReadCurrentFile(zip, raw.data(), compressedSize) : 0;
    unzCloseCurrentFile(zip);
    if (got != static_cast<int>(compressedSize)) return false;

    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
    stream.next_in = raw.data();
    stream.avail_in = compressedSize;
    std::vector<unsigned char> out(1 << 16);
    unsigned long long total = 0;
    unsigned long long lastHeader = ~0ull;
    bool atBoundary = true;
    int result = Z_OK;
    while (result == Z_OK) {
        if (atBoundary) {
            // The next block's header: its final flag, then two bits of type.
            unsigned long long bit = (stream.next_in - raw.data()) * 8ull - (stream.data_type & 7);
            if (bit != lastHeader && bit / 8 < raw.size() && !(stream.data_type & 64)) {
                lastHeader = bit;
                unsigned bits = raw[bit / 8] >> (bit % 8);
                if (bit % 8 > 5 && bit / 8 + 1 < raw.size()) bits |= raw[bit / 8 + 1] << (8 - bit % 8);
                switch ((bits >> 1) & 3) {
                case 0: ++counts.stored; break;
                case 1: ++counts.fixed; break;
                case 2: ++counts.dynamic; break;
                default: break;
                }
            }
        }
        stream.next_out = out.data();
        stream.avail_out = static_cast<uInt>(out.size());
        result = inflate(&stream, Z_BLOCK);
        total += out.size() - stream.avail_out;
        atBoundary = (stream.data_type & 128) != 0;
    }
    inflateEnd(&stream);
    return result == Z_STREAM_END && total == size;
}

std::wstring Widen(const char* text)
{
    return std::wstring(text, text + lstrlenA(text));
}

// The file version text of the version resource's first translation, and how many translations it has.
std::wstring FileVersionText(const CString& path, UINT& translations, DWORD& firstTranslation)
{
    translations = 0;
    firstTranslation = 0;
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(path, &handle);
    if (size == 0) return L"";
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(path, 0, size, block.data())) return L"";
    WORD* list = nullptr;
    UINT bytes = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&list), &bytes) ||
        bytes < 4)
        return L"";
    translations = bytes / 4;
    firstTranslation = MAKELONG(list[1], list[0]);
    wchar_t query[64];
    wsprintfW(query, L"\\StringFileInfo\\%04x%04x\\FileVersion", list[0], list[1]);
    wchar_t* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), query, reinterpret_cast<void**>(&value), &length) || !value) return L"";
    return value;
}

bool IsWindowsGuiProgram(const std::string& image)
{
    if (image.size() < 0x40) return false;
    DWORD peOffset = *reinterpret_cast<const DWORD*>(image.data() + 0x3C);
    if (peOffset + sizeof(IMAGE_NT_HEADERS32) > image.size()) return false;
    auto headers = reinterpret_cast<const IMAGE_NT_HEADERS32*>(image.data() + peOffset);
    return headers->Signature == IMAGE_NT_SIGNATURE &&
           headers->OptionalHeader.Subsystem == IMAGE_SUBSYSTEM_WINDOWS_GUI;
}

std::wstring AsUtf16(const std::string& bytes)
{
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

} // namespace

TEST_CASE("each archive holds exactly its entries, as a DOS ZIP 2.0 writer stores them")
{
    for (const PackageInfo& package : PackageTable()) {
        CAPTURE(package.id);
        Archive archive(package.id);
        REQUIRE(archive.Get() != nullptr);
        unz_global_info64 global{};
        REQUIRE(unzGetGlobalInfo64(archive.Get(), &global) == UNZ_OK);
        CHECK(global.number_entry == package.entries.size());
        CHECK(global.size_comment == 0);

        ULONGLONG compressed = 0, data = 0;
        int result = unzGoToFirstFile(archive.Get());
        for (const PackageEntry& expected : package.entries) {
            CAPTURE(std::string(expected.name));
            REQUIRE(result == UNZ_OK);
            unz_file_info64 info{};
            char name[256] = "";
            REQUIRE(unzGetCurrentFileInfo64(archive.Get(), &info, name, sizeof name, nullptr, 0, nullptr, 0) ==
                    UNZ_OK);
            CHECK(std::string(name) == expected.name);
            CHECK(info.uncompressed_size == expected.size);
            CHECK(info.compression_method == Z_DEFLATED);
            CHECK(info.version == 0x0014);
            CHECK(info.version_needed == 20);
            CHECK((info.flag & 0x0009) == 0);  // neither encrypted nor with a data descriptor
            CHECK(info.external_fa == 0x20);
            CHECK(info.size_file_extra == 0);
            CHECK(info.size_file_comment == 0);
            CHECK(info.tmu_date.tm_year == 2014);
            CHECK(info.tmu_date.tm_mon == 3);
            CHECK(info.tmu_date.tm_mday == 20);
            CHECK(info.tmu_date.tm_hour == package.hour);
            CHECK(info.tmu_date.tm_min == package.minute);
            CHECK(info.tmu_date.tm_sec == package.second);

            // Read to the end, so that minizip checks the CRC; check it against the data too.
            REQUIRE(unzOpenCurrentFile(archive.Get()) == UNZ_OK);
            CHECK(unzGetLocalExtrafield(archive.Get(), nullptr, 0) == 0);
            std::vector<char> buffer(1 << 16);
            ULONGLONG read = 0;
            uLong crc = crc32(0, nullptr, 0);
            int got;
            while ((got = unzReadCurrentFile(archive.Get(), buffer.data(), static_cast<unsigned>(buffer.size()))) >
                   0) {
                crc = crc32(crc, reinterpret_cast<const Bytef*>(buffer.data()), got);
                read += got;
            }
            CHECK(got == 0);
            CHECK(unzCloseCurrentFile(archive.Get()) == UNZ_OK);
            CHECK(read == expected.size);
            CHECK(crc == info.crc);

            compressed += info.compressed_size;
            data += info.uncompressed_size;
            result = unzGoToNextFile(archive.Get());
        }
        CHECK(result == UNZ_END_OF_LIST_OF_FILE);
        if (kStandIns) {
            // The stand-ins deflate about as well as the maker's files, so that switches take as long.
            ULONGLONG archiveSize = FileSize(ArchivePath(package.id));
            CHECK(archiveSize > package.makerArchiveSize * 0.98);
            CHECK(archiveSize < package.makerArchiveSize * 1.02);
            if (package.entries.size() > 1) {
                double ratio = static_cast<double>(compressed) / static_cast<double>(data);
                CHECK(ratio > 0.70);
                CHECK(ratio < 0.82);
            }
        }
    }
}

TEST_CASE("stand-in data is entropy-coded, not stored" * doctest::skip(!kStandIns))
{
    for (const PackageInfo& package : PackageTable()) {
        CAPTURE(package.id);
        Archive archive(package.id);
        REQUIRE(archive.Get() != nullptr);
        for (int result = unzGoToFirstFile(archive.Get()); result == UNZ_OK;
             result = unzGoToNextFile(archive.Get())) {
            unz_file_info64 info{};
            char name[256] = "";
            REQUIRE(unzGetCurrentFileInfo64(archive.Get(), &info, name, sizeof name, nullptr, 0, nullptr, 0) ==
                    UNZ_OK);
            CAPTURE(std::string(name));
            BlockCounts counts;
            CHECK(CountBlocks(archive.Get(), static_cast<unsigned long>(info.compressed_size),
                              static_cast<unsigned long>(info.uncompressed_size), counts));
            // zlib ends a block after 16,384 symbols at most, so a large entry has many; only a
            // short tail of nearly uniform data may come out cheaper stored, or in fixed codes.
            CHECK(counts.dynamic >= static_cast<int>(info.uncompressed_size / (258 * 16384)));
            CHECK(counts.dynamic > 0);
            CHECK(counts.stored * 100 <= counts.dynamic);
            CHECK(counts.fixed <= 1);
        }
    }
}

TEST_CASE("game DLLs carry the game's file version; the modded ones differ from their base")
{
    struct Case { int id; const char* name; const wchar_t* version; };
    const Case cases[] = {
        {183, "game.dll", L"1, 20, 4, 6074"}, {188, "Game.dll", L"1, 20, 4, 6074"},
        {185, "game.dll", L"1, 24, 4, 6387"}, {187, "Game.dll", L"1, 24, 4, 6387"},
        {186, "game.dll", L"1, 26, 0, 6401"},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        CAPTURE(c.id);
        std::string image = Archive(c.id).Extract(c.name);
        REQUIRE(!image.empty());
        CString path = folder.PathOf(std::to_wstring(c.id) + L"_" + Widen(c.name));
        REQUIRE(WriteWholeFile(path.Str(), image));
        UINT translations = 0;
        DWORD first = 0;
        CHECK(FileVersionText(path, translations, first) == c.version);
        CHECK(translations == 1);
        CHECK(first == 0x000004B0);
        if (kStandIns) {
            // The padding after the image must not keep Windows from loading it.
            HMODULE module = LoadLibraryW(path);
            CHECK(module != nullptr);
            if (module) FreeLibrary(module);
        }
    }
    struct Pair { int modded, base; };
    for (const Pair& pair : {Pair{187, 185}, Pair{188, 183}}) {
        CAPTURE(pair.modded);
        std::string modded = Archive(pair.modded).Extract("Game.dll");
        std::string base = Archive(pair.base).Extract("game.dll");
        REQUIRE(!modded.empty());
        CHECK(modded.size() == base.size());
        CHECK(modded != base);
    }
}

TEST_CASE("stand-in war3.exe records each start beside itself" * doctest::skip(!kStandIns))
{
    TempFolder folder;
    const CString gameDir = folder.PathOf(L"游戏 目录");
    const CString otherDir = folder.PathOf(L"other dir");
    REQUIRE(CreateDirectoryW(gameDir, nullptr));
    REQUIRE(CreateDirectoryW(otherDir, nullptr));
    const CString program = gameDir + L"\\war3.exe";
    const CString record = gameDir + L"\\war3_ran.txt";
    struct Case { int id; const wchar_t* gameDll; };
    for (const Case& c : {Case{183, L"1, 20, 4, 6074"}, Case{185, L"1, 24, 4, 6387"}, Case{186, L"1, 26, 0, 6401"}}) {
        CAPTURE(c.id);
        std::string image = Archive(c.id).Extract("war3.exe");
        REQUIRE(!image.empty());
        CHECK(IsWindowsGuiProgram(image));
        REQUIRE(WriteWholeFile(program.Str(), image));
        DeleteFileW(record);
        DeleteFileW(gameDir + L"\\game.dll");

        REQUIRE(Process::Start(program.Str(), L"-window \"a b\"", gameDir.Str()).WaitForExit(30000) == 0u);
        std::wstring first = L"war3.exe ran\r\nWorkingDirectory=" + std::wstring(gameDir) + L"\r\nCommandLine=\"" +
                             std::wstring(program) + L"\" -window \"a b\"\r\nGameDll=\r\n";
        CHECK(AsUtf16(ReadWholeFile(record.Str()).value_or("")) == L"\xFEFF" + first);

        // A second start appends its own record; the working directory is the caller's, the
        // game.dll the one beside the program.
        REQUIRE(WriteWholeFile((gameDir + L"\\game.dll").Str(), Archive(c.id).Extract("game.dll")));
        REQUIRE(Process::Start(program.Str(), L"", otherDir.Str()).WaitForExit(30000) == 0u);
        std::wstring second = L"war3.exe ran\r\nWorkingDirectory=" + std::wstring(otherDir) + L"\r\nCommandLine=\"" +
                              std::wstring(program) + L"\"\r\nGameDll=" + c.gameDll + L"\r\n";
        CHECK(AsUtf16(ReadWholeFile(record.Str()).value_or("")) == L"\xFEFF" + first + second);
    }
}

TEST_CASE("stand-in war3.exe stays as long as war3_wait.txt asks" * doctest::skip(!kStandIns))
{
    TempFolder folder;
    const std::wstring program = folder.PathOf(L"war3.exe");
    REQUIRE(WriteWholeFile(program, Archive(185).Extract("war3.exe")));
    REQUIRE(folder.Write(L"war3_wait.txt", "3000\r\n"));
    Process game = Process::Start(program, L"", folder.Path());
    REQUIRE(game.Started());
    // The start is recorded first, and the wait comes after it.
    REQUIRE(WaitUntil([&] { return folder.Exists(L"war3_ran.txt"); }));
    CHECK_FALSE(game.WaitForExit(1000).has_value());
    CHECK(game.WaitForExit(30000) == 0u);

    REQUIRE(folder.Write(L"war3_wait.txt", "no number"));
    CHECK(Process::Start(program, L"", folder.Path()).WaitForExit(10000) == 0u);
}
