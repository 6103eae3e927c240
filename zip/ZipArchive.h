#pragma once
#include "framework/CHandle.h"
#include <windows.h>
#include <memory>
#include <string>

enum : DWORD {
    ZIPRES_OK = 0,
    ZIPRES_CANNOT_OPEN = 0x200,
    ZIPRES_WRITE_FAILED = 0x400,
    ZIPRES_CORRUPT = 0x700,
    ZIPRES_READ_FAILED = 0x800,
    ZIPRES_BAD_PASSWORD = 0x1000,
    ZIPRES_BAD_ARGUMENT = 0x10000,
    ZIPRES_INFLATE_FAILED = 0x5000000,
};

// Result of the last reader call, for a caller that wants more than the call's own return.
extern thread_local DWORD g_zipLastResult;

struct ZipEntryInfo {
    int nIndex;
    wchar_t szName[260];
    DWORD dwAttributes;
    FILETIME ftAccess, ftCreation, ftModified;
    DWORD nCompressedSize, nUncompressedSize;
    DWORD dwCrc32;  // of the uncompressed data, from the central directory
};

// Bytes read where they lie, such as a resource in the loaded image; they outlive the archive.
struct ZipMemory {
    const unsigned char* data;
    unsigned long long size;
    unsigned long long position;
};

// Entries up to this size are inflated whole, in one call; larger ones stream through a buffer of
// the same size. Memory a process touches for the first time costs more than the inflating (a
// virtual machine may hand freed memory back to its host, and fault it in again page by page),
// so a buffer the size of the largest game file (34 MB) would cost more than it saves.
const unsigned long long kZipWholeEntryLimit = 1ULL << 20;

struct unz_file_info64_s;
class ZipFileView;
class ZipFlushBehind;

// One open archive: the unzip library's state over the file, the last entry record and the extraction buffers.
class ZipArchive {
public:
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // Null when the file cannot be opened or read as an archive.
    static ZipArchive* OpenFile(const wchar_t* path);
    // The archive read where its bytes lie; they must outlive it.
    static ZipArchive* OpenMemory(const void* data, size_t size);

    int EntryCount();
    DWORD ReadEntry(int index, ZipEntryInfo& entry);
    DWORD ExtractEntry(int index, const wchar_t* target);
    // A separator is appended when missing.
    void SetBaseDir(const std::wstring& dir);
    const std::wstring& BaseDir() const { return m_szBaseDir; }
    void SetWholeEntryLimit(unsigned long long limit) { m_nWholeEntryLimit = limit; }
    // For a caller that flushes the files it extracts: large ones are flushed while they are
    // written, and the caller's flush then finds little left.
    void SetFlushBehind(bool flush) { m_bFlushBehind = flush; }

private:
    enum class RawRead { Done, Missing, NoMemory };

    ZipArchive();
    // Takes the library's state over the archive; false, with nothing kept, for none.
    bool Attach(void* library, unsigned long long archiveSize);
    DWORD Position(int index);
    DWORD StreamEntry(const unz_file_info64_s& info, HANDLE output);
    bool InflateInPieces(const unz_file_info64_s& info, HANDLE output, DWORD& result);
    HANDLE ImageFile();
    RawRead RawBytes(ZipFileView& view, unsigned long long offset, size_t size, const unsigned char*& bytes);
    bool InflateWhole(const unz_file_info64_s& info, HANDLE output, DWORD& result);
    DWORD WriteEntryData(HANDLE output);
    DWORD WriteEntryFile(const ZipEntryInfo& entry, const std::wstring& path);

    void* m_hArchive = nullptr;
    ZipEntryInfo m_cachedEntry{};
    int m_nCachedIndex = -1;
    // Tried on encrypted entries; nothing sets another, so it stays empty.
    std::string m_password;
    std::unique_ptr<unsigned char[]> m_streamBuffer;
    // Any length: a game folder may be deeper than MAX_PATH allows, and is then written in the long form.
    std::wstring m_szBaseDir;
    // Index of the first central record found unreadable, -1 while none: the library cannot
    // walk past it, and asking it again for every later index costs a full failed read each time.
    int m_nFirstUnreadable = -1;
    // Every central record takes at least 46 bytes, so no more entries than that fit in the archive.
    unsigned long long m_nMaxEntries = 0;
    ZipMemory m_memory{};
    // The archive's file, owned by the library; null for an archive read from memory.
    HANDLE m_hFile = nullptr;
    // Deflated entries up to this size, compressed and inflated, are inflated whole in memory;
    // larger ones, and any whose buffers cannot be had, are streamed.
    unsigned long long m_nWholeEntryLimit = kZipWholeEntryLimit;
    // The last whole entry's buffers, kept for the next: fresh pages cost a fault each.
    std::unique_ptr<unsigned char[]> m_compressed, m_inflated;
    size_t m_nCompressedCapacity = 0, m_nInflatedCapacity = 0;
    bool m_bFlushBehind = false;
    // An archive in memory that is a loaded module's image: the module's file, opened on the first
    // entry that is read in pieces, and where the archive starts in it.
    CHandle m_imageFile;
    unsigned long long m_nImageOffset = 0;
    bool m_bImageFileTried = false;
    // The flushing of the file being written, while there is one.
    ZipFlushBehind* m_pFlushBehind = nullptr;
};

typedef ZipArchive* ZipHandle;

// Closes the archive when the owner goes.
struct ZipCloser {
    void operator()(ZipArchive* archive) const;
};
typedef std::unique_ptr<ZipArchive, ZipCloser> ZipArchiveOwner;

ZipHandle ZipOpen(const wchar_t* path);
// The archive read where its bytes lie; they must outlive the handle.
ZipHandle ZipOpenMemory(const void* data, size_t size);
DWORD ZipSetBaseDir(ZipHandle handle, const wchar_t* dir);
DWORD ZipGetEntry(ZipHandle handle, int index, ZipEntryInfo* entry);
DWORD ZipExtractEntry(ZipHandle handle, int index, const wchar_t* target);
DWORD ZipClose(ZipHandle handle);

// Creates root (one level) when missing, then every folder of dir below it; root may be null.
// True when root + dir exists as a folder afterwards.
bool MakeDirectoryChain(const wchar_t* root, const wchar_t* dir);
