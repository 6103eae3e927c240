#pragma once
#include <string>

// The form of a full path that the file functions take whatever its length. From just under
// MAX_PATH on it is the "\\?\" form, which lifts the limit but also every normalisation, so the
// separators become backslashes here; short and relative paths come back as they are.
std::wstring LongPathForm(const std::wstring& path);

// Whether anything (a file or a folder) is at the path, whatever its length.
bool PathExists(const std::wstring& path);
