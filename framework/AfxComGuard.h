#pragma once
#include "framework/CWnd.h"
#include <windows.h>

// Runs the body of a COM method that a hosted control calls: no C++ exception may unwind into
// the caller, so one is reported as the window procedure reports it and the call fails.
template <class Body>
HRESULT AfxComGuard(Body&& body) noexcept
{
    try {
        return body();
    } catch (...) {
        AfxReportCurrentException();
        return E_UNEXPECTED;
    }
}
