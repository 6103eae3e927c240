#include "VersionLabel.h"
#include "framework/LongPath.h"
#include <windows.h>
#include <cstdio>
#include <vector>

CString VersionLabelFromFileVersion(CString versionText)
{
    struct Row { const wchar_t* key; const wchar_t* label; const wchar_t* removal; };
    static const Row rows[] = {
        {L"1, 20", L"当前版本:1.20", L"1, 20,"},
        {L"1, 24", L"当前版本:1.24", L"1, 24,"},
        {L"1, 26", L"当前版本:1.26", L"1, 26,"},
    };
    CString label;
    for (const Row& row : rows) {
        if (versionText.Find(row.key) >= 0) {
            label = row.label;
            versionText.Replace(row.removal, L"");
        }
    }
    versionText.Trim();
    if (!versionText.IsEmpty()) {
        switch (versionText.GetAt(0)) {
        case L'1': label += L"B"; break;
        case L'2': label += L"C"; break;
        case L'3': label += L"D"; break;
        case L'4': label += L"E"; break;
        default: break;
        }
    }
    return label;
}

namespace {

// The file's version block. GetFileVersionInfoSize and GetFileVersionInfo would each load the file
// again; once is enough, and it is on the way to the window.
bool ReadVersionBlock(const CString& path, std::vector<BYTE>& block)
{
    HMODULE module = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return false;
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const BYTE* data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    DWORD size = found ? SizeofResource(module, found) : 0;
    if (data && size) block.assign(data, data + size);
    FreeLibrary(module);
    return !block.empty();
}

} // namespace

CString DetectInstalledVersion(CString path)
{
    CString versionText;
    path = LongPathForm(path.Str()).c_str();
    std::vector<BYTE> block;
    if (ReadVersionBlock(path, block)) {
        struct Translation { WORD language; WORD codePage; };
        Translation* translations = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                            reinterpret_cast<void**>(&translations), &length)
            || !translations || length < sizeof(Translation))
            return CString();
        wchar_t query[64];
        swprintf(query, 64, L"\\StringFileInfo\\%04x%04x\\FileVersion",
                 translations[0].language, translations[0].codePage);
        wchar_t* value = nullptr;
        UINT valueLength = 0;
        if (!VerQueryValueW(block.data(), query, reinterpret_cast<void**>(&value), &valueLength) || !value)
            return CString();
        // The reported length counts the terminator on some systems and not on others.
        int units = 0;
        while (units < static_cast<int>(valueLength) && value[units]) ++units;
        versionText = CString(value, units);
        versionText.Trim();
    }
    return VersionLabelFromFileVersion(versionText);
}

CString GetDirectoryOfPath(CString path)
{
    int at = path.ReverseFind(L'\\');
    return at < 0 ? CString() : path.Left(at);
}
