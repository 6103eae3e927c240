#pragma once
#include "zip/ZipArchive.h"
#include <windows.h>
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

// Archives for the reader's tests, byte for byte: every field that a case needs to be unusual can be.
struct TestEntry {
    std::string name;
    std::string data;
    bool deflate = true;
    uint16_t versionMadeBy = 20;  // ZIP 2.0 on MS-DOS
    uint32_t external = 0x20;
    uint32_t dosDateTime = 0;     // 0: 2014-04-20 17:31:34
    std::string localExtra;
    uint16_t flags = 0;
    // Deviations for damaged archives.
    bool crcWrong = false;
    long long declaredSize = -1;      // uncompressed size in both headers
    long long keepCompressed = -1;    // cut the compressed data to this many bytes
    int localMethod = -1;             // method in the local header only
    int method = -1;                  // method in both headers
    int localExtraLength = -1;        // extra length announced by the local header
};

TestEntry File(const std::string& name, const std::string& data);
uint32_t DosStamp(int year, int month, int day, int hour, int minute, int second);
std::string Deflate(const std::string& data);
std::string BuildArchive(const std::vector<TestEntry>& entries);

// Text that compresses like program files: words from a small vocabulary, and some noise.
std::string CompressibleText(size_t size, unsigned int seed);

// Written with the unzip library's companion writer; password null for none.
bool WriteMinizipArchive(const std::wstring& path, const std::vector<std::pair<std::string, std::string>>& files,
                         const char* password);

// Names of everything below a folder, relative to it, with "\" between parts; sorted.
std::vector<std::wstring> ListTree(const std::wstring& folder);

uint32_t Crc32Of(const std::string& data);

// Little-endian bytes of a 32-bit value, and an extra-field block of the given two-letter id.
std::string Le32(uint32_t v);
std::string ExtraBlock(const char* id, const std::string& data);

// What the launcher does for the entries, up to limit of them: the record's name is the target.
std::vector<DWORD> ExtractAll(ZipHandle zip, int limit = INT_MAX);

// A file time as one count of 100-ns ticks.
unsigned long long Ticks(const FILETIME& t);
