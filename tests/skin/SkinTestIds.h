// Bitmap ids of the skin tests' pictures, shared by SkinTest.rc and the tests.
#pragma once
#define IDB_TEST_NORMAL 101
#define IDB_TEST_HOVER  102
