#pragma once
#include <windows.h>

// Hands a program, document or web address to the shell, with no owner window; true when the
// shell took it (a result above 32), else the shell's error code (a system error code for the
// common causes) in error. Null parameters or directory mean none.
bool AfxShellExecute(const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                     const wchar_t* directory, int show, int* error = nullptr);
