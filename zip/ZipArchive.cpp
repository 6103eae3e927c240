#include "zip/ZipArchive.h"
#include "framework/CFileFind.h"
#include "framework/CHandle.h"
#include "framework/LongPath.h"
#include "framework/ResourceData.h"
#include "zip/ZipTargetCheck.h"
#include "zip/ZipAttributes.h"
#include "zip/ZipEntryName.h"
#include "zip/ZipEntryTimes.h"
#include "zip/ZipFileView.h"
#include "zip/ZipFileIo.h"
#include "zip/ZipPasswordCheck.h"
#include "zip/ZipFlushBehind.h"
#include "zip/ZipWholeEntry.h"
#include <unzip.h>
#include <climits>
#include <cstring>
#include <new>
#include <string>
#include <vector>

thread_local DWORD g_zipLastResult = ZIPRES_OK;

namespace {

const size_t kMaxPathLength = MAX_PATH - 1;
// What the long form of a path allows.
const size_t kMaxLongPathLength = 32767 - 5;

DWORD Store(DWORD result)
{
    g_zipLastResult = result;
    return result;
}

// The name, or nothing when it is too long for the record, not UTF-8 or unsafe to write.
void ReadEntryName(unzFile archive, const unz_file_info64& info, wchar_t (&name)[260])
{
    name[0] = 0;
    char bytes[260];
    if (info.size_filename >= sizeof bytes) return;
    unz_file_info64 again;
    if (unzGetCurrentFileInfo64(archive, &again, bytes, sizeof bytes, nullptr, 0, nullptr, 0) != UNZ_OK) return;
    std::wstring decoded;
    if (!DecodeUtf8Name(bytes, info.size_filename, decoded)) return;
    std::wstring safe = SanitizeEntryName(decoded);
    if (safe.size() > kMaxPathLength) return;
    safe.copy(name, safe.size());
    name[safe.size()] = 0;
}

// Fills the record of the current entry after checking its local header against the central one.
DWORD ReadCurrentEntry(unzFile archive, int index, ZipEntryInfo& entry)
{
    unz_file_info64 info;
    if (unzGetCurrentFileInfo64(archive, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) return ZIPRES_CORRUPT;
    if (info.compression_method != 0 && info.compression_method != Z_DEFLATED) return ZIPRES_CORRUPT;
    if (info.compressed_size > 0xFFFFFFFFULL || info.uncompressed_size > 0xFFFFFFFFULL) return ZIPRES_CORRUPT;

    // A raw open checks the local header without decrypting or inflating anything.
    if (unzOpenCurrentFile2(archive, nullptr, nullptr, 1) != UNZ_OK) return ZIPRES_CORRUPT;
    std::vector<unsigned char> extra;
    int extraSize = unzGetLocalExtrafield(archive, nullptr, 0);
    bool extraRead = extraSize >= 0;
    if (extraSize > 0) {
        extra.resize(static_cast<size_t>(extraSize));
        extraRead = unzGetLocalExtrafield(archive, extra.data(), static_cast<unsigned>(extraSize)) == extraSize;
    }
    unzCloseCurrentFile(archive);
    if (!extraRead) return ZIPRES_READ_FAILED;

    ZipEntryInfo filled{};
    filled.nIndex = index;
    ReadEntryName(archive, info, filled.szName);
    filled.dwAttributes = MapEntryAttributes(static_cast<unsigned int>(info.version), static_cast<DWORD>(info.external_fa));
    filled.nCompressedSize = static_cast<DWORD>(info.compressed_size);
    filled.nUncompressedSize = static_cast<DWORD>(info.uncompressed_size);
    filled.dwCrc32 = static_cast<DWORD>(info.crc);
    FILETIME stamp = DosDateTimeToUtc(static_cast<DWORD>(info.dosDate));
    filled.ftAccess = filled.ftCreation = filled.ftModified = stamp;
    if (!extra.empty())
        ApplyExtendedTimes(extra.data(), extra.size(), filled.ftModified, filled.ftAccess, filled.ftCreation);
    entry = filled;
    return ZIPRES_OK;
}

bool FullPath(const std::wstring& path, std::wstring& full)
{
    DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0 || needed > kMaxLongPathLength + 1) return false;
    std::wstring buffer(needed, L'\0');
    DWORD length = GetFullPathNameW(path.c_str(), needed, &buffer[0], nullptr);
    if (length == 0 || length >= needed) return false;
    full.assign(buffer.c_str(), length);
    return true;
}

// The last guard against a relative target that would still leave the base folder.
bool LiesBelow(const std::wstring& base, const std::wstring& path)
{
    std::wstring fullBase, fullPath;
    if (!FullPath(base, fullBase) || !FullPath(path, fullPath)) return false;
    if (fullBase.empty() || !IsSeparator(fullBase.back())) fullBase += L'\\';
    if (fullPath.size() <= fullBase.size()) return false;
    int length = static_cast<int>(fullBase.size());
    return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, fullPath.c_str(), length, fullBase.c_str(), length) == CSTR_EQUAL;
}

