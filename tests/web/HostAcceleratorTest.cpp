#include "web/HostAccelerator.h"
#include <doctest/doctest.h>
#include <set>

namespace {

std::set<int> g_async;
std::set<int> g_thread;

SHORT WINAPI AsyncState(int key)
{
    return static_cast<SHORT>(g_async.count(key) ? 0x8000 : 0);
}

SHORT WINAPI ThreadState(int key)
{
    // The toggle bit alone does not count as down.
    return static_cast<SHORT>(g_thread.count(key) ? 0x8000 : 1);
}

} // namespace

TEST_CASE("the panels take F5 and Ctrl+O, Ctrl+P, Ctrl+N from the keyboard state, on key-down only")
{
    struct Row {
        const char* name;
        UINT message;
        std::set<int> async;
        std::set<int> thread;
        bool blocked;
    };
    const Row rows[] = {
        {"F5 held: any key-down", WM_KEYDOWN, {VK_F5}, {}, true},
        {"F5 released before the message", WM_KEYDOWN, {}, {}, false},
        {"F5 held, system key-down", WM_SYSKEYDOWN, {VK_F5}, {}, false},
        {"F5 held, key-up", WM_KEYUP, {VK_F5}, {}, false},
        {"Ctrl+O", WM_KEYDOWN, {'O'}, {VK_CONTROL}, true},
        {"Ctrl+P", WM_KEYDOWN, {'P'}, {VK_CONTROL}, true},
        {"Ctrl+N", WM_KEYDOWN, {'N'}, {VK_CONTROL}, true},
        {"Ctrl+A", WM_KEYDOWN, {'A'}, {VK_CONTROL}, false},
        {"O without Ctrl", WM_KEYDOWN, {'O', VK_CONTROL}, {}, false},
        {"Ctrl+N as a system key", WM_SYSKEYDOWN, {'N'}, {VK_CONTROL}, false},
        {"nothing held", WM_KEYDOWN, {}, {}, false},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        g_async = row.async;
        g_thread = row.thread;
        CHECK(IsBlockedAccelerator(row.message, {&AsyncState, &ThreadState}) == row.blocked);
    }
}
