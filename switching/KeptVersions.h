#pragma once
#include "switching/FileStamps.h"
#include "switching/GameFolder.h"
#include "switching/PackageListing.h"
#include <windows.h>

// The files a switch displaced that belong to a version the launcher carries, kept by content in
// a hidden folder of the game folder (same volume, below its top level, so the game never sees
// them), each content once; a later switch back renames them into its staging instead of
// extracting them again. Deleting the folder at any time costs nothing but that speed.
class KeptVersions {
public:
    static const wchar_t kFolder[];
    static const unsigned long long kDefaultLimit = 300ull * 1024 * 1024;

    // limit: bytes the folder may hold; reserve: free bytes the volume must keep beside it, so
    // that keeping never makes the next switch's room check fail. stamps: where kept files are
    // recorded, and a kept file whose stamp still matches needs no reading before it is taken.
    KeptVersions(const GameFolder& folder, unsigned long long limit = kDefaultLimit, unsigned long long reserve = 0,
                 FileStamps* stamps = nullptr);

    // Moves a displaced file of this content in; false when it is not kept (the content is kept
    // already, or it would pass the limit or the reserve): the caller removes it then.
    bool Keep(const std::wstring& path, DWORD crc);
    // Moves the entry's content over target with the entry's times, once its contents are checked
    // whole (size and CRC, or its stamp, never size and time alone); false when there is no such content.
    bool Take(const PackageEntry& entry, const std::wstring& target);

private:
    std::wstring PathOf(unsigned long long size, DWORD crc) const;
    unsigned long long Used();

    GameFolder m_folder;
    unsigned long long m_limit;
    unsigned long long m_reserve;
    FileStamps* m_stamps;
    unsigned long long m_used = 0;
    bool m_counted = false;
    unsigned long long m_free = 0;
    bool m_freeKnown = false;
};
