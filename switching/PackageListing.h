#pragma once
#include "framework/CString.h"
#include <vector>

struct PackageEntry {
    CString name;
    unsigned long long uncompressedSize = 0;
    bool folder = false;
};

// Reads the names (as extraction will write them, empty when refused), sizes and kinds of the
// entries of a ZIP archive held in memory, without writing anything; false when it is no
// readable archive or an entry of it cannot be read.
bool ListPackageEntries(const void* data, size_t size, std::vector<PackageEntry>& entries);
