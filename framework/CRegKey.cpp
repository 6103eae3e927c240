#include "framework/CRegKey.h"
#include <vector>

namespace {

// Deeper than any key the program writes; a cycle of links cannot recurse for ever.
const int kDeepestDelete = 32;
// More than any path or class name the program stores.
const DWORD kLongestString = 64 * 1024;

LONG DeleteTree(HKEY parent, const wchar_t* name, int depth)
{
    if (depth > kDeepestDelete) return ERROR_CANTOPEN;
    CRegKey key;
    LONG status = key.Open(parent, name, KEY_READ | KEY_WRITE);
    if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
    if (status != ERROR_SUCCESS) return status;
    // Subkeys are named afresh each round: deleting one renumbers the rest.
    for (;;) {
        wchar_t child[256];
        DWORD length = sizeof child / sizeof child[0];
        status = RegEnumKeyExW(key, 0, child, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS) return status;
        status = DeleteTree(key, child, depth + 1);
        if (status != ERROR_SUCCESS) return status;
    }
    key.Close();
    return RegDeleteKeyW(parent, name);
}

} // namespace

CRegKey& CRegKey::operator=(CRegKey&& other) noexcept
{
    if (this != &other) {
        Close();
        m_hKey = other.m_hKey;
        other.m_hKey = nullptr;
    }
    return *this;
}

LONG CRegKey::Create(HKEY parent, const wchar_t* name, REGSAM access)
{
    Close();
    return RegCreateKeyExW(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &m_hKey, nullptr);
}

LONG CRegKey::Open(HKEY parent, const wchar_t* name, REGSAM access)
{
    Close();
    LONG status = RegOpenKeyExW(parent, name, 0, access, &m_hKey);
    if (status != ERROR_SUCCESS) m_hKey = nullptr;
    return status;
}

LONG CRegKey::Close()
{
    HKEY key = m_hKey;
    m_hKey = nullptr;
    return key ? RegCloseKey(key) : ERROR_SUCCESS;
}

LONG CRegKey::SetStringValue(const wchar_t* name, const wchar_t* value)
{
    DWORD bytes = static_cast<DWORD>((lstrlenW(value) + 1) * sizeof(wchar_t));
    return RegSetValueExW(m_hKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), bytes);
}

LONG CRegKey::QueryStringValue(const wchar_t* name, CString* value) const
{
    *value = CString();
    DWORD type = 0;
    DWORD bytes = 0;
    LONG status = RegQueryValueExW(m_hKey, name, nullptr, &type, nullptr, &bytes);
    if (status != ERROR_SUCCESS) return status;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_DATA;
    if (bytes > kLongestString) return ERROR_MORE_DATA;
    // Room for a terminator that the stored value may lack.
    std::vector<wchar_t> text(bytes / sizeof(wchar_t) + 1, L'\0');
    status = RegQueryValueExW(m_hKey, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &bytes);
    if (status != ERROR_SUCCESS) return status;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_DATA;
    int length = 0;
    const int stored = static_cast<int>(bytes / sizeof(wchar_t));
    while (length < stored && length + 1 < static_cast<int>(text.size()) && text[length]) ++length;
    *value = CString(text.data(), length);
    return ERROR_SUCCESS;
}

LONG CRegKey::DeleteValue(const wchar_t* name)
{
    return RegDeleteValueW(m_hKey, name);
}

bool CRegKey::IsEmpty() const
{
    DWORD subkeys = 0;
    DWORD values = 0;
    return RegQueryInfoKeyW(m_hKey, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                            nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
           subkeys == 0 && values == 0;
}

LONG CRegKey::RecurseDeleteKey(const wchar_t* name)
{
    return DeleteTree(m_hKey, name, 0);
}
