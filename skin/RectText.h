#pragma once
#include "framework/CString.h"
#include "framework/CStringArray.h"
#include <windows.h>

// Rectangle texts of the skin controls: "left, top, right, bottom" in the parent's client pixels.

// Splits at commas only; empty fields count, a final comma opens no field. Returns the number of fields.
int SplitFields(const CString& text, CStringArray& fields);

// The first four fields as decimal integers, unordered and unchecked; a field without digits gives 0.
// Throws CInvalidArgException when there are fewer than four fields.
RECT ParseRect(CString text);

// A decimal integer as wcstol reads it: blanks skipped, optional sign, digits up to the first other
// character, clamped to the 32-bit range; 0 when there are no digits.
int ParseDecimal(const CString& text);
