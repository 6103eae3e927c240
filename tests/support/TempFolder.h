#pragma once
#include <optional>
#include <string>

// Owns a fresh, empty folder for one test and removes it with everything in it on destruction.
// Declare it before any Process that runs in it, so the process ends before its files are removed.
class TempFolder {
public:
    // A new folder under root, or under the Wine temp folder when root is empty.
    explicit TempFolder(const std::wstring& root = std::wstring());
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    bool IsValid() const { return !path_.empty(); }
    // Full path without a trailing backslash; empty when the folder could not be made.
    const std::wstring& Path() const { return path_; }
    std::wstring PathOf(const std::wstring& relative) const;

    // Copies source into the folder as name (its own file name when name is empty).
    bool CopyIn(const std::wstring& source, const std::wstring& name = std::wstring()) const;
    bool Write(const std::wstring& name, const std::string& bytes) const;
    std::optional<std::string> Read(const std::wstring& name) const;
    bool Exists(const std::wstring& name) const;
    bool MakeFolder(const std::wstring& name) const;

    // Removes the folder now (also done by the destructor); false if anything was left.
    bool Remove();

private:
    std::wstring path_;
};

// The whole file at once; false, or nothing, when it can't be written or read in full.
bool WriteWholeFile(const std::wstring& path, const std::string& bytes);
std::optional<std::string> ReadWholeFile(const std::wstring& path);
// Removes a folder and everything below it, whatever their attributes; true when it is gone.
bool RemoveTree(const std::wstring& path);
