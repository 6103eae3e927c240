#pragma once
#include <windows.h>
#include <string>
#include <vector>

// One entry of a version package as the test reads it, independently of the launcher.
struct PackageFile {
    std::wstring name;
    std::string data;
    FILETIME modified;  // the entry's DOS time taken as local time, in UTC
};

// All entries of build/packages/<id>.zip, in archive order; empty when it can't be read.
std::vector<PackageFile> ReadPackage(unsigned int id);
