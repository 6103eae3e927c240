#include "framework/CString.h"
#include "framework/CStringArray.h"
#include <doctest/doctest.h>

TEST_CASE("texts: find, replace every occurrence, trims, left and mid")
{
    CString text(L"  当前版本:1.24E \t\r\n");
    CHECK(text.Find(L"1.24") == 7);
    CHECK(text.Find(L"1.24", 8) == -1);
    CHECK(text.Find(L"x") == -1);
    CHECK(CString(text).Trim() == CString(L"当前版本:1.24E"));
    CHECK(CString(text).TrimLeft().GetAt(0) == L'当');
    CString many(L"a,,b,,c");
    CHECK(many.Replace(L",,", L",") == 2);
    CHECK(many == CString(L"a,b,c"));
    CString growing(L"aa");
    CHECK(growing.Replace(L"a", L"aa") == 2);
    CHECK(growing == CString(L"aaaa"));
    CHECK(CString(L"abc").Left(10) == CString(L"abc"));
    CHECK(CString(L"abc").Left(-1).IsEmpty());
    CHECK(CString(L"abc").Mid(5).IsEmpty());
    CHECK(CString(L"abc").Mid(-2) == CString(L"abc"));
    CHECK(CString(L"C:\\a\\b").ReverseFind(L'\\') == 4);
    CHECK(CString(L"a") + L"b" + CString(L"c") == CString(L"abc"));
}

TEST_CASE("text arrays keep order and give empty text out of range")
{
    CStringArray fields;
    CHECK(fields.Add(L"440") == 0);
    fields.Add(L" 2");
    CHECK(fields.GetSize() == 2);
    CHECK(fields[1] == CString(L" 2"));
    CHECK(fields.GetAt(2).IsEmpty());
    CHECK(fields.GetAt(-1).IsEmpty());
    fields.RemoveAll();
    CHECK(fields.IsEmpty());
}
