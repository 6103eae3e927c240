#pragma once
#include "framework/CString.h"
#include <windows.h>

// Owns one open registry key and closes it when destroyed; move-only. The operations return the
// registry's error codes, ERROR_SUCCESS on success.
class CRegKey {
public:
    CRegKey() = default;
    ~CRegKey() { Close(); }
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;
    CRegKey(CRegKey&& other) noexcept : m_hKey(other.m_hKey) { other.m_hKey = nullptr; }
    CRegKey& operator=(CRegKey&& other) noexcept;

    operator HKEY() const { return m_hKey; }

    // Opens the key, creating it and any keys above it that are missing.
    LONG Create(HKEY parent, const wchar_t* name, REGSAM access = KEY_READ | KEY_WRITE);
    LONG Open(HKEY parent, const wchar_t* name, REGSAM access = KEY_READ | KEY_WRITE);
    LONG Close();

    // A null name is the key's default value.
    LONG SetStringValue(const wchar_t* name, const wchar_t* value);
    // A string value (REG_SZ or REG_EXPAND_SZ, unexpanded) without its terminators; any other
    // type is ERROR_INVALID_DATA, and one longer than the registry keeps in memory ERROR_MORE_DATA.
    LONG QueryStringValue(const wchar_t* name, CString* value) const;
    LONG DeleteValue(const wchar_t* name);
    // Whether the key holds neither values nor subkeys; false when that cannot be told.
    bool IsEmpty() const;
    // Deletes the subkey with everything below it; a subkey that is not there is ERROR_SUCCESS.
    LONG RecurseDeleteKey(const wchar_t* name);

private:
    HKEY m_hKey = nullptr;
};
