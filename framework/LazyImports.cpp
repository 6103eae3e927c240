// The program's imports from COM, the shell and its file dialog, loaded at their first call instead of before the
// entry point: the window shows without waiting for them (the web panels come after it, the shell
// with a click). Each import's slot starts at a stub that loads the library, puts the real function
// in the slot and calls it; a library that cannot be loaded gives the call's usual failure value.
// This object is linked ahead of the import libraries, so its slots are the ones the code uses.
// The common controls stay an ordinary import: the window's own buttons need them, and the manifest
// redirects only a load by bare name to their version 6.
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>
#include <commdlg.h>
#include <type_traits>

namespace {

// What a __stdcall function takes off the stack, which its import symbol's decoration states.
template <typename Argument> constexpr unsigned StackSlot()
{
    return std::is_reference<Argument>::value ? sizeof(void*) : (sizeof(Argument) + 3) / 4 * 4;
}
template <typename Function> struct StackBytes;
template <typename Result, typename... Arguments> struct StackBytes<Result(WINAPI*)(Arguments...)> {
    static constexpr unsigned value = (0u + ... + StackSlot<Arguments>());
};

FARPROC Resolve(const wchar_t* library, const char* name, void** slot)
{
    // By full path: the game folder, searched first, is where a planted DLL would lie.
    wchar_t path[MAX_PATH];
    UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length + lstrlenW(library) + 2 > MAX_PATH) return nullptr;
    path[length] = L'\\';
    lstrcpyW(path + length + 1, library);
    HMODULE module = LoadLibraryW(path);
    FARPROC function = module ? GetProcAddress(module, name) : nullptr;
    // Another thread may store the same address at the same time: a pointer write is whole on x86.
    if (function) InterlockedExchangePointer(slot, reinterpret_cast<void*>(function));
    return function;
}

} // namespace

// The import slot's symbol: decorated with the argument bytes on 32-bit, plain on 64-bit (the
// tests' twin, which must load no more before its window than the program does).
#ifdef _WIN64
#define LAZY_SLOT(name, bytes) "__imp_" #name
#else
#define LAZY_SLOT(name, bytes) "__imp__" #name "@" #bytes
#endif

// LAZY_IMPORT(library, result type, name, argument bytes, failure value, (parameters), (arguments))
// The stub must have the SDK's type and the 32-bit decoration its size: a mistyped one would still
// link, and corrupt the stack or leave the real import in place.
#define LAZY_IMPORT(library, Result, name, bytes, failure, parameters, arguments)                          \
    static Result WINAPI Lazy_##name parameters;                                                           \
    static_assert(std::is_same<decltype(&Lazy_##name), decltype(&::name)>::value, #name ": not the SDK's type"); \
    static_assert(sizeof(void*) != 4 || StackBytes<decltype(&::name)>::value == bytes, #name ": wrong bytes"); \
    extern "C" void* lazy_slot_##name __asm__(LAZY_SLOT(name, bytes));                                     \
    void* lazy_slot_##name = reinterpret_cast<void*>(&Lazy_##name);                                        \
    static Result WINAPI Lazy_##name parameters                                                            \
    {                                                                                                      \
        FARPROC function = Resolve(library, #name, &lazy_slot_##name);                                     \
        if (!function) return failure;                                                                     \
        return reinterpret_cast<decltype(&::name)>(reinterpret_cast<void*>(function)) arguments;          \
    }

LAZY_IMPORT(L"ole32.dll", HRESULT, OleInitialize, 4, E_FAIL, (LPVOID a), (a))
LAZY_IMPORT(L"ole32.dll", void, OleUninitialize, 0, void(), (), ())
LAZY_IMPORT(L"ole32.dll", HRESULT, CLSIDFromString, 8, E_FAIL, (LPCOLESTR a, LPCLSID b), (a, b))
LAZY_IMPORT(L"ole32.dll", HRESULT, CoCreateInstance, 20, E_FAIL,
            (REFCLSID a, LPUNKNOWN b, DWORD c, REFIID d, LPVOID* e), (a, b, c, d, e))
LAZY_IMPORT(L"ole32.dll", HRESULT, CreateStreamOnHGlobal, 12, E_OUTOFMEMORY, (HGLOBAL a, BOOL b, LPSTREAM* c),
            (a, b, c))

LAZY_IMPORT(L"oleaut32.dll", BSTR, SysAllocString, 4, nullptr, (const OLECHAR* a), (a))
LAZY_IMPORT(L"oleaut32.dll", void, VariantInit, 4, (V_VT(a) = VT_EMPTY, void()), (VARIANTARG * a), (a))
LAZY_IMPORT(L"oleaut32.dll", void, SysFreeString, 4, void(), (BSTR a), (a))
LAZY_IMPORT(L"oleaut32.dll", HRESULT, VariantClear, 4, E_FAIL, (VARIANTARG * a), (a))
LAZY_IMPORT(L"oleaut32.dll", HRESULT, VariantChangeType, 16, E_FAIL,
            (VARIANTARG * a, VARIANTARG * b, USHORT c, VARTYPE d), (a, b, c, d))

LAZY_IMPORT(L"shell32.dll", HINSTANCE, ShellExecuteW, 24, reinterpret_cast<HINSTANCE>(SE_ERR_DLLNOTFOUND),
            (HWND a, LPCWSTR b, LPCWSTR c, LPCWSTR d, LPCWSTR e, INT f), (a, b, c, d, e, f))
LAZY_IMPORT(L"shell32.dll", int, SHFileOperationW, 4, ERROR_DLL_NOT_FOUND, (LPSHFILEOPSTRUCTW a), (a))
LAZY_IMPORT(L"shell32.dll", HRESULT, SHGetFolderPathW, 20, E_FAIL, (HWND a, int b, HANDLE c, DWORD d, LPWSTR e),
            (a, b, c, d, e))
LAZY_IMPORT(L"shell32.dll", void, SHChangeNotify, 16, void(), (LONG a, UINT b, LPCVOID c, LPCVOID d), (a, b, c, d))
LAZY_IMPORT(L"shell32.dll", UINT, DragQueryFileW, 16, 0, (HDROP a, UINT b, LPWSTR c, UINT d), (a, b, c, d))
LAZY_IMPORT(L"shell32.dll", void, DragFinish, 4, void(), (HDROP a), (a))

LAZY_IMPORT(L"comdlg32.dll", BOOL, GetOpenFileNameW, 4, FALSE, (LPOPENFILENAMEW a), (a))
