#pragma once
#include "framework/CString.h"
#include "switching/PackageListing.h"
#include "switching/VersionSwitch.h"
#include <map>
#include <functional>
#include <vector>

// A game file of a variant that does not hold its package's data, and how.
struct DifferingFile {
    CString name;
    bool missing;  // else present with other contents
};

// The version a start shows, and what the record was told.
struct LabelDecision {
    CString label;
    const VersionVariant* unmatched = nullptr;  // the recorded variant, when its files are not all its own
    std::vector<DifferingFile> differing;       // ... and those files
    bool recorded = false;                      // the record was written
};

// Which variant the game folder holds, told from its files and the packages' entries: size and
// last-write time first (a switch gives every file its entry's time, and copying keeps it), the
// CRC-32 only where the size agrees and the time does not. No file is read twice.
class InstalledVersion {
public:
    explicit InstalledVersion(const CString& gameDir, PackageFinder find = FindVersionPackage);

    // Whether every file of the variant holds its data; those that do not are listed. Without
    // reading contents, a file whose time differs counts as not matching.
    bool Matches(const VersionVariant& variant, std::vector<DifferingFile>* differing = nullptr, bool readContents = true);
    // The first variant whose files all match; null when none does.
    const VersionVariant* Identify();
    // The recorded label while its files are all in place; else the variant the files are; else
    // what game.dll's version says (detect, called only then: reading it costs a start-up more
    // than the rest of the decision). The record follows a label that differs from it, but only
    // when the caller holds the folder's lock (mayRecord).
    LabelDecision DecideLabel(const CString& record, const std::function<CString()>& detect, bool mayRecord);
    // The variant whose label this is; null for any other text.
    static const VersionVariant* VariantOfLabel(const CString& label);

private:
    struct FileState {
        bool read = false;
        bool exists = false;
        unsigned long long size = 0;
        FILETIME modified{};
        bool crcKnown = false;
        bool crcRead = false;
        DWORD crc = 0;
    };
    FileState& State(const CString& name);
    std::vector<PackageEntry> FilesOf(const VersionVariant& variant);

    CString m_gameDir;
    PackageFinder m_find;
    std::map<std::wstring, FileState> m_files;
    std::map<unsigned int, std::vector<PackageEntry>> m_packages;
};
