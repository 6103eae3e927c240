#include "skin/RectText.h"
#include "framework/CException.h"
#include <cwchar>

int SplitFields(const CString& text, CStringArray& fields)
{
    fields.RemoveAll();
    const int length = text.GetLength();
    int position = 0;
    while (position < length) {
        int comma = text.Find(L",", position);
        if (comma < 0) {
            fields.Add(text.Mid(position));
            break;
        }
        fields.Add(CString(static_cast<const wchar_t*>(text) + position, comma - position));
        position = comma + 1;
    }
    return fields.GetSize();
}

int ParseDecimal(const CString& text)
{
    // long is 32 bits on Windows, so wcstol's own clamping is the 32-bit one.
    return static_cast<int>(std::wcstol(text, nullptr, 10));
}

RECT ParseRect(CString text)
{
    CStringArray fields;
    if (SplitFields(text, fields) < 4) AfxThrowInvalidArgException();
    int values[4];
    for (int i = 0; i < 4; ++i) values[i] = ParseDecimal(fields[i].Trim());
    return RECT{values[0], values[1], values[2], values[3]};
}
