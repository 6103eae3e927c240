#include "TestArchive.h"
#include "framework/LongPath.h"
#include "Utf8.h"
#include <zip.h>
#include <zlib.h>
#include <algorithm>

namespace {

void Put16(std::string& out, uint32_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void ListInto(const std::wstring& folder, const std::wstring& prefix, std::vector<std::wstring>& names)
{
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(LongPathForm(folder + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        names.push_back(prefix + name);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ListInto(folder + L"\\" + name, prefix + name + L"\\", names);
    } while (FindNextFileW(find, &found));
    FindClose(find);
}

} // namespace

TestEntry File(const std::string& name, const std::string& data)
{
    TestEntry e;
    e.name = name;
    e.data = data;
    return e;
}

std::vector<DWORD> ExtractAll(ZipHandle zip, int limit)
{
    std::vector<DWORD> results;
    ZipEntryInfo entry{};
    ZipGetEntry(zip, -1, &entry);
    int count = entry.nIndex < limit ? entry.nIndex : limit;
    for (int i = 0; i < count; ++i) {
        // Cleared as the launcher clears them, so that an entry that can't be read writes nothing.
        entry.nIndex = 0;
        entry.szName[0] = 0;
        entry.nUncompressedSize = 0;
        ZipGetEntry(zip, i, &entry);
        results.push_back(ZipExtractEntry(zip, i, entry.szName));
    }
    return results;
}

std::string Le32(uint32_t v)
{
    std::string out;
    Put32(out, v);
    return out;
}

std::string ExtraBlock(const char* id, const std::string& data)
{
    std::string block(id, 2);
    Put16(block, static_cast<uint32_t>(data.size()));
    return block + data;
}

unsigned long long Ticks(const FILETIME& t)
{
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

uint32_t Crc32Of(const std::string& data)
{
    return static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

uint32_t DosStamp(int year, int month, int day, int hour, int minute, int second)
{
    uint32_t date = static_cast<uint32_t>(((year - 1980) << 9) | (month << 5) | day);
    uint32_t time = static_cast<uint32_t>((hour << 11) | (minute << 5) | (second / 2));
    return (date << 16) | time;
}

std::string Deflate(const std::string& data)
{
    z_stream stream{};
    deflateInit2(&stream, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, static_cast<uLong>(data.size())) + 16, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

std::string BuildArchive(const std::vector<TestEntry>& entries)
{
    std::string archive, central;
    for (const TestEntry& e : entries) {
        uint32_t method = e.method >= 0 ? static_cast<uint32_t>(e.method) : (e.deflate ? 8u : 0u);
        std::string stored = e.deflate ? Deflate(e.data) : e.data;
        if (e.keepCompressed >= 0) stored.resize(static_cast<size_t>(e.keepCompressed));
        uint32_t crc = Crc32Of(e.data) ^ (e.crcWrong ? 1u : 0u);
        uint32_t size = e.declaredSize >= 0 ? static_cast<uint32_t>(e.declaredSize) : static_cast<uint32_t>(e.data.size());
        uint32_t stamp = e.dosDateTime ? e.dosDateTime : DosStamp(2014, 4, 20, 17, 31, 34);
        uint32_t offset = static_cast<uint32_t>(archive.size());

        Put32(archive, 0x04034b50);
        Put16(archive, 20);
        Put16(archive, e.flags);
        Put16(archive, e.localMethod >= 0 ? static_cast<uint32_t>(e.localMethod) : method);
        Put32(archive, stamp);
        Put32(archive, crc);
        Put32(archive, static_cast<uint32_t>(stored.size()));
        Put32(archive, size);
        Put16(archive, static_cast<uint32_t>(e.name.size()));
        Put16(archive, e.localExtraLength >= 0 ? static_cast<uint32_t>(e.localExtraLength) : static_cast<uint32_t>(e.localExtra.size()));
        archive += e.name;
        archive += e.localExtra;
        archive += stored;

        Put32(central, 0x02014b50);
        Put16(central, e.versionMadeBy);
        Put16(central, 20);
        Put16(central, e.flags);
        Put16(central, method);
        Put32(central, stamp);
        Put32(central, crc);
        Put32(central, static_cast<uint32_t>(stored.size()));
        Put32(central, size);
        Put16(central, static_cast<uint32_t>(e.name.size()));
        Put16(central, 0);
        Put16(central, 0);
        Put16(central, 0);
        Put16(central, 0);
        Put32(central, e.external);
        Put32(central, offset);
        central += e.name;
    }
    uint32_t centralOffset = static_cast<uint32_t>(archive.size());
    archive += central;
    Put32(archive, 0x06054b50);
    Put16(archive, 0);
    Put16(archive, 0);
    Put16(archive, static_cast<uint32_t>(entries.size()));
    Put16(archive, static_cast<uint32_t>(entries.size()));
    Put32(archive, static_cast<uint32_t>(central.size()));
    Put32(archive, centralOffset);
    Put16(archive, 0);
    return archive;
}

std::string CompressibleText(size_t size, unsigned int seed)
{
    static const char* const words[] = {"unit", "attack", "armor", "gold", "lumber", "peasant", "footman", "tower",
                                        "spell", "mana", "hero", "level", "damage", "range", "speed", "build"};
    std::string out;
    out.reserve(size);
    unsigned int state = seed * 2654435761u + 1;
    while (out.size() < size) {
        state = state * 1103515245u + 12345u;
        unsigned int pick = (state >> 16) & 0x7FFF;
        if (pick % 5 == 0) {
            for (int i = 0; i < 6; ++i) {
                state = state * 1103515245u + 12345u;
                out += static_cast<char>((state >> 16) & 0xFF);
            }
        } else {
            out += words[pick % 16];
            out += ' ';
        }
    }
    out.resize(size);
    return out;
}

bool WriteMinizipArchive(const std::wstring& path, const std::vector<std::pair<std::string, std::string>>& files,
                         const char* password)
{
    zipFile zip = zipOpen(Ansi(path).c_str(), APPEND_STATUS_CREATE);
    if (!zip) return false;
    bool ok = true;
    for (const auto& f : files) {
        zip_fileinfo info{};
        info.tmz_date.tm_year = 2014;
        info.tmz_date.tm_mon = 3;
        info.tmz_date.tm_mday = 20;
        info.tmz_date.tm_hour = 17;
        ok = ok && zipOpenNewFileInZip3(zip, f.first.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 6, 0,
                                        -MAX_WBITS, 8, Z_DEFAULT_STRATEGY, password, Crc32Of(f.second)) == ZIP_OK;
        ok = ok && zipWriteInFileInZip(zip, f.second.data(), static_cast<unsigned>(f.second.size())) == ZIP_OK;
        ok = ok && zipCloseFileInZip(zip) == ZIP_OK;
    }
    return zipClose(zip, nullptr) == ZIP_OK && ok;
}

std::vector<std::wstring> ListTree(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    ListInto(folder, L"", names);
    std::sort(names.begin(), names.end());
    return names;
}
