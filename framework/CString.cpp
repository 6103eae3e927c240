#include "CString.h"
#include <cwctype>

int CString::Find(const wchar_t* sub, int start) const
{
    if (start < 0 || start > GetLength() || !sub) return -1;
    size_t at = m_text.find(sub, static_cast<size_t>(start));
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(wchar_t ch) const
{
    size_t at = m_text.rfind(ch);
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::Replace(const wchar_t* oldText, const wchar_t* newText)
{
    std::wstring from = oldText ? oldText : L"";
    std::wstring to = newText ? newText : L"";
    if (from.empty()) return 0;
    int count = 0;
    size_t at = 0;
    while ((at = m_text.find(from, at)) != std::wstring::npos) {
        m_text.replace(at, from.size(), to);
        at += to.size();
        ++count;
    }
    return count;
}

CString CString::Left(int count) const
{
    if (count <= 0) return CString();
    return CString(m_text.substr(0, static_cast<size_t>(count)));
}

CString CString::Mid(int first) const
{
    if (first >= GetLength()) return CString();
    return CString(m_text.substr(static_cast<size_t>(first < 0 ? 0 : first)));
}

CString& CString::TrimLeft()
{
    size_t i = 0;
    while (i < m_text.size() && std::iswspace(m_text[i])) ++i;
    m_text.erase(0, i);
    return *this;
}

CString& CString::TrimRight()
{
    size_t n = m_text.size();
    while (n > 0 && std::iswspace(m_text[n - 1])) --n;
    m_text.resize(n);
    return *this;
}
