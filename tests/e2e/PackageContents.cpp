#include "PackageContents.h"
#include "BuildFile.h"
#include "Utf8.h"
#include <unzip.h>

std::vector<PackageFile> ReadPackage(unsigned int id)
{
    std::vector<PackageFile> files;
    std::wstring path = BuildFile(L"packages\\" + std::to_wstring(id) + L".zip");
    unzFile zip = unzOpen(Ansi(path).c_str());
    if (!zip) return files;
    for (int s = unzGoToFirstFile(zip); s == UNZ_OK; s = unzGoToNextFile(zip)) {
        unz_file_info info;
        char name[512];
        if (unzGetCurrentFileInfo(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK) break;
        PackageFile file;
        for (const char* c = name; *c; ++c) file.name += static_cast<wchar_t>(*c);
        file.data.resize(info.uncompressed_size);
        if (unzOpenCurrentFile(zip) != UNZ_OK) break;
        int got = unzReadCurrentFile(zip, &file.data[0], static_cast<unsigned>(file.data.size()));
        unzCloseCurrentFile(zip);
        if (got != static_cast<int>(file.data.size())) break;
        FILETIME local;
        DosDateTimeToFileTime(HIWORD(info.dosDate), LOWORD(info.dosDate), &local);
        LocalFileTimeToFileTime(&local, &file.modified);
        files.push_back(std::move(file));
    }
    unzClose(zip);
    return files;
}
