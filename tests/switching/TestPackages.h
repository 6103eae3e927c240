#pragma once
#include <map>
#include <string>

// The packages of the in-process switch tests, by id; an id that isn't here is not carried.
extern std::map<unsigned int, std::string> g_packages;
bool FindTestPackage(unsigned int id, const void** data, unsigned long* size);
