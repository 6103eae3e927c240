#!/bin/sh
# Fails when the executable imports a function that Windows XP SP3 lacks, links a
# non-system DLL, or asks for a newer subsystem than 5.01; and when it loads at start any of the
# DLLs named after it, which it should load only at their first use:
#     check-imports.sh <exe> [dll ...]
set -e
exe="$1"
shift
dump=$(i686-w64-mingw32-objdump -p "$exe")
status=0
echo "$dump" | grep -q "^MajorSubsystemVersion[[:space:]]*5$" || { echo "subsystem major version is not 5"; status=1; }
echo "$dump" | grep -q "^MinorSubsystemVersion[[:space:]]*1$" || { echo "subsystem minor version is not 1"; status=1; }
for fn in GetTickCount64 FlsAlloc FlsGetValue FlsSetValue FlsFree InitializeSRWLock AcquireSRWLockExclusive \
    AcquireSRWLockShared InitializeConditionVariable SleepConditionVariableCS SleepConditionVariableSRW \
    WakeConditionVariable WakeAllConditionVariable InitOnceExecuteOnce InitializeCriticalSectionEx \
    CreateEventExW CreateMutexExW CreateSemaphoreExW GetSystemTimePreciseAsFileTime CompareStringEx \
    LCMapStringEx GetLocaleInfoEx LocaleNameToLCID GetUserDefaultLocaleName CreateSymbolicLinkW \
    GetFinalPathNameByHandleW GetFileInformationByHandleEx SetFileInformationByHandle \
    RegisterApplicationRestart RegGetValueW TaskDialog TaskDialogIndirect SHGetKnownFolderPath \
    K32GetProcessMemoryInfo GetLogicalProcessorInformation SetThreadErrorMode GetErrorMode \
    _wfopen_s wcscpy_s wcsncpy_s _snwprintf_s strcpy_s memcpy_s; do
    if echo "$dump" | grep -Eq "^[[:space:]]+[0-9a-f]+[[:space:]]+[0-9]+[[:space:]]+$fn$"; then
        echo "imports $fn, which Windows XP lacks"
        status=1
    fi
done
for dll in $(echo "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
    case $(echo "$dll" | tr 'A-Z' 'a-z') in
    kernel32.dll|user32.dll|gdi32.dll|msimg32.dll|version.dll|shell32.dll|comctl32.dll|ole32.dll|oleaut32.dll|advapi32.dll|msvcrt.dll|shlwapi.dll|uxtheme.dll|psapi.dll) ;;
    *) echo "imports $dll, which is not a system DLL"; status=1 ;;
    esac
done
for later in "$@"; do
    if echo "$dump" | grep -iq "^[[:space:]]*DLL Name: $later$"; then
        echo "loads $later at start, before its first use"
        status=1
    fi
done
[ $status -eq 0 ] && echo "imports: $(echo "$dump" | grep -c '^[[:space:]]*DLL Name:') system DLLs, nothing newer than XP"
exit $status
