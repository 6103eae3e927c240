#include "TestArchive.h"
#include "zip/ZipEntryTimes.h"
#include <doctest/doctest.h>

namespace {

FILETIME Marker(DWORD value)
{
    FILETIME t;
    t.dwLowDateTime = value;
    t.dwHighDateTime = 0;
    return t;
}

struct Times {
    FILETIME modified = Marker(1), access = Marker(2), creation = Marker(3);
    void Apply(const std::string& extra)
    {
        ApplyExtendedTimes(reinterpret_cast<const unsigned char*>(extra.data()), extra.size(), modified, access, creation);
    }
};

const unsigned long long kUnixEpoch = 116444736000000000ULL;

} // namespace

TEST_CASE("DOS stamps are read field by field and refused when not a calendar value")
{
    SYSTEMTIME t;
    REQUIRE(DosDateTimeToSystemTime(DosStamp(2014, 4, 20, 17, 31, 34), t));
    CHECK(t.wYear == 2014);
    CHECK(t.wMonth == 4);
    CHECK(t.wDay == 20);
    CHECK(t.wHour == 17);
    CHECK(t.wMinute == 31);
    CHECK(t.wSecond == 34);
    CHECK(DosDateTimeToSystemTime(DosStamp(2000, 2, 29, 0, 0, 0), t));
    uint32_t invalid[] = {
        DosStamp(2014, 0, 1, 0, 0, 0), DosStamp(2014, 13, 1, 0, 0, 0), DosStamp(2014, 4, 0, 0, 0, 0),
        DosStamp(2014, 4, 31, 0, 0, 0), DosStamp(2014, 2, 29, 0, 0, 0), DosStamp(2014, 4, 20, 24, 0, 0),
        DosStamp(2014, 4, 20, 23, 60, 0), DosStamp(2014, 4, 20, 23, 59, 60), 0,
    };
    for (uint32_t stamp : invalid) {
        CAPTURE(stamp);
        CHECK_FALSE(DosDateTimeToSystemTime(stamp, t));
    }
}

TEST_CASE("Unix seconds, negative ones included, become file times")
{
    CHECK(Ticks(UnixTimeToFileTime(0)) == kUnixEpoch);
    CHECK(Ticks(UnixTimeToFileTime(1398014494)) == kUnixEpoch + 1398014494ULL * 10000000ULL);
    CHECK(Ticks(UnixTimeToFileTime(-86400)) == kUnixEpoch - 864000000000ULL);
}

TEST_CASE("UT blocks: times without a modification, cut short, repeated or oddly sized")
{
    SUBCASE("access and creation without modification")
    {
        Times t;
        t.Apply(ExtraBlock("UT", "\x06" + Le32(20) + Le32(30)));
        CHECK(Ticks(t.modified) == 1);
        CHECK(Ticks(t.access) == kUnixEpoch + 200000000ULL);
        CHECK(Ticks(t.creation) == kUnixEpoch + 300000000ULL);
    }
    SUBCASE("a time past its own block is not taken from the next block")
    {
        Times t;
        t.Apply(ExtraBlock("UT", "\x03" + Le32(10)) + ExtraBlock("zz", Le32(99)));
        CHECK(Ticks(t.modified) == kUnixEpoch + 100000000ULL);
        CHECK(Ticks(t.access) == 2);
    }
    SUBCASE("only the first UT block counts; a field of four bytes is not walked")
    {
        Times t;
        t.Apply(ExtraBlock("UT", "\x01" + Le32(10)) + ExtraBlock("UT", "\x01" + Le32(50)));
        CHECK(Ticks(t.modified) == kUnixEpoch + 100000000ULL);
        Times shortField;
        shortField.Apply(std::string("UT\x05\x00", 4));
        CHECK(Ticks(shortField.modified) == 1);
    }
    SUBCASE("a block size running past the field ends the walk")
    {
        Times t;
        t.Apply(std::string("xx\xff\xff", 4) + "ab" + ExtraBlock("UT", "\x01" + Le32(10)));
        CHECK(Ticks(t.modified) == 1);
    }
}
