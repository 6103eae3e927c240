#include <doctest/doctest.h>
#include "app/SiteAddress.h"

TEST_CASE("host of an address")
{
    struct Case { const wchar_t* address; const wchar_t* host; };
    const Case cases[] = {
        {L"http://www.kelvadi.com/", L"www.kelvadi.com"},
        {L"http://www.kelvadi.com", L"www.kelvadi.com"},
        {L"https://kelvadi.com:8080/", L"kelvadi.com"},
        {L"http://kelvadi.com?x#y", L"kelvadi.com"},
        {L"www.kelvadi.com", L""},
        {L"://www.kelvadi.com/", L""},
        {L"", L""},
    };
    for (const Case& c : cases) CHECK(HostOfAddress(c.address) == CString(c.host));
}
