#include <doctest/doctest.h>
#include "BuildFile.h"
#include "DriverTarget.h"
#include "MessageBoxWindow.h"
#include "Process.h"
#include "TempFolder.h"
#include "Utf8.h"
#include "Wait.h"
#include <string>
#include <vector>

namespace {

const wchar_t kCaption[] = L"驱动目标 Driver Target";

std::wstring TargetPath()
{
    return TestExecutableFolder() + L"\\driver_target.exe";
}

Process StartTarget(const std::wstring& arguments = std::wstring(), const std::wstring& folder = std::wstring())
{
    Process process = Process::Start(TargetPath(), arguments, folder);
    REQUIRE_MESSAGE(process.Started(), Utf8(process.Error()));
    return process;
}

Window WaitForTargetDialog(const Process& process)
{
    Window dialog = process.WaitForWindow(L"#32770", kCaption);
    // DialogBox fails with -1 when Wine's desktop process started before the X display existed.
    REQUIRE_MESSAGE(dialog, Utf8(process.Describe()) << " (exit code 4294967295: the dialog could not be "
                                                        "created; is there an X display for Wine?)");
    return dialog;
}

DWORD Elapsed(DWORD start)
{
    return GetTickCount() - start;
}

} // namespace

TEST_CASE("temporary folder: fresh, holds copies and files, removed with read-only contents")
{
    std::wstring path;
    {
        TempFolder folder;
        REQUIRE(folder.IsValid());
        path = folder.Path();
        TempFolder other;
        CHECK(other.Path() != path);

        CHECK(folder.CopyIn(TargetPath()));
        CHECK(folder.Exists(L"driver_target.exe"));
        CHECK(folder.CopyIn(TargetPath(), L"war3.exe"));
        CHECK(folder.Read(L"war3.exe") == folder.Read(L"driver_target.exe"));
        CHECK_FALSE(folder.CopyIn(L"C:\\no\\such\\file.exe"));

        const std::string bytes("a\0b\r\n\xff", 6);
        REQUIRE(folder.MakeFolder(L"sub"));
        CHECK(folder.Write(L"sub\\data.bin", bytes));
        CHECK(folder.Read(L"sub\\data.bin") == bytes);
        CHECK(folder.Write(L"empty", std::string()));
        CHECK(folder.Read(L"empty") == std::string());
        CHECK_FALSE(folder.Read(L"missing").has_value());
        SetFileAttributesW(folder.PathOf(L"sub\\data.bin").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    }
    CHECK(GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES);

    TempFolder root;
    TempFolder nested(root.Path() + L"\\");
    REQUIRE(nested.IsValid());
    CHECK(nested.Path().compare(0, root.Path().size() + 1, root.Path() + L"\\") == 0);
    CHECK_FALSE(TempFolder(L"C:\\no\\such\\root").IsValid());
}

TEST_CASE("process: exit code, start failure, working folder, kill on destruction")
{
    Process quick = StartTarget(L"/exit 7");
    CHECK(quick.WaitForExit() == DWORD(7));
    CHECK_FALSE(quick.IsRunning());
    CHECK(quick.TopLevelWindows(false).empty());

    Process missing = Process::Start(L"C:\\no\\such\\program.exe");
    CHECK_FALSE(missing.Started());
    CHECK(missing.Error().find(L"C:\\no\\such\\program.exe") != std::wstring::npos);
    CHECK_FALSE(missing.WaitForExit(0).has_value());

    TempFolder folder;
    HANDLE watch = nullptr;
    {
        Process running = StartTarget(L"", folder.Path());
        Window dialog = WaitForTargetDialog(running);
        CHECK(dialog.Control(IDC_FOLDER).WaitForText(folder.Path()));
        CHECK(running.WaitForInputIdle());
        CHECK(running.IsRunning());
        REQUIRE(DuplicateHandle(GetCurrentProcess(), running.Handle(), GetCurrentProcess(), &watch, SYNCHRONIZE,
                                FALSE, 0));
        Process moved = std::move(running);
        CHECK_FALSE(running.Started());
        CHECK(moved.IsRunning());
    }
    CHECK(WaitForSingleObject(watch, 0) == WAIT_OBJECT_0);
    CloseHandle(watch);
}

TEST_CASE("process: what the program started goes with it")
{
    HANDLE child = nullptr;
    {
        Process parent = StartTarget(L"/spawn");
        WaitForTargetDialog(parent);
        // The copy's dialog is the one top-level window with the caption that is not the parent's.
        HWND copy = nullptr;
        WaitUntil([&] {
            copy = FindWindowW(L"#32770", kCaption);
            while (copy && Window(copy).ProcessId() == parent.Id())
                copy = FindWindowExW(nullptr, copy, L"#32770", kCaption);
            return copy != nullptr;
        });
        REQUIRE(copy);
        child = OpenProcess(SYNCHRONIZE, FALSE, Window(copy).ProcessId());
        REQUIRE(child);
        CHECK(WaitForSingleObject(child, 0) == WAIT_TIMEOUT);
    }
    CHECK(WaitForSingleObject(child, 5000) == WAIT_OBJECT_0);
    CloseHandle(child);
}

TEST_CASE("window: found by class and caption, texts, ids, rects, styles")
{
    Process process = StartTarget();
    Window dialog = WaitForTargetDialog(process);
    CHECK(dialog.Text() == kCaption);
    CHECK(dialog.ClassName() == L"#32770");
    CHECK(dialog.ProcessId() == process.Id());
    CHECK(dialog.IsVisible());
    CHECK(dialog.HasStyle(WS_CAPTION | WS_SYSMENU));
    CHECK_FALSE(dialog.HasStyle(WS_CHILD));
    CHECK_FALSE(MessageBoxWindow::IsMessageBox(dialog));

    std::vector<Window> windows = process.TopLevelWindows();
    REQUIRE(windows.size() == 1);
    CHECK(windows[0].Handle() == dialog.Handle());

    struct Expected { int id; const wchar_t* className; const wchar_t* text; };
    const Expected controls[] = {
        {IDC_PRESS, L"Button", L"按一下"},
        {IDC_LABEL, L"Static", L"idle"},
        {IDC_EDIT, L"Edit", L"编辑框"},
        {IDC_QUIT, L"Button", L"Quit"},
    };
    for (const Expected& expected : controls) {
        CAPTURE(expected.id);
        Window control = dialog.Control(expected.id);
        REQUIRE(control);
        CHECK(control.Id() == expected.id);
        CHECK(_wcsicmp(control.ClassName().c_str(), expected.className) == 0);
        CHECK(Utf8(control.Text()) == Utf8(expected.text));
        CHECK(control.IsVisible());
        CHECK(control.IsEnabled());
        CHECK(control.Parent().Handle() == dialog.Handle());
    }
    CHECK_FALSE(dialog.Control(4242));
    CHECK(dialog.Children().size() == 8);

    RECT outer = dialog.Rect();
    RECT client = dialog.ClientRect();
    CHECK(client.left == 0);
    CHECK(client.top == 0);
    CHECK(client.right > 100);
    CHECK(client.bottom > 50);
    // The caption bar makes the window taller than its client area.
    CHECK(outer.bottom - outer.top > client.bottom);
    CHECK(outer.right - outer.left >= client.right);
    RECT button = dialog.Control(IDC_PRESS).Rect();
    RECT inside;
    CHECK(IntersectRect(&inside, &outer, &button));
    CHECK(EqualRect(&inside, &button));
    RECT none = Window().Rect();
    CHECK(IsRectEmpty(&none));
}

TEST_CASE("buttons: BM_CLICK and WM_COMMAND both reach the handler")
{
    Process process = StartTarget();
    Window dialog = WaitForTargetDialog(process);
    Window label = dialog.Control(IDC_LABEL);
    REQUIRE(dialog.Control(IDC_PRESS).Click());
    CHECK(label.WaitForText(L"按了 1"));
    REQUIRE(dialog.Command(IDC_PRESS));
    CHECK(label.WaitForText(L"按了 2"));
    CHECK_FALSE(Window().Click());
}

TEST_CASE("keys and close requests reach the dialog")
{
    Process process = StartTarget();
    Window dialog = WaitForTargetDialog(process);
    Window events = dialog.Control(IDC_EVENTS);
    struct Step { bool (Window::*send)() const; const wchar_t* events; };
    const Step steps[] = {
        {&Window::PressEnter, L"IDOK;"},
        {&Window::PressEscape, L"IDOK;IDCANCEL;"},
        {&Window::SendClose, L"IDOK;IDCANCEL;SC_CLOSE;WM_CLOSE;IDCANCEL;"},
        {&Window::PressAltF4, L"IDOK;IDCANCEL;SC_CLOSE;WM_CLOSE;IDCANCEL;SC_CLOSE;WM_CLOSE;IDCANCEL;"},
    };
    for (const Step& step : steps) {
        REQUIRE((dialog.*step.send)());
        CHECK_MESSAGE(events.WaitForText(step.events), Utf8(events.Text()));
    }
    CHECK(dialog.IsVisible());
    CHECK(process.IsRunning());
}

TEST_CASE("message box owned by the dialog: caption, text, icon, buttons, answer")
{
    Process process = StartTarget();
    Window dialog = WaitForTargetDialog(process);
    REQUIRE(dialog.Control(IDC_BOX).Click());
    Window found = process.WaitForMessageBox(L"目标标题");
    REQUIRE_MESSAGE(found, Utf8(process.Describe()));
    MessageBoxWindow box(found);
    CHECK(box.AsWindow().Owner().Handle() == dialog.Handle());
    CHECK(Utf8(box.Caption()) == Utf8(L"目标标题"));
    CHECK(Utf8(box.Text()) == Utf8(L"目标的消息\n第二行"));
    CHECK(box.ButtonIds() == std::vector<int>{IDOK, IDCANCEL});
    CHECK(Utf8(MessageBoxIconName(box.Icon())) == "information");
    CHECK_FALSE(box.Press(IDYES));
    REQUIRE(box.Press(IDCANCEL));
    CHECK(box.WaitUntilClosed());
    CHECK(dialog.Control(IDC_LABEL).WaitForText(L"box 2"));
    CHECK(process.WaitForNoWindow(MessageBoxWindow::IsMessageBox));
}

TEST_CASE("message boxes alone: icons told apart, each answer is the exit code")
{
    struct Case { const wchar_t* icon; const wchar_t* buttons; MessageBoxIcon expected; int press; };
    const Case cases[] = {
        {L"none", L"ok", MessageBoxIcon::None, IDOK},
        {L"error", L"ok", MessageBoxIcon::Error, IDOK},
        {L"question", L"yesno", MessageBoxIcon::Question, IDNO},
        {L"warning", L"okcancel", MessageBoxIcon::Warning, IDCANCEL},
        {L"information", L"yesno", MessageBoxIcon::Information, IDYES},
    };
    for (const Case& c : cases) {
        CAPTURE(Utf8(c.icon));
        Process process = StartTarget(std::wstring(L"/box \"版本转换成功提示\" \"版本转换成功 ") + c.icon + L"\" " +
                                      c.icon + L" " + c.buttons);
        MessageBoxWindow box(process.WaitForMessageBox(L"版本转换成功提示"));
        REQUIRE_MESSAGE(box.AsWindow(), Utf8(process.Describe()));
        CHECK(Utf8(box.Text()) == Utf8(std::wstring(L"版本转换成功 ") + c.icon));
        CHECK(Utf8(MessageBoxIconName(box.Icon())) == Utf8(MessageBoxIconName(c.expected)));
        REQUIRE(box.Press(c.press));
        CHECK(process.WaitForExit() == DWORD(c.press));
    }

}

TEST_CASE("message box keys: Enter answers with the default button, Escape cancels")
{
    struct Case { bool (Window::*press)() const; DWORD exitCode; };
    const Case cases[] = {{&Window::PressEnter, IDOK}, {&Window::PressEscape, IDCANCEL}};
    for (const Case& c : cases) {
        Process process = StartTarget(L"/box caption text none okcancel");
        Window box = process.WaitForMessageBox(L"caption");
        REQUIRE_MESSAGE(box, Utf8(process.Describe()));
        REQUIRE((box.*c.press)());
        CHECK(process.WaitForExit() == c.exitCode);
    }
}

TEST_CASE("exit code of a dialog ended by its button; windows gone after exit")
{
    Process process = StartTarget(L"/code 42");
    Window dialog = WaitForTargetDialog(process);
    REQUIRE(dialog.Control(IDC_QUIT).Click());
    CHECK(process.WaitForExit() == DWORD(42));
    CHECK_FALSE(dialog.Exists());
    CHECK(process.TopLevelWindows(false).empty());
}

TEST_CASE("waits: a late window is found; what never comes times out and reports")
{
    Process late = StartTarget(L"/delay 600");
    DWORD start = GetTickCount();
    CHECK(late.WaitForWindow(L"#32770", kCaption));
    CHECK(Elapsed(start) >= 500);

    start = GetTickCount();
    CHECK_FALSE(late.WaitForWindow(L"#32770", L"never shown", 300));
    DWORD waited = Elapsed(start);
    CHECK(waited >= 300);
    CHECK(waited < 3000);

    start = GetTickCount();
    CHECK_FALSE(late.WaitForExit(200).has_value());
    CHECK(Elapsed(start) < 3000);
    CHECK_FALSE(late.WaitForMessageBox(L"", 200));

    Window label = late.WaitForWindow(L"#32770", kCaption).Control(IDC_LABEL);
    start = GetTickCount();
    CHECK_FALSE(label.WaitForText(L"never", 200));
    CHECK(Elapsed(start) < 3000);

    int calls = 0;
    start = GetTickCount();
    CHECK_FALSE(WaitUntil([&] { ++calls; return false; }, 200));
    CHECK(Elapsed(start) >= 200);
    CHECK(calls >= 3);
    CHECK(WaitUntil([&] { return ++calls > 0; }, 0));

    // A process that has ended has no window to wait for: the wait returns at once.
    Process gone = StartTarget(L"/exit 0");
    start = GetTickCount();
    CHECK_FALSE(gone.WaitForWindow(L"#32770", kCaption));
    CHECK(Elapsed(start) < 5000);
    CHECK(late.Describe().find(L"running") != std::wstring::npos);
}

TEST_CASE("a target that stops answering does not hold up reads")
{
    Process process = StartTarget();
    Window dialog = WaitForTargetDialog(process);
    Window label = dialog.Control(IDC_LABEL);
    REQUIRE(dialog.Control(IDC_STALL).Click());
    bool stalled = WaitUntil([&] {
        DWORD_PTR result = 0;
        return !SendMessageTimeoutW(dialog.Handle(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 100, &result);
    }, 2000);
    REQUIRE(stalled);
    DWORD start = GetTickCount();
    CHECK(label.Text(300) == L"idle");
    CHECK(Elapsed(start) < 2000);
}
