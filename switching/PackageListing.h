#pragma once
#include "framework/CString.h"
#include <vector>

struct PackageEntry {
    CString name;
    unsigned long long uncompressedSize = 0;
};

// Reads the names (as extraction will write them, empty when refused) and sizes of a ZIP
// archive held in memory, without writing anything; false when it is no readable archive.
bool ListPackageEntries(const void* data, size_t size, std::vector<PackageEntry>& entries);
