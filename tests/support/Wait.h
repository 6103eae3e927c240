#pragma once
#include <windows.h>
#include <functional>

// Bounded polling: every wait in the driver ends by its timeout, so a test fails instead of hanging.
constexpr DWORD kDefaultTimeoutMs = 20000;
constexpr DWORD kPollIntervalMs = 20;

// True as soon as the condition holds; false when it still does not after timeoutMs.
// The condition is checked once more at the deadline, so a zero timeout is a single check.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kDefaultTimeoutMs,
               DWORD intervalMs = kPollIntervalMs);
