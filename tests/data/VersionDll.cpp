#include <windows.h>

// A stand-in game.dll: only its version resource matters.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
