#include <windows.h>

// A stand-in game.dll: what matters is that it loads and carries the game's version resource.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
