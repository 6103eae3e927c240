#pragma once
#include <cstddef>
#include <string>

// Entry names as they come out of an archive and the relative paths that may be written.

// Strict UTF-8 to UTF-16; false for invalid or overlong sequences, surrogates and embedded NULs.
bool DecodeUtf8Name(const char* bytes, size_t length, std::wstring& name);

// The archive's own stripping of drive and parent prefixes, then the refusal of anything
// that could leave the base folder or alias another file: the result is empty when refused.
std::wstring SanitizeEntryName(const std::wstring& name);

// A relative path whose every part names an ordinary file or folder (no "..", ":", device,
// reserved character, trailing dot or space).
bool IsSafeRelativePath(const std::wstring& path);

// Either of the characters Windows takes between the parts of a path.
bool IsSeparator(wchar_t c);

// The folder part of a path with its separator; empty for a plain name.
std::wstring FolderPart(const std::wstring& path);

// "\", "/" or a drive letter: written where it says rather than below the base folder.
bool IsAbsoluteTarget(const wchar_t* path);
