#include "switching/GameFolder.h"
#include "framework/LongPath.h"
#include <windows.h>

std::wstring GameFolder::Path(const std::wstring& relative) const
{
    return LongPathForm(Shown(relative).Str());
}

CString GameFolder::Shown(const std::wstring& relative) const
{
    return m_dir + L"\\" + relative.c_str();
}

bool GameFolder::Exists(const std::wstring& relative) const
{
    return PathExists(Path(relative));
}

bool GameFolder::FreeSpace(unsigned long long* bytes) const
{
    ULARGE_INTEGER free{};
    if (!GetDiskFreeSpaceExW(Path(std::wstring()).c_str(), &free, nullptr, nullptr)) return false;
    *bytes = free.QuadPart;
    return true;
}
