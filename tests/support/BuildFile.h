#pragma once
#include <string>

// Full path of a file in the build folder, found from the running test executable
// (build/tests/<name>.exe), so tests need not depend on ctest's working directory.
std::wstring BuildFile(const std::wstring& relative);

// Folder of the running test executable, without a trailing backslash.
std::wstring TestExecutableFolder();
