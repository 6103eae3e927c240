#pragma once
#include <string>

// UTF-8 form of a UTF-16 text, for doctest's failure messages (doctest prints no wide strings).
std::string Utf8(const std::wstring& text);
// The ANSI code page's form, for the narrow paths that the unzip library takes.
std::string Ansi(const std::wstring& text);
