#include "framework/ShellExecute.h"
#include <shellapi.h>

bool AfxShellExecute(const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                     const wchar_t* directory, int show)
{
    HINSTANCE result = ::ShellExecuteW(nullptr, verb, file, parameters, directory, show);
    return reinterpret_cast<INT_PTR>(result) > 32;
}
