#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include <windows.h>

// Imports a function Windows XP lacks, so that the import check can be seen to fail.
int main()
{
    return static_cast<int>(GetTickCount64() & 1);
}
