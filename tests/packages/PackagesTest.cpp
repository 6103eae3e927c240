#include <doctest/doctest.h>
TEST_CASE("placeholder") { CHECK(true); }
