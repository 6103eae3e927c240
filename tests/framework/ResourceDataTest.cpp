#include "framework/ResourceData.h"
#include <doctest/doctest.h>
#include <cstring>

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
