#include "framework/CException.h"
#include "skin/RectText.h"
#include <doctest/doctest.h>
#include <string>

TEST_CASE("SplitFields: commas only, empty fields kept, a final comma opens none")
{
    struct Case {
        const wchar_t* text;
        std::wstring joined;  // fields joined by '|'
        int count;
    };
    const Case cases[] = {
        {L"", L"", 0},
        {L",", L"", 1},
        {L"1,,3,4", L"1||3|4", 4},
        {L",2,3,4", L"|2|3|4", 4},
        {L"1,2,3,4,", L"1|2|3|4", 4},
        {L" 440, 2 ,x", L" 440| 2 |x", 3},
        {L"a,,", L"a|", 2},
    };
    for (const Case& c : cases) {
        CStringArray fields;
        fields.Add(L"stale");
        CAPTURE(std::wstring(c.text));
        CHECK(SplitFields(c.text, fields) == c.count);
        REQUIRE(fields.GetSize() == c.count);
        std::wstring joined;
        for (int i = 0; i < fields.GetSize(); ++i) joined += (i ? L"|" : L"") + fields[i].Str();
        CHECK(joined == c.joined);
    }
}

TEST_CASE("ParseRect: four trimmed decimal fields, unordered; fewer fields throw")
{
    struct Case {
        const wchar_t* text;
        RECT expected;
    };
    const Case cases[] = {
        {L"440, 2, 469, 25", {440, 2, 469, 25}},
        {L"410,2,439,25", {410, 2, 439, 25}},
        {L"330,155,432,124", {330, 155, 432, 124}},
        {L"1,2,3,4,5", {1, 2, 3, 4}},
        {L"1,,3,4", {1, 0, 3, 4}},
        {L",2,3,4", {0, 2, 3, 4}},
        {L"1,2,3,4,", {1, 2, 3, 4}},
        {L"-5,+7,\t10 ,20\n", {-5, 7, 10, 20}},
        {L"12abc,x,y,z", {12, 0, 0, 0}},
        {L"99999999999,-99999999999,0,0", {2147483647, -2147483647 - 1, 0, 0}},
    };
    for (const Case& c : cases) {
        CAPTURE(std::wstring(c.text));
        RECT r = ParseRect(c.text);
        CHECK(r.left == c.expected.left);
        CHECK(r.top == c.expected.top);
        CHECK(r.right == c.expected.right);
        CHECK(r.bottom == c.expected.bottom);
    }
    for (const wchar_t* text : {L"1,2,3", L"1,2,3,", L"", L",,"}) {
        CAPTURE(std::wstring(text));
        CHECK_THROWS_AS(ParseRect(text), CInvalidArgException);
    }
}