// An existing file is replaced under the name it has on disk, in its letter case.
std::wstring NameOnDisk(const std::wstring& path)
{
    CFileFind finder;
    if (!finder.FindFile(path.c_str())) return path;
    finder.FindNextFile();
    std::wstring found = finder.GetFileName().Str();
    std::wstring folder = FolderPart(path);
    std::wstring file = path.substr(folder.size());
    if (CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, file.c_str(), -1, found.c_str(), -1) != CSTR_EQUAL) return path;
    return folder + found;
}

// Read-only, hidden and system files, and files another process holds open, stay as they are.
bool MayReplace(const std::wstring& path)
{
    ZipTargetState state = CheckZipTarget(path.c_str());
    return state == ZipTargetState::Absent || state == ZipTargetState::Replaceable;
}

// Exactly size bytes of the file at offset, whatever its file pointer.
bool ReadAt(HANDLE file, unsigned long long offset, void* buffer, DWORD size)
{
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD got = 0;
    return ReadFile(file, buffer, size, &got, &at) && got == size;
}

CHandle CreateTemporaryFile(const std::wstring& target, DWORD attributes, DWORD share, std::wstring& temporary)
{
    std::wstring folder = FolderPart(target);
    // Two readers may extract into one folder at once, each on its own thread.
    static volatile LONG counter = 0;
    for (int attempt = 0; attempt < 64; ++attempt) {
        wchar_t name[32];
        wsprintfW(name, L"~zip%08lx.tmp", (GetTickCount() ^ (GetCurrentProcessId() << 16)) + InterlockedIncrement(&counter));
        temporary = folder + name;
        CHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, share, nullptr, CREATE_NEW, attributes, nullptr));
        if (file || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return CHandle();
}

bool HeaderCheckPasses(unzFile archive, const char* password, const unz_file_info64& info, DWORD& result)
{
    unsigned char header[12];
    if (unzOpenCurrentFile2(archive, nullptr, nullptr, 1) != UNZ_OK) {
        result = ZIPRES_CORRUPT;
        return false;
    }
    int got = unzReadCurrentFile(archive, header, sizeof header);
    unzCloseCurrentFile(archive);
    if (got != static_cast<int>(sizeof header)) {
        result = ZIPRES_INFLATE_FAILED;
        return false;
    }
    unsigned char expected = (info.flag & 8) ? static_cast<unsigned char>(info.dosDate >> 8)
                                             : static_cast<unsigned char>(info.crc >> 24);
    if (!ZipPasswordHeaderMatches(password, header, expected)) {
        result = ZIPRES_BAD_PASSWORD;
        return false;
    }
    return true;
}

// A buffer of at least size bytes, kept in slot for later entries; null when it cannot be had.
unsigned char* Buffer(std::unique_ptr<unsigned char[]>& slot, size_t& capacity, size_t size)
{
    if (size <= capacity && slot) return slot.get();
    slot.reset();
    capacity = 0;
    // One byte at least, so that an empty request still has a buffer to point at.
    slot.reset(new (std::nothrow) unsigned char[size ? size : 1]);
    if (slot) capacity = size;
    return slot.get();
}

