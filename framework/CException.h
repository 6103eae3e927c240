#pragma once
#include "framework/CString.h"

// Base of the framework's exceptions; thrown by value, caught by reference.
class CException {
public:
    virtual ~CException() = default;
    // The text of the standard error box.
    virtual CString GetErrorMessage() const;
    // Shows the standard error box (stop icon, application name as caption).
    int ReportError(unsigned int type = 0x10 /* MB_ICONSTOP */) const;
};

// An argument the callee cannot use, such as a malformed rectangle text.
class CInvalidArgException : public CException {
public:
    CString GetErrorMessage() const override;
};

// An allocation that failed.
class CMemoryException : public CException {
public:
    CString GetErrorMessage() const override;
};

[[noreturn]] void AfxThrowInvalidArgException();
[[noreturn]] void AfxThrowMemoryException();
