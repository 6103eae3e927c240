#pragma once
#include "framework/CException.h"
#include <windows.h>

// A failed call on a COM object, such as an automation call on a hosted control.
class COleException : public CException {
public:
    explicit COleException(HRESULT sc) : m_sc(sc) {}
    CString GetErrorMessage() const override;
    HRESULT m_sc;
};

[[noreturn]] void AfxThrowOleException(HRESULT sc);
