#include "zip/ZipEntryTimes.h"

bool DosDateTimeToSystemTime(DWORD dosDateTime, SYSTEMTIME& time)
{
    WORD date = HIWORD(dosDateTime), clock = LOWORD(dosDateTime);
    time = SYSTEMTIME{};
    time.wYear = static_cast<WORD>((date >> 9) + 1980);
    time.wMonth = static_cast<WORD>((date >> 5) & 15);
    time.wDay = static_cast<WORD>(date & 31);
    time.wHour = static_cast<WORD>(clock >> 11);
    time.wMinute = static_cast<WORD>((clock >> 5) & 63);
    time.wSecond = static_cast<WORD>((clock & 31) * 2);
    if (time.wMonth < 1 || time.wMonth > 12 || time.wDay < 1 || time.wHour > 23 || time.wMinute > 59 || time.wSecond > 59)
        return false;
    static const WORD days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (time.wDay > days[time.wMonth - 1]) return false;
    bool leap = (time.wYear % 4 == 0 && time.wYear % 100 != 0) || time.wYear % 400 == 0;
    return !(time.wMonth == 2 && time.wDay == 29 && !leap);
}

FILETIME DosDateTimeToUtc(DWORD dosDateTime)
{
    SYSTEMTIME local;
    FILETIME localTime{}, utc{};
    if (!DosDateTimeToSystemTime(dosDateTime, local) || !SystemTimeToFileTime(&local, &localTime)) {
        local = SYSTEMTIME{};
        local.wYear = 1980;
        local.wMonth = 1;
        local.wDay = 1;
        SystemTimeToFileTime(&local, &localTime);
    }
    if (!LocalFileTimeToFileTime(&localTime, &utc)) utc = localTime;
    return utc;
}

FILETIME UnixTimeToFileTime(long long seconds)
{
    unsigned long long ticks = static_cast<unsigned long long>(seconds + 11644473600LL) * 10000000ULL;
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(ticks);
    time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return time;
}

void ApplyExtendedTimes(const unsigned char* extra, size_t length,
                        FILETIME& modified, FILETIME& access, FILETIME& creation)
{
    size_t p = 0;
    while (p + 4 < length) {
        size_t size = extra[p + 2] | (extra[p + 3] << 8);
        if (extra[p] != 'U' || extra[p + 1] != 'T') {
            p += 4 + size;
            continue;
        }
        size_t end = p + 4 + size < length ? p + 4 + size : length;
        if (size < 1) return;
        unsigned int flags = extra[p + 4];
        size_t at = p + 5;
        FILETIME* targets[] = {&modified, &access, &creation};
        for (int bit = 0; bit < 3; ++bit) {
            if (!(flags & (1u << bit))) continue;
            if (at + 4 > end) return;
            unsigned long raw = extra[at] | (extra[at + 1] << 8) | (extra[at + 2] << 16) | (static_cast<unsigned long>(extra[at + 3]) << 24);
            *targets[bit] = UnixTimeToFileTime(static_cast<long>(static_cast<int>(raw)));
            at += 4;
        }
        return;
    }
}
