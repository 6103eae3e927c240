#include "TestPackages.h"

std::map<unsigned int, std::string> g_packages;

bool FindTestPackage(unsigned int id, const void** data, unsigned long* size)
{
    auto found = g_packages.find(id);
    if (found == g_packages.end()) return false;
    *data = found->second.data();
    *size = static_cast<unsigned long>(found->second.size());
    return true;
}

CHandle Hold(const TempFolder& folder, const std::wstring& name, DWORD share)
{
    return CHandle(CreateFileW(folder.PathOf(name).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr));
}
