#include "framework/CException.h"
#include "framework/CWinApp.h"

CString CException::GetErrorMessage() const
{
    return L"发生了未知错误。";
}

int CException::ReportError(unsigned int type) const
{
    return AfxMessageBox(GetErrorMessage(), type);
}

CString CInvalidArgException::GetErrorMessage() const
{
    return L"遇到了无效参数。";
}

CString CMemoryException::GetErrorMessage() const
{
    return L"内存不足。";
}

void AfxThrowInvalidArgException()
{
    throw CInvalidArgException();
}

void AfxThrowMemoryException()
{
    throw CMemoryException();
}
