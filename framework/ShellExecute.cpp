#include "framework/ShellExecute.h"
#include <shellapi.h>

bool AfxShellExecute(const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                     const wchar_t* directory, int show, int* error)
{
    INT_PTR result = reinterpret_cast<INT_PTR>(::ShellExecuteW(nullptr, verb, file, parameters, directory, show));
    if (error) *error = result > 32 ? 0 : static_cast<int>(result);
    return result > 32;
}
