#pragma once
#include <string>

// UTF-8 form of a UTF-16 text, for doctest's failure messages (doctest prints no wide strings).
std::string Utf8(const std::wstring& text);