// In pieces: one write of tens of megabytes is several times slower under Wine than the same bytes
// in pieces of a megabyte.
bool WriteAll(HANDLE output, const unsigned char* data, size_t size)
{
    while (size > 0) {
        DWORD piece = static_cast<DWORD>(size < kZipWholeEntryLimit ? size : kZipWholeEntryLimit);
        DWORD done = 0;
        if (!WriteFile(output, data, piece, &done, nullptr) || done != piece) return false;
        data += piece;
        size -= piece;
    }
    return true;
}

} // namespace

ZipArchive::ZipArchive()
{
    wchar_t current[MAX_PATH];
    DWORD length = GetCurrentDirectoryW(MAX_PATH, current);
    // A current folder too long to hold still resolves relative paths, as ".".
    SetBaseDir((length == 0 || length >= MAX_PATH - 1) ? std::wstring(L".") : std::wstring(current, length));
}

ZipArchive::~ZipArchive()
{
    if (m_hArchive) unzClose(static_cast<unzFile>(m_hArchive));
}

ZipArchive* ZipArchive::OpenFile(const wchar_t* path)
{
    std::unique_ptr<ZipArchive> archive(path ? new (std::nothrow) ZipArchive : nullptr);
    if (!archive) return nullptr;
    CHandle file(CreateFileW(LongPathForm(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file, &size)) return nullptr;
    archive->m_hFile = file.Detach();
    zlib_filefunc64_def functions;
    FillZipFileFunctions(functions);
    // The library takes the file over, closing it also when opening fails.
    void* library = unzOpen2_64(archive->m_hFile, &functions);
    return archive->Attach(library, static_cast<unsigned long long>(size.QuadPart)) ? archive.release() : nullptr;
}

ZipArchive* ZipArchive::OpenMemory(const void* data, size_t size)
{
    std::unique_ptr<ZipArchive> archive(data ? new (std::nothrow) ZipArchive : nullptr);
    if (!archive) return nullptr;
    archive->m_memory = {static_cast<const unsigned char*>(data), size, 0};
    zlib_filefunc64_def functions;
    FillZipMemoryFunctions(functions);
    void* library = unzOpen2_64(&archive->m_memory, &functions);
    return archive->Attach(library, size) ? archive.release() : nullptr;
}

bool ZipArchive::Attach(void* library, unsigned long long archiveSize)
{
    m_hArchive = library;
    m_nMaxEntries = archiveSize / 46;
    return library != nullptr;
}

// An end record may claim more entries than the archive can hold; walking them all would spin.
int ZipArchive::EntryCount()
{
    unz_global_info64 global;
    if (unzGetGlobalInfo64(static_cast<unzFile>(m_hArchive), &global) != UNZ_OK) return 0;
    ZPOS64_T count = global.number_entry < m_nMaxEntries ? global.number_entry : m_nMaxEntries;
    return count > static_cast<ZPOS64_T>(INT_MAX) ? INT_MAX : static_cast<int>(count);
}

// Every step either advances or fails, so an unreadable record before the wanted one ends the walk.
DWORD ZipArchive::Position(int index)
{
    if (m_nFirstUnreadable >= 0 && index >= m_nFirstUnreadable) return ZIPRES_CORRUPT;
    unzFile archive = static_cast<unzFile>(m_hArchive);
    unz64_file_pos position;
    ZPOS64_T current = 0;
    bool known = unzGetFilePos64(archive, &position) == UNZ_OK;
    if (known) current = position.num_of_file;
    if (!known || current > static_cast<ZPOS64_T>(index)) {
        if (unzGoToFirstFile(archive) != UNZ_OK) {
            m_nFirstUnreadable = 0;
            return ZIPRES_CORRUPT;
        }
        current = 0;
    }
    while (current < static_cast<ZPOS64_T>(index)) {
        if (unzGoToNextFile(archive) != UNZ_OK) {
            m_nFirstUnreadable = static_cast<int>(current) + 1;
            return ZIPRES_CORRUPT;
        }
        ++current;
    }
    return ZIPRES_OK;
}

DWORD ZipArchive::ReadEntry(int index, ZipEntryInfo& entry)
{
    if (index == m_nCachedIndex) {
        entry = m_cachedEntry;
        return ZIPRES_OK;
    }
    DWORD result = Position(index);
    if (result == ZIPRES_OK) result = ReadCurrentEntry(static_cast<unzFile>(m_hArchive), index, entry);
    if (result != ZIPRES_OK) return result;
    m_cachedEntry = entry;
    m_nCachedIndex = index;
    return ZIPRES_OK;
}

// Streams the current entry into the file; OK only for exactly the declared bytes with a matching CRC.
DWORD ZipArchive::StreamEntry(const unz_file_info64& info, HANDLE output)
{
    unzFile archive = static_cast<unzFile>(m_hArchive);
    // The library would treat every entry as encrypted once given a password, and never checks it.
    const char* password = nullptr;
    if (info.flag & 1) {
        password = m_password.c_str();
        DWORD refused = ZIPRES_OK;
        if (!HeaderCheckPasses(archive, password, info, refused)) return refused;
    }
    const unsigned int bufferSize = static_cast<unsigned int>(kZipWholeEntryLimit);
    if (!m_streamBuffer) m_streamBuffer.reset(new (std::nothrow) unsigned char[bufferSize]);
    if (!m_streamBuffer) return ZIPRES_INFLATE_FAILED;
    // An empty entry may have no deflate data at all, which the library allows.
    DWORD inflated = ZIPRES_OK;
    if (!password && info.compression_method == Z_DEFLATED && info.uncompressed_size > 0 &&
        InflateInPieces(info, output, inflated))
        return inflated;
    if (unzOpenCurrentFilePassword(archive, password) != UNZ_OK) return ZIPRES_CORRUPT;

    DWORD result = ZIPRES_OK;
    ZPOS64_T written = 0;
    while (written < info.uncompressed_size) {
        int got = unzReadCurrentFile(archive, m_streamBuffer.get(), bufferSize);
        if (got <= 0) {
            result = ZIPRES_INFLATE_FAILED;
            break;
        }
        if (!WriteAll(output, m_streamBuffer.get(), static_cast<size_t>(got))) {
            result = ZIPRES_WRITE_FAILED;
            break;
        }
        if (m_pFlushBehind) m_pFlushBehind->Written(static_cast<unsigned long long>(got));
        written += static_cast<ZPOS64_T>(got);
    }
    int closed = unzCloseCurrentFile(archive);
    if (result == ZIPRES_OK && closed != UNZ_OK) result = ZIPRES_CORRUPT;
    return result;
}

// Inflates the current deflated entry with zlib straight from where its raw data lies: in memory
// as it is, from the file a piece at a time. The library would copy it through a small buffer of
// its own and sum it with zlib's slower CRC. False, with nothing written, when the raw data
// cannot be found, and the library must stream the entry.
bool ZipArchive::InflateInPieces(const unz_file_info64& info, HANDLE output, DWORD& result)
{
    unzFile archive = static_cast<unzFile>(m_hArchive);
    if (unzOpenCurrentFile2(archive, nullptr, nullptr, 1) != UNZ_OK) return false;
    unsigned long long offset = unzGetCurrentFileZStreamPos64(archive);
    unzCloseCurrentFile(archive);
    unsigned long long left = info.compressed_size;
    const unsigned long long piece = kZipWholeEntryLimit;
    if (!m_hFile && (offset > m_memory.size || left > m_memory.size - offset)) {
        result = ZIPRES_INFLATE_FAILED;
        return true;
    }
    HANDLE file = m_hFile ? m_hFile : ImageFile();
    unsigned char* readBuffer = file ? Buffer(m_compressed, m_nCompressedCapacity, static_cast<size_t>(piece)) : nullptr;
    if (file && !readBuffer) {
        if (m_hFile) return false;
        file = nullptr;
    }
    // The image's file holds the archive further on.
    if (file && file != m_hFile) offset += m_nImageOffset;
    auto next = [&](const unsigned char*& bytes, size_t& size) {
        if (left == 0) return false;
        if (!file) {
            bytes = m_memory.data + offset;
            size = static_cast<size_t>(left);
            left = 0;
            return true;
        }
        DWORD want = static_cast<DWORD>(left < piece ? left : piece);
        if (!ReadAt(file, offset, readBuffer, want)) return false;
        offset += want;
        left -= want;
        bytes = readBuffer;
        size = want;
        return true;
    };
    auto write = [&](const unsigned char* data, size_t size) {
        if (!WriteAll(output, data, size)) return false;
        if (m_pFlushBehind) m_pFlushBehind->Written(size);
        return true;
    };
    result = InflateEntryInPieces(next, m_streamBuffer.get(), static_cast<size_t>(kZipWholeEntryLimit),
                                  static_cast<size_t>(info.uncompressed_size), static_cast<DWORD>(info.crc), write);
    return true;
}

// A program's own image is mapped from its file, and each page's first touch costs more than
// reading it: an archive that lies in an image is read from the image's file, once a few of its
// bytes are found to be the same there. Null for any other archive, or when the file cannot be read.
HANDLE ZipArchive::ImageFile()
{
    if (m_bImageFileTried || m_hFile) return m_imageFile;
    m_bImageFileTried = true;
    wchar_t path[MAX_PATH];
    unsigned long long offset = 0;
    if (!ResourceFileRange(m_memory.data, m_memory.size, path, &offset)) return nullptr;
    CHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return nullptr;
    // The start and the end, where the central directory lies: a file put in the image's place since
    // would differ there.
    const size_t sample = static_cast<size_t>(m_memory.size < 4096 ? m_memory.size : 4096);
    unsigned char bytes[4096];
    for (unsigned long long at : {0ULL, m_memory.size - sample})
        if (!ReadAt(file, offset + at, bytes, static_cast<DWORD>(sample)) || memcmp(bytes, m_memory.data + at, sample) != 0)
            return nullptr;
    m_imageFile = std::move(file);
    m_nImageOffset = offset;
    return m_imageFile;
}

// The raw bytes of an entry at offset, where they lie in memory, mapped from the archive's
// file, or else read into a buffer.
ZipArchive::RawRead ZipArchive::RawBytes(ZipFileView& view, unsigned long long offset, size_t size, const unsigned char*& bytes)
{
    if (!m_hFile) {
        if (offset > m_memory.size || size > m_memory.size - offset) return RawRead::Missing;
        bytes = m_memory.data + offset;
        return RawRead::Done;
    }
    // Mapped, they come from the file cache uncopied, without a fault for every fresh page of a buffer.
    bytes = view.Map(m_hFile, offset, size);
    if (bytes) return RawRead::Done;
    unsigned char* buffer = Buffer(m_compressed, m_nCompressedCapacity, size);
    if (!buffer) return RawRead::NoMemory;
    // Every read of the library seeks first, so this read's moving the file pointer is harmless.
    if (size && !ReadAt(m_hFile, offset, buffer, static_cast<DWORD>(size))) return RawRead::Missing;
    bytes = buffer;
    return RawRead::Done;
}

// Inflates the current entry in one call into a buffer of its size; false, with nothing
// written, when the buffers cannot be had, and the entry must be streamed instead.
bool ZipArchive::InflateWhole(const unz_file_info64& info, HANDLE output, DWORD& result)
{
    size_t size = static_cast<size_t>(info.uncompressed_size);
    unsigned char* inflated = Buffer(m_inflated, m_nInflatedCapacity, size);
    if (!inflated) return false;
    unzFile archive = static_cast<unzFile>(m_hArchive);
    // The raw open checks the local header and finds where the data starts.
    if (unzOpenCurrentFile2(archive, nullptr, nullptr, 1) != UNZ_OK) {
        result = ZIPRES_CORRUPT;
        return true;
    }
    ZPOS64_T offset = unzGetCurrentFileZStreamPos64(archive);
    unzCloseCurrentFile(archive);
    size_t compressedSize = static_cast<size_t>(info.compressed_size);
    ZipFileView view;
    const unsigned char* compressed = nullptr;
    RawRead read = RawBytes(view, offset, compressedSize, compressed);
    // Memory for the raw bytes is the one lack that streaming does without.
    if (read == RawRead::NoMemory) return false;
    if (read == RawRead::Missing) {
        result = ZIPRES_INFLATE_FAILED;
        return true;
    }
    result = InflateWholeEntry(compressed, compressedSize, inflated, size, static_cast<DWORD>(info.crc));
    if (result == ZIPRES_OK && !WriteAll(output, inflated, size)) result = ZIPRES_WRITE_FAILED;
    return true;
}

// The current entry into the file; OK only for exactly the declared bytes with a matching CRC.
DWORD ZipArchive::WriteEntryData(HANDLE output)
{
    unz_file_info64 info;
    if (unzGetCurrentFileInfo64(static_cast<unzFile>(m_hArchive), &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return ZIPRES_CORRUPT;
    // Encrypted entries are decrypted as they stream, and stored ones need no inflating. An empty
    // entry streams too: its deflate data may be missing altogether, which inflating whole refuses.
    bool whole = !(info.flag & 1) && info.compression_method == Z_DEFLATED && info.uncompressed_size > 0 &&
                 info.uncompressed_size <= m_nWholeEntryLimit && info.compressed_size <= m_nWholeEntryLimit;
    DWORD result = ZIPRES_OK;
    if (whole && InflateWhole(info, output, result)) return result;
    return StreamEntry(info, output);
}

// Writes beside the target and replaces it only once the whole entry has checked out.
DWORD ZipArchive::WriteEntryFile(const ZipEntryInfo& entry, const std::wstring& path)
{
    if (!MayReplace(path)) return ZIPRES_CANNOT_OPEN;
    std::wstring target = NameOnDisk(path);
    DWORD attributes = entry.dwAttributes & ~FILE_ATTRIBUTE_READONLY;
    if (attributes == 0) attributes = FILE_ATTRIBUTE_NORMAL;
    // Only entries of a few flushing steps are worth a thread; its handle of the file needs it
    // shared for writing.
    bool flushBehind = m_bFlushBehind && entry.nUncompressedSize >= 2 * ZipFlushBehind::kStep;
    std::wstring temporary;
    CHandle output = CreateTemporaryFile(target, attributes, flushBehind ? FILE_SHARE_WRITE : 0, temporary);
    if (!output) return ZIPRES_CANNOT_OPEN;

    DWORD result = ZIPRES_OK;
    {
        // Ends, closing its handle, before the file is renamed.
        std::unique_ptr<ZipFlushBehind> behind(flushBehind ? new (std::nothrow) ZipFlushBehind(temporary) : nullptr);
        m_pFlushBehind = behind.get();
        result = WriteEntryData(output);
        m_pFlushBehind = nullptr;
    }
    if (result == ZIPRES_OK && !SetFileTime(output, &entry.ftCreation, &entry.ftAccess, &entry.ftModified))
        result = ZIPRES_WRITE_FAILED;
    if (!output.Close() && result == ZIPRES_OK) result = ZIPRES_WRITE_FAILED;
    if (result == ZIPRES_OK && !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
        result = ZIPRES_CANNOT_OPEN;
    if (result != ZIPRES_OK) {
        DeleteFileW(temporary.c_str());
        return result;
    }
    if (entry.dwAttributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(target.c_str(), entry.dwAttributes);
    return ZIPRES_OK;
}

DWORD ZipArchive::ExtractEntry(int index, const wchar_t* target)
{
    if (index < 0 || index >= EntryCount()) return ZIPRES_BAD_ARGUMENT;
    DWORD result = Position(index);
    ZipEntryInfo entry;
    if (result == ZIPRES_OK) result = ReadEntry(index, entry);
    if (result != ZIPRES_OK) return result;

    std::wstring wanted = target;
    if (wanted.empty() || wanted.size() > kMaxLongPathLength) return ZIPRES_CANNOT_OPEN;
    std::wstring base = m_szBaseDir;
    bool absolute = IsAbsoluteTarget(target);
    if (!absolute && !IsSafeRelativePath(wanted)) return ZIPRES_CANNOT_OPEN;

    if (entry.dwAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (absolute) return MakeDirectoryChain(nullptr, target) ? ZIPRES_OK : ZIPRES_CANNOT_OPEN;
        if (base.size() + wanted.size() > kMaxLongPathLength || !LiesBelow(base, base + wanted)) return ZIPRES_CANNOT_OPEN;
        return MakeDirectoryChain(base.c_str(), target) ? ZIPRES_OK : ZIPRES_CANNOT_OPEN;
    }

    std::wstring folder = FolderPart(wanted);
    std::wstring file = wanted.substr(folder.size());
    if (file.empty()) return ZIPRES_CANNOT_OPEN;
    std::wstring path;
    if (absolute) {
        path = folder + file;
        MakeDirectoryChain(nullptr, folder.c_str());
    } else {
        path = base + folder + file;
        if (path.size() > kMaxLongPathLength || !LiesBelow(base, path)) return ZIPRES_CANNOT_OPEN;
        MakeDirectoryChain(base.c_str(), folder.c_str());
    }
    return WriteEntryFile(entry, LongPathForm(path));
}

void ZipArchive::SetBaseDir(const std::wstring& dir)
{
    m_szBaseDir = dir;
    if (m_szBaseDir.empty() || !IsSeparator(m_szBaseDir.back())) m_szBaseDir += L'\\';
}

void ZipCloser::operator()(ZipArchive* archive) const
{
    ZipClose(archive);
}

ZipHandle ZipOpen(const wchar_t* path)
{
    try {
        ZipHandle handle = ZipArchive::OpenFile(path);
        Store(handle ? ZIPRES_OK : ZIPRES_CANNOT_OPEN);
        return handle;
    } catch (...) {
        return Store(ZIPRES_CANNOT_OPEN), nullptr;
    }
}

ZipHandle ZipOpenMemory(const void* data, size_t size)
{
    try {
        ZipHandle handle = ZipArchive::OpenMemory(data, size);
        Store(handle ? ZIPRES_OK : ZIPRES_CANNOT_OPEN);
        return handle;
    } catch (...) {
        return Store(ZIPRES_CANNOT_OPEN), nullptr;
    }
}

DWORD ZipSetBaseDir(ZipHandle handle, const wchar_t* dir)
{
    if (!handle || !dir || !dir[0]) return Store(ZIPRES_BAD_ARGUMENT);
    try {
        std::wstring wanted = dir;
        // Room is kept for the separator and at least one name character after it.
        if (wanted.size() > kMaxLongPathLength - 2) return Store(ZIPRES_BAD_ARGUMENT);
        handle->SetBaseDir(wanted);
        return Store(ZIPRES_OK);
    } catch (...) {
        return Store(ZIPRES_BAD_ARGUMENT);
    }
}

DWORD ZipGetEntry(ZipHandle handle, int index, ZipEntryInfo* entry)
{
    if (!handle || !entry) return Store(ZIPRES_BAD_ARGUMENT);
    try {
        int count = handle->EntryCount();
        if (index < -1 || index >= count) return Store(ZIPRES_BAD_ARGUMENT);
        if (index == -1) {
            *entry = ZipEntryInfo{};
            entry->nIndex = count;
            return Store(ZIPRES_OK);
        }
        ZipEntryInfo filled;
        DWORD result = handle->ReadEntry(index, filled);
        if (result == ZIPRES_OK) *entry = filled;
        return Store(result);
    } catch (...) {
        return Store(ZIPRES_CORRUPT);
    }
}

DWORD ZipExtractEntry(ZipHandle handle, int index, const wchar_t* target)
{
    if (!handle || !target) return Store(ZIPRES_BAD_ARGUMENT);
    try {
        return Store(handle->ExtractEntry(index, target));
    } catch (...) {
        return Store(ZIPRES_WRITE_FAILED);
    }
}

DWORD ZipClose(ZipHandle handle)
{
    if (!handle) return Store(ZIPRES_BAD_ARGUMENT);
    delete handle;
    return Store(ZIPRES_OK);
}
