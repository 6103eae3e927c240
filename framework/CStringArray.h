#pragma once
#include "framework/CString.h"
#include <vector>

// A growable array of texts.
class CStringArray {
public:
    int GetSize() const { return static_cast<int>(m_items.size()); }
    bool IsEmpty() const { return m_items.empty(); }
    int Add(const CString& item) { m_items.push_back(item); return GetSize() - 1; }
    void RemoveAll() { m_items.clear(); }
    // Out-of-range indexes give an empty text rather than undefined behaviour.
    CString GetAt(int index) const { return index >= 0 && index < GetSize() ? m_items[static_cast<size_t>(index)] : CString(); }
    CString operator[](int index) const { return GetAt(index); }

private:
    std::vector<CString> m_items;
};
