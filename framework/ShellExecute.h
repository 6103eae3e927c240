#pragma once
#include <windows.h>

// Hands a program, document or web address to the shell, with no owner window; true when the
// shell took it (a result above 32). Null parameters or directory mean none.
bool AfxShellExecute(const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                     const wchar_t* directory, int show);
