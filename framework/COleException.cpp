#include "framework/COleException.h"

CString COleException::GetErrorMessage() const
{
    wchar_t* text = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, static_cast<DWORD>(m_sc), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    CString message = length ? CString(text, static_cast<int>(length)) : CString();
    if (text) LocalFree(text);
    message.Trim();
    if (message.GetLength() == 0) {
        wchar_t code[32];
        wsprintfW(code, L"0x%08lX", static_cast<unsigned long>(m_sc));
        message = CString(L"OLE 调用失败：") + code;
    }
    return message;
}

void AfxThrowOleException(HRESULT sc)
{
    throw COleException(sc);
}
