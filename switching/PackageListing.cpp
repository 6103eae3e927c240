#include "switching/PackageListing.h"
#include <windows.h>
#include <cstring>
#include "zip/ZipEntryName.h"
#include <unzip.h>

namespace {

// A read-only stream over the package's bytes where they lie in the loaded image.
struct MemoryStream {
    const unsigned char* data;
    ZPOS64_T size;
    ZPOS64_T position;
};

voidpf ZCALLBACK OpenMemory(voidpf opaque, const void*, int)
{
    return opaque;
}

uLong ZCALLBACK ReadMemory(voidpf, voidpf stream, void* buffer, uLong count)
{
    auto* s = static_cast<MemoryStream*>(stream);
    ZPOS64_T left = s->position < s->size ? s->size - s->position : 0;
    uLong n = count < left ? count : static_cast<uLong>(left);
    std::memcpy(buffer, s->data + s->position, n);
    s->position += n;
    return n;
}

uLong ZCALLBACK WriteMemory(voidpf, voidpf, const void*, uLong)
{
    return 0;
}

ZPOS64_T ZCALLBACK TellMemory(voidpf, voidpf stream)
{
    return static_cast<MemoryStream*>(stream)->position;
}

long ZCALLBACK SeekMemory(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    auto* s = static_cast<MemoryStream*>(stream);
    ZPOS64_T base = origin == ZLIB_FILEFUNC_SEEK_SET ? 0 : origin == ZLIB_FILEFUNC_SEEK_CUR ? s->position : s->size;
    if (offset > s->size || base > s->size - offset) return -1;
    s->position = base + offset;
    return 0;
}

int ZCALLBACK CloseMemory(voidpf, voidpf)
{
    return 0;
}

int ZCALLBACK ErrorMemory(voidpf, voidpf)
{
    return 0;
}

// The name the reader will write the entry under; empty when it refuses it.
CString ExtractedName(const char* bytes, size_t length)
{
    std::wstring decoded;
    if (!DecodeUtf8Name(bytes, length, decoded)) return CString();
    return CString(SanitizeEntryName(decoded));
}

} // namespace

bool ListPackageEntries(const void* data, size_t size, std::vector<PackageEntry>& entries)
{
    entries.clear();
    if (!data) return false;
    MemoryStream stream{static_cast<const unsigned char*>(data), size, 0};
    zlib_filefunc64_def functions{};
    functions.zopen64_file = OpenMemory;
    functions.zread_file = ReadMemory;
    functions.zwrite_file = WriteMemory;
    functions.ztell64_file = TellMemory;
    functions.zseek64_file = SeekMemory;
    functions.zclose_file = CloseMemory;
    functions.zerror_file = ErrorMemory;
    functions.opaque = &stream;
    unzFile archive = unzOpen2_64("package", &functions);
    if (!archive) return false;
    bool ok = true;
    for (int status = unzGoToFirstFile(archive); status == UNZ_OK; status = unzGoToNextFile(archive)) {
        unz_file_info64 info;
        char name[1024];
        if (unzGetCurrentFileInfo64(archive, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK ||
            info.size_filename >= sizeof name) {
            ok = false;
            break;
        }
        entries.push_back({ExtractedName(name, info.size_filename), info.uncompressed_size});
    }
    unzClose(archive);
    return ok;
}
