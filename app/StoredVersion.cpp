#include "app/StoredVersion.h"
#include "framework/CHandle.h"

namespace {

const wchar_t kSection[] = L"GameMain";
const wchar_t kKey[] = L"BanBen";

CString IniPath(const CString& gameDir)
{
    return gameDir + L"\\wargame.ini";
}

// The profile functions keep a file Unicode only when it already starts with a UTF-16
// byte-order mark; creating it so keeps "当前版本" intact under code pages without Chinese.
void CreateUnicodeIniIfMissing(const CString& path)
{
    CHandle file(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    const BYTE bom[2] = {0xFF, 0xFE};
    DWORD written = 0;
    WriteFile(file, bom, sizeof bom, &written, nullptr);
}

} // namespace

CString ReadStoredVersion(const CString& gameDir)
{
    wchar_t stored[260] = L"";
    GetPrivateProfileStringW(kSection, kKey, L"", stored, 260, IniPath(gameDir));
    return stored;
}

void WriteStoredVersion(const CString& gameDir, const CString& label)
{
    CString path = IniPath(gameDir);
    CreateUnicodeIniIfMissing(path);
    WritePrivateProfileStringW(kSection, kKey, label, path);
}
