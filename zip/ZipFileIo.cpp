#include "zip/ZipFileIo.h"
#include "zip/ZipArchive.h"
#include <cstring>

namespace {

voidpf ZCALLBACK OpenFile(voidpf, const void* handle, int)
{
    return const_cast<void*>(handle);
}

uLong ZCALLBACK ReadFileData(voidpf, voidpf stream, void* buffer, uLong size)
{
    DWORD got = 0;
    if (!ReadFile(static_cast<HANDLE>(stream), buffer, size, &got, nullptr)) return 0;
    return got;
}

uLong ZCALLBACK WriteFileData(voidpf, voidpf, const void*, uLong)
{
    return 0;
}

ZPOS64_T ZCALLBACK TellFile(voidpf, voidpf stream)
{
    LONG high = 0;
    DWORD low = SetFilePointer(static_cast<HANDLE>(stream), 0, &high, FILE_CURRENT);
    if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return static_cast<ZPOS64_T>(-1);
    return (static_cast<ZPOS64_T>(static_cast<DWORD>(high)) << 32) | low;
}

long ZCALLBACK SeekFile(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    DWORD method;
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: method = FILE_BEGIN; break;
    case ZLIB_FILEFUNC_SEEK_CUR: method = FILE_CURRENT; break;
    case ZLIB_FILEFUNC_SEEK_END: method = FILE_END; break;
    default: return -1;
    }
    LONG high = static_cast<LONG>(offset >> 32);
    SetLastError(NO_ERROR);
    DWORD low = SetFilePointer(static_cast<HANDLE>(stream), static_cast<LONG>(offset & 0xFFFFFFFF), &high, method);
    if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return -1;
    return 0;
}

int ZCALLBACK CloseFile(voidpf, voidpf stream)
{
    CloseHandle(static_cast<HANDLE>(stream));
    return 0;
}

int ZCALLBACK TestError(voidpf, voidpf)
{
    return 0;
}

ZPOS64_T ZCALLBACK TellMemory(voidpf, voidpf stream)
{
    return static_cast<ZipMemory*>(stream)->position;
}

uLong ZCALLBACK ReadMemory(voidpf, voidpf stream, void* buffer, uLong count)
{
    auto* memory = static_cast<ZipMemory*>(stream);
    ZPOS64_T left = memory->position < memory->size ? memory->size - memory->position : 0;
    uLong n = count < left ? count : static_cast<uLong>(left);
    std::memcpy(buffer, memory->data + memory->position, n);
    memory->position += n;
    return n;
}

long ZCALLBACK SeekMemory(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    auto* memory = static_cast<ZipMemory*>(stream);
    ZPOS64_T base = origin == ZLIB_FILEFUNC_SEEK_SET ? 0 : origin == ZLIB_FILEFUNC_SEEK_CUR ? memory->position : memory->size;
    if (offset > memory->size || base > memory->size - offset) return -1;
    memory->position = base + offset;
    return 0;
}

int ZCALLBACK CloseMemory(voidpf, voidpf)
{
    return 0;
}

} // namespace

void FillZipFileFunctions(zlib_filefunc64_def& functions)
{
    functions.zopen64_file = OpenFile;
    functions.zread_file = ReadFileData;
    functions.zwrite_file = WriteFileData;
    functions.ztell64_file = TellFile;
    functions.zseek64_file = SeekFile;
    functions.zclose_file = CloseFile;
    functions.zerror_file = TestError;
    functions.opaque = nullptr;
}

void FillZipMemoryFunctions(zlib_filefunc64_def& functions)
{
    FillZipFileFunctions(functions);
    functions.zread_file = ReadMemory;
    functions.ztell64_file = TellMemory;
    functions.zseek64_file = SeekMemory;
    functions.zclose_file = CloseMemory;
}
