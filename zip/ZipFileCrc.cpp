#include "zip/ZipFileCrc.h"
#include "framework/CHandle.h"
#include "framework/LongPath.h"
#include "zip/ZipWholeEntry.h"
#include <vector>

bool ZipFileCrc32(const wchar_t* path, DWORD* crc, unsigned long long* size)
{
    CHandle file(CreateFileW(LongPathForm(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return false;
    std::vector<unsigned char> buffer(1 << 20);
    DWORD sum = 0;
    unsigned long long total = 0;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) return false;
        if (got == 0) break;
        sum = ZipCrc32(sum, buffer.data(), got);
        total += got;
    }
    *crc = sum;
    *size = total;
    return true;
}
