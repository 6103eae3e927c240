#include "app/SiteAddress.h"

// The build passes both as narrow literals; the empty wide literal makes them UTF-16.
CString HomePageAddress()
{
    return L"" KELVADI_HOME_PAGE;
}

CString AdServerAddress()
{
    return L"" KELVADI_AD_SERVER;
}

CString HostOfAddress(const CString& address)
{
    int scheme = address.Find(L"://");
    if (scheme <= 0) return CString();
    const std::wstring& text = address.Str();
    size_t start = static_cast<size_t>(scheme) + 3;
    size_t end = text.find_first_of(L"/:?#", start);
    return CString(text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
}

CString TitleText()
{
    return CString(L"Kelvadi2.0正式版 ") + HostOfAddress(HomePageAddress());
}
