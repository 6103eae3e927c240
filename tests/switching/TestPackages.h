#pragma once
#include "framework/CHandle.h"
#include "TempFolder.h"
#include <map>
#include <string>

// The packages of the in-process switch tests, by id; an id that isn't here is not carried.
extern std::map<unsigned int, std::string> g_packages;
bool FindTestPackage(unsigned int id, const void** data, unsigned long* size);

// Opens a file of the folder for reading, sharing it only as asked, as another program would hold it.
CHandle Hold(const TempFolder& folder, const std::wstring& name, DWORD share = 0);
