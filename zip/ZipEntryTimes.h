#pragma once
#include <windows.h>
#include <cstddef>

// File times of an entry: its DOS stamp read as local time, and the "UT" extra block.

// The DOS date (high 16 bits) and time (low 16 bits) as a calendar value; false when either
// is not a valid calendar value.
bool DosDateTimeToSystemTime(DWORD dosDateTime, SYSTEMTIME& time);

// The DOS stamp as UTC. An invalid stamp gives the DOS epoch, 1980-01-01 00:00 local time,
// so that a damaged entry still gets defined times.
FILETIME DosDateTimeToUtc(DWORD dosDateTime);

FILETIME UnixTimeToFileTime(long long seconds);

// Applies the times of the first "UT" block of a local extra field. A time that is not
// entirely inside both its block and the field is not read, and the walk ends there.
void ApplyExtendedTimes(const unsigned char* extra, size_t length,
                        FILETIME& modified, FILETIME& access, FILETIME& creation);
