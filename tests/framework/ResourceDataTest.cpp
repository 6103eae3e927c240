#include "framework/ResourceData.h"
#include "TempFolder.h"
#include <doctest/doctest.h>
#include <cstring>
#include <optional>
#include <string>

TEST_CASE("a resource's bytes are found by name and type, and nothing is found for a missing one")
{
    unsigned long size = 0;
    const void* data = LoadResourceData(nullptr, MAKEINTRESOURCEW(200), RT_DIALOG, &size);
    REQUIRE(data != nullptr);
    // An extended template begins with its version, 1, and the signature 0xFFFF.
    const WORD expected[] = {1, 0xFFFF};
    REQUIRE(size > sizeof expected);
    CHECK(std::memcmp(data, expected, sizeof expected) == 0);

    // Dialog 201 is a plain template: another resource, not the first one found of the type.
    unsigned long plainSize = 0;
    const void* plain = LoadResourceData(nullptr, MAKEINTRESOURCEW(201), RT_DIALOG, &plainSize);
    REQUIRE(plain != nullptr);
    CHECK(static_cast<const WORD*>(plain)[1] != 0xFFFF);

    unsigned long missingSize = 123;
    CHECK(LoadResourceData(nullptr, MAKEINTRESOURCEW(200), RT_BITMAP, &missingSize) == nullptr);
    CHECK(missingSize == 0);
    CHECK(LoadResourceData(nullptr, MAKEINTRESOURCEW(999), RT_DIALOG, &missingSize) == nullptr);
}

TEST_CASE("a resource's bytes are found in the program's file; other memory is not")
{
    unsigned long size = 0;
    const void* resource = LoadResourceData(nullptr, MAKEINTRESOURCEW(200), RT_DIALOG, &size);
    REQUIRE(resource != nullptr);
    static int writable = 1;
    const std::string heap(64, 'x');
    const struct {
        std::string name;
        const void* data;
        unsigned long long size;
        bool found;
    } rows[] = {
        {"a resource", resource, size, true},
        {"a resource, with more than the resources hold", resource, 1ULL << 40, false},
        {"a writable variable", &writable, sizeof writable, false},
        {"the heap", heap.data(), heap.size(), false},
    };
    for (const auto& row : rows) {
        CAPTURE(row.name);
        wchar_t path[MAX_PATH] = L"";
        unsigned long long offset = 0;
        REQUIRE(ResourceFileRange(row.data, row.size, path, &offset) == row.found);
        if (!row.found) continue;
        std::optional<std::string> file = ReadWholeFile(path);
        REQUIRE(file);
        REQUIRE(offset + size <= file->size());
        CHECK(std::memcmp(file->data() + offset, resource, size) == 0);
    }
}
