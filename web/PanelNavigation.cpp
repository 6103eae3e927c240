#include "web/PanelNavigation.h"
#include <cwctype>

namespace {

std::wstring Lower(std::wstring text)
{
    for (wchar_t& ch : text) ch = static_cast<wchar_t>(std::towlower(ch));
    return text;
}

bool StartsWith(const std::wstring& text, const wchar_t* prefix)
{
    return text.compare(0, std::char_traits<wchar_t>::length(prefix), prefix) == 0;
}

} // namespace

std::wstring WebHostOf(const wchar_t* address)
{
    const std::wstring text = Lower(address ? address : L"");
    size_t start;
    if (StartsWith(text, L"http://")) start = 7;
    else if (StartsWith(text, L"https://")) start = 8;
    else return std::wstring();
    // The control reads a backslash as a slash, so it ends the authority as well.
    const size_t end = text.find_first_of(L"/\\?#", start);
    std::wstring authority = text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
    // "http://ad.example.com@elsewhere/" goes to elsewhere.
    const size_t at = authority.rfind(L'@');
    if (at != std::wstring::npos) authority.erase(0, at + 1);
    return authority.substr(0, authority.find(L':'));
}

bool StaysInPanel(const wchar_t* address, const std::wstring& panelHost, bool topLevel)
{
    if (!topLevel) return true;
    const std::wstring text = Lower(address ? address : L"");
    if (text == L"about:blank" || StartsWith(text, L"res://")) return true;
    return IsPanelPage(address, panelHost);
}

bool IsPanelPage(const wchar_t* address, const std::wstring& panelHost)
{
    const std::wstring host = WebHostOf(address);
    return !host.empty() && host == Lower(panelHost);
}

bool OpensInBrowser(const wchar_t* address)
{
    return !WebHostOf(address).empty();
}
