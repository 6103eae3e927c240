#pragma once
#include <windows.h>

// Errors that another program's hold on a file explains (a scanner, an indexer, a backup): those
// pass in moments.
inline bool IsHeldError(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
}

// Runs an operation that returns 0 or a system error code until it succeeds, fails for another
// reason, or has run `attempts` times, backing off a little longer each time; its last result.
template <class Operation>
DWORD RetryWhileHeld(int attempts, Operation operation)
{
    for (int attempt = 1;; ++attempt) {
        DWORD error = operation();
        if (error == 0 || attempt >= attempts || !IsHeldError(error)) return error;
        Sleep(25 * attempt);
    }
}
