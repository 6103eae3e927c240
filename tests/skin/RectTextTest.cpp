#include "framework/CException.h"
#include "skin/RectText.h"
#include <doctest/doctest.h>
#include <string>

TEST_CASE("SplitFields: commas only, empty fields kept, a final comma opens none")
{
    const std::pair<const wchar_t*, std::wstring> cases[] = {
        {L"", L""}, {L",", L"[]"}, {L"1,,3,4", L"[1][][3][4]"}, {L",2,3,4", L"[][2][3][4]"},
        {L"1,2,3,4,", L"[1][2][3][4]"}, {L" 440, 2 ,x", L"[ 440][ 2 ][x]"}, {L"a,,", L"[a][]"},
    };
    for (const auto& [text, expected] : cases) {
        CStringArray fields;
        fields.Add(L"stale");
        int count = SplitFields(text, fields);
        std::wstring joined;
        for (int i = 0; i < fields.GetSize(); ++i) joined += L"[" + fields[i].Str() + L"]";
        CHECK(count == fields.GetSize());
        CHECK(joined == expected);
    }
}

TEST_CASE("ParseRect: four trimmed decimal fields, unordered; fewer fields throw")
{
    const std::pair<const wchar_t*, RECT> cases[] = {
        {L"440, 2, 469, 25", {440, 2, 469, 25}}, {L"330,155,432,124", {330, 155, 432, 124}},
        {L"1,2,3,4,5", {1, 2, 3, 4}}, {L"1,,3,4", {1, 0, 3, 4}}, {L",2,3,4,", {0, 2, 3, 4}},
        {L"-5,+7,\t10 ,20\n", {-5, 7, 10, 20}}, {L"12abc,x,y,z", {12, 0, 0, 0}},
        {L"99999999999,-99999999999,0,0", {2147483647, -2147483647 - 1, 0, 0}},
    };
    for (const auto& [text, expected] : cases) {
        CAPTURE(std::wstring(text));
        RECT r = ParseRect(text);
        CHECK(EqualRect(&r, &expected));
    }
    for (const wchar_t* text : {L"1,2,3", L"1,2,3,", L"", L",,"}) CHECK_THROWS_AS(ParseRect(text), CInvalidArgException);
}
