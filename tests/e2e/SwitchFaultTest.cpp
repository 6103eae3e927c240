#include "BuildFile.h"
#include "LauncherFolder.h"
#include "PackageContents.h"
#include "TestArchive.h"
#include "Utf8.h"
#include "framework/CHandle.h"
#include "framework/LongPath.h"
#include <doctest/doctest.h>
#include <shlobj.h>
#include <algorithm>
#include <map>

namespace {

// The files a variant's packages leave, later packages over earlier ones, by upper-case name.
std::map<std::wstring, PackageFile> VersionFiles(const std::vector<unsigned int>& packages)
{
    static std::map<unsigned int, std::vector<PackageFile>> cache;
    std::map<std::wstring, PackageFile> files;
    for (unsigned int id : packages) {
        if (!cache.count(id)) cache[id] = ReadPackage(id);
        for (const PackageFile& f : cache[id]) {
            std::wstring key = f.name;
            CharUpperBuffW(&key[0], static_cast<DWORD>(key.size()));
            files[key] = f;
        }
    }
    return files;
}

struct Variant {
    int command;
    std::vector<unsigned int> packages;
    const wchar_t* label;
};
const Variant k124E{IDC_BTN_124E, {IDR_PACKAGE_124E}, L"当前版本:1.24E"};
const Variant k120E{IDC_BTN_120E, {IDR_PACKAGE_120E}, L"当前版本:1.20E"};
const Variant k124E8M{IDC_BTN_124E8M, {IDR_PACKAGE_124E, IDR_PACKAGE_124E_8M}, L"当前版本:1.24E+8M"};
const Variant k120E4M{IDC_BTN_120E4M, {IDR_PACKAGE_120E, IDR_PACKAGE_120E_4M}, L"当前版本:1.20E+4M"};

// A game folder of any depth, as the launcher that runs in it sees it.
struct Game {
    std::wstring dir;
    std::wstring In(const std::wstring& name) const { return LongPathForm(dir + L"\\" + name); }

    void LayOut(const Variant& v) const
    {
        for (const auto& [key, f] : VersionFiles(v.packages)) {
            CHandle file(CreateFileW(In(f.name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
            DWORD written = 0;
            REQUIRE((file && WriteFile(file, f.data.data(), static_cast<DWORD>(f.data.size()), &written, nullptr)));
            SetFileTime(file, &f.modified, &f.modified, &f.modified);
        }
        std::wstring ini = std::wstring(L"\xFEFF[GameMain]\r\nBanBen=") + v.label + L"\r\n";
        SetFileAttributesW(In(L"wargame.ini").c_str(), FILE_ATTRIBUTE_NORMAL);
        CHandle file(CreateFileW(In(L"wargame.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        REQUIRE((file && WriteFile(file, ini.data(), static_cast<DWORD>(ini.size() * 2), &written, nullptr)));
    }
    // Every file of the variant holds that variant's bytes.
    bool Holds(const Variant& v) const
    {
        for (const auto& [key, f] : VersionFiles(v.packages)) {
            std::optional<std::string> bytes = ReadWholeFile(In(f.name));
            if (!bytes || *bytes != f.data) return false;
        }
        return true;
    }
    // What a switch or its recovery could have left behind.
    std::vector<std::wstring> Leftovers() const
    {
        std::vector<std::wstring> found;
        for (const wchar_t* pattern : {L"~kelvadi-switch*", L"war_temp.zip", L"~zip*.tmp", L"wargame.ini.~*"}) {
            WIN32_FIND_DATAW data;
            HANDLE find = FindFirstFileW(In(pattern).c_str(), &data);
            if (find == INVALID_HANDLE_VALUE) continue;
            do found.push_back(data.cFileName); while (FindNextFileW(find, &data));
            FindClose(find);
        }
        return found;
    }
    // A folder too deep to be a current directory: the launcher is started from the top folder.
    std::wstring WorkingDir() const { return dir.substr(0, dir.find(L'\\', 3)); }
    Process Start(const std::wstring& fault = std::wstring()) const
    {
        SetEnvironmentVariableW(L"KELVADI_FAULT", fault.empty() ? nullptr : fault.c_str());
        Process p = Process::Start(dir + L"\\vorelin.exe", std::wstring(), WorkingDir());
        SetEnvironmentVariableW(L"KELVADI_FAULT", nullptr);
        return p;
    }
    // The label a fresh start shows.
    std::wstring StartLabel() const
    {
        Process launcher = Start();
        Window dialog = launcher.WaitForWindow(IsLauncherDialog, 30000);
        std::wstring label = dialog ? dialog.Control(IDC_ST_VERSION).Text() : L"<no window>";
        launcher.Kill();
        return label;
    }
};

// A game folder holding the launcher and the variant's files, with its record.
Game Ready(const TempFolder& folder, const wchar_t* launcher, const Variant& v)
{
    Game game{folder.Path()};
    REQUIRE(folder.CopyIn(BuildFile(launcher), L"vorelin.exe"));
    game.LayOut(v);
    return game;
}

// Exactly one version: the one before or the one after, and the label names it.
void CheckWhole(const Game& game, const Variant& from, const Variant& to, int& forward, int& back)
{
    std::wstring label = game.StartLabel();
    bool after = game.Holds(to);
    CHECK((after || game.Holds(from)));
    CHECK(Utf8(label) == Utf8(after ? to.label : from.label));
    CHECK(game.Leftovers().empty());
    ++(after ? forward : back);
}

} // namespace

TEST_CASE("a switch ended at any step leaves one whole version, named by the label, and nothing behind")
{
    for (const auto& [from, to] : {std::pair{k124E, k120E}, std::pair{k124E8M, k120E4M}}) {
        CAPTURE(Utf8(to.label));
        TempFolder folder;
        Game game = Ready(folder, L"vorelin_faults.exe", from);
        int forward = 0, back = 0, step = 1;
        for (;; ++step) {
            CAPTURE(step);
            if (!game.Holds(from)) game.LayOut(from);
            Process launcher = game.Start(L"kill:" + std::to_wstring(step));
            Window dialog = launcher.WaitForWindow(IsLauncherDialog, 30000);
            REQUIRE_MESSAGE(dialog, Utf8(launcher.Describe()));
            dialog.Command(to.command);
            // Past the last step the switch simply finishes.
            Window box = launcher.WaitForMessageBox(L"版本转换成功提示", 30000);
            if (box) break;
            REQUIRE(launcher.WaitForExit(5000) == std::optional<DWORD>(99));
            CheckWhole(game, from, to, forward, back);
        }
        MESSAGE(Utf8(to.label), ": ", step - 1, " steps ended; ", back, " back to the version before, ", forward, " forward");
        CHECK(step > 20);
        CHECK(back > 0);
        CHECK(forward > 0);

        // The real launcher killed from outside at moments through the switch.
        for (DWORD delay : {60, 150, 250, 400}) {
            if (!game.Holds(from)) game.LayOut(from);
            Process launcher = game.Start();
            Window dialog = launcher.WaitForWindow(IsLauncherDialog, 30000);
            REQUIRE_MESSAGE(dialog, Utf8(launcher.Describe()));
            dialog.Command(to.command);
            Sleep(delay);
            launcher.Kill();
            CheckWhole(game, from, to, forward, back);
        }
    }
}

TEST_CASE("faults in the middle of a switch: the old version stays whole or the new one is, and the box says which")
{
    struct Case {
        const char* name;
        const wchar_t* fault;
        Variant to;
        bool switched;
        const wchar_t* says;
        size_t depth = 0;          // the game folder's path length, when it matters
        const wchar_t* root = L"";  // a volume of its own
    };
    const Case cases[] = {
        {"a scanner holds a staged file a moment", L"hold:staged:~kelvadi-switch\\0.new:100", k120E4M, true, L"版本转换成功，当前版本为：1.20E+4M"},
        {"game.dll locked after the check", L"lock:1:game.dll", k120E, false, L"替换文件 game.dll 时被拒绝"},
        {"read-only record", L"", k120E, true, L"wargame.ini 无法写入"},
        {"the volume fills while staging", L"fill:1", k120E, false, L"磁盘已满", 0, L"T:\\"},
        // As deep as a program can be started from: its staging files lie past MAX_PATH.
        {"a folder just short of MAX_PATH", L"", k120E, true, L"版本转换成功", 246},
    };
    for (const Case& c : cases) {
        CAPTURE(std::string(c.name));
        if (*c.root && GetFileAttributesW(c.root) == INVALID_FILE_ATTRIBUTES) {
            MESSAGE("skipped: no small volume at ", Utf8(c.root), " (the test run mounts one when it may)");
            continue;
        }
        TempFolder folder(c.root);
        REQUIRE(folder.IsValid());
        Game game{folder.Path()};
        while (game.dir.size() < c.depth) {
            game.dir += L"\\" + std::wstring(std::min<size_t>(100, c.depth - game.dir.size() - 1), L'g');
            REQUIRE(CreateDirectoryW(LongPathForm(game.dir).c_str(), nullptr));
        }
        REQUIRE(CopyFileW(BuildFile(L"vorelin_faults.exe").c_str(), game.In(L"vorelin.exe").c_str(), FALSE));
        game.LayOut(k124E);
        if (std::string(c.name) == "read-only record")
            REQUIRE(SetFileAttributesW(game.In(L"wargame.ini").c_str(), FILE_ATTRIBUTE_READONLY));
        Process launcher = game.Start(c.fault);
        Window dialog = launcher.WaitForWindow(IsLauncherDialog, 30000);
        REQUIRE_MESSAGE(dialog, Utf8(launcher.Describe()));
        dialog.Command(c.to.command);
        Window box = launcher.WaitForMessageBox(c.switched ? L"版本转换成功提示" : L"版本转换失败", 60000);
        REQUIRE_MESSAGE(box, Utf8(launcher.Describe()));
        CHECK(MessageBoxWindow(box).Text().find(c.says) != std::wstring::npos);
        MessageBoxWindow(box).Press(IDOK);
        launcher.Kill();
        DeleteFileW(game.In(L"filler.bin").c_str());
        CHECK(game.Holds(c.switched ? c.to : k124E));
        SetFileAttributesW(game.In(L"wargame.ini").c_str(), FILE_ATTRIBUTE_NORMAL);
        // The next start finds nothing of the switch; the switch wrote nothing outside its folder.
        game.StartLabel();
        CHECK(game.Leftovers().empty());
        if (c.depth) CHECK(GetFileAttributesW((game.WorkingDir() + L"\\Storm.dll").c_str()) == INVALID_FILE_ATTRIBUTES);
        if (c.depth) RemoveTree(LongPathForm(game.dir));
    }
}

TEST_CASE("two launchers at once: the second says a switch is under way and writes nothing")
{
    TempFolder folder;
    Game game = Ready(folder, L"vorelin_faults.exe", k124E);
    Process first = game.Start(L"pause:2:3000");
    Process second = game.Start();
    Window firstDialog = first.WaitForWindow(IsLauncherDialog, 30000);
    Window secondDialog = second.WaitForWindow(IsLauncherDialog, 30000);
    REQUIRE((firstDialog && secondDialog));
    firstDialog.Command(IDC_BTN_120E);
    REQUIRE(WaitUntil([&] { return GetFileAttributesW(game.In(L"~kelvadi-switch.lock").c_str()) != INVALID_FILE_ATTRIBUTES; }));
    secondDialog.Command(IDC_BTN_124E8M);
    Window busy = second.WaitForMessageBox(L"版本转换失败", 30000);
    REQUIRE(busy);
    CHECK(MessageBoxWindow(busy).Text().find(L"另一个启动器正在转换此游戏目录的版本") != std::wstring::npos);
    MessageBoxWindow(busy).Press(IDOK);
    Window done = first.WaitForMessageBox(L"版本转换成功提示", 30000);
    REQUIRE(done);
    MessageBoxWindow(done).Press(IDOK);
    CHECK(game.Holds(k120E));
    CHECK(Utf8(game.StartLabel()) == Utf8(k120E.label));
}

TEST_CASE("the label is what the files are: the record while its files are its own, else the variant they are, else game.dll")
{
    struct Case {
        const char* name;
        Variant files;
        const wchar_t* record;
        const wchar_t* changed;  // a file given other contents, or only another time
        bool contentsToo;
        const wchar_t* label;
        const wchar_t* repair;   // what the start-up box says, when it should come
    };
    const Case cases[] = {
        {"consistent", k124E, k124E.label, nullptr, false, k124E.label, nullptr},
        {"copied over by hand", k120E, k124E.label, nullptr, false, k120E.label, nullptr},
        {"+4M told by its game.dll", k120E4M, k120E.label, nullptr, false, k120E4M.label, nullptr},
        {"+8M told by its game.dll", k124E8M, k124E.label, nullptr, false, k124E8M.label, nullptr},
        {"only the time differs", k124E, k124E.label, L"war3.exe", false, k124E.label, nullptr},
        {"no variant whole", k124E, k124E8M.label, L"Storm.dll", true, L"当前版本:1.24E", L"    Storm.dll（已被改动）\n"},
    };
    for (const Case& c : cases) {
        CAPTURE(std::string(c.name));
        TempFolder folder;
        Game game = Ready(folder, L"vorelin.exe", c.files);
        game.LayOut(Variant{0, {}, c.record});
        if (c.changed) {
            CHandle file(CreateFileW(game.In(c.changed).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
            REQUIRE(file);
            DWORD written = 0;
            if (c.contentsToo) WriteFile(file, "X", 1, &written, nullptr);
            FILETIME later{0x12345678, 0x01D00000};
            SetFileTime(file, nullptr, nullptr, &later);
        }
        Process launcher = game.Start();
        Window dialog = launcher.WaitForWindow(IsLauncherDialog, 30000);
        REQUIRE_MESSAGE(dialog, Utf8(launcher.Describe()));
        CHECK(Utf8(dialog.Control(IDC_ST_VERSION).Text()) == Utf8(c.label));
        Window box = launcher.WaitForMessageBox(L"版本检查", c.repair ? 10000 : 1500);
        CHECK(bool(box) == (c.repair != nullptr));
        if (box && c.repair) CHECK(MessageBoxWindow(box).Text().find(c.repair) != std::wstring::npos);
        launcher.Kill();
        CHECK(Utf8(LauncherFolder::StoredVersionIn(folder)) == Utf8(c.label));
    }
}

TEST_CASE("after a switch: a file a scanner took is named, and the label follows the files, not the button")
{
    TempFolder folder;
    Game game = Ready(folder, L"vorelin_faults.exe", k124E);
    Process launcher = game.Start(L"vanish:1:game.dll");
    Window dialog = launcher.WaitForWindow(IsLauncherDialog, 30000);
    REQUIRE(dialog);
    dialog.Command(IDC_BTN_120E);
    Window box = launcher.WaitForMessageBox(L"版本转换未完成", 60000);
    REQUIRE_MESSAGE(box, Utf8(launcher.Describe()));
    CHECK(MessageBoxWindow(box).Text().find(L"    game.dll\n") != std::wstring::npos);
    // Without game.dll no version can be told.
    CHECK(dialog.Control(IDC_ST_VERSION).Text().empty());
    MessageBoxWindow(box).Press(IDOK);
    CHECK(LauncherFolder::StoredVersionIn(folder).empty());
}

TEST_CASE("VirtualStore copies of game files are named and, on Yes, removed")
{
    wchar_t programFiles[MAX_PATH], local[MAX_PATH];
    REQUIRE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, programFiles)));
    REQUIRE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local)));
    TempFolder folder(programFiles);
    Game game = Ready(folder, L"vorelin.exe", k124E);
    std::wstring shadow = std::wstring(local) + L"\\VirtualStore" + folder.Path().substr(2);
    REQUIRE(SHCreateDirectoryExW(nullptr, shadow.c_str(), nullptr) == ERROR_SUCCESS);
    REQUIRE(WriteWholeFile(shadow + L"\\game.dll", "an old copy"));
    Process launcher = game.Start();
    Window box = launcher.WaitForMessageBox(L"版本检查", 30000);
    REQUIRE_MESSAGE(box, Utf8(launcher.Describe()));
    CHECK(MessageBoxWindow(box).Text().find(shadow + L"\\game.dll") != std::wstring::npos);
    MessageBoxWindow(box).Press(IDYES);
    CHECK(WaitUntil([&] { return GetFileAttributesW((shadow + L"\\game.dll").c_str()) == INVALID_FILE_ATTRIBUTES; }));
    RemoveTree(std::wstring(local) + L"\\VirtualStore");
}

TEST_CASE("a game that cannot be started is reported, and the launcher stays")
{
    for (bool folderInstead : {true, false}) {
        CAPTURE(folderInstead);
        LauncherFolder game(L"versiondll\\v124.dll", false);
        REQUIRE((folderInstead ? game.folder.MakeFolder(L"war3.exe") : game.folder.Write(L"war3.exe", "not a program")));
        REQUIRE(game.Start());
        Window dialog = game.WaitForDialog();
        REQUIRE(dialog);
        REQUIRE(dialog.Control(IDC_BTN_START).Click());
        Window box = game.launcher.WaitForMessageBox(L"启动游戏失败", 10000);
        REQUIRE_MESSAGE(box, Utf8(game.launcher.Describe()));
        CHECK(MessageBoxWindow(box).Text().find(game.folder.PathOf(L"war3.exe")) != std::wstring::npos);
        MessageBoxWindow(box).Press(IDOK);
        CHECK(game.launcher.IsRunning());
    }
}

TEST_CASE("a folder the launcher may not write: the box offers to start it again as administrator")
{
    // V: is a folder of this run, U: the same folder read-only; the run mounts them when it may.
    if (GetFileAttributesW(L"U:\\") == INVALID_FILE_ATTRIBUTES || GetFileAttributesW(L"V:\\") == INVALID_FILE_ATTRIBUTES) {
        MESSAGE("skipped: no read-only view of a folder at U:");
        return;
    }
    TempFolder writable(L"V:\\");
    REQUIRE(writable.CopyIn(BuildFile(L"vorelin.exe")));
    Game through{writable.Path()};
    through.LayOut(k124E);
    Game game{L"U:" + writable.Path().substr(2)};
    Process launcher = game.Start();
    Window dialog = launcher.WaitForWindow(IsLauncherDialog, 30000);
    REQUIRE_MESSAGE(dialog, Utf8(launcher.Describe()));
    dialog.Command(IDC_BTN_120E);
    Window box = launcher.WaitForMessageBox(L"版本转换失败", 30000);
    REQUIRE_MESSAGE(box, Utf8(launcher.Describe()));
    CHECK(MessageBoxWindow(box).Text().find(L"是否以管理员身份重新启动本程序") != std::wstring::npos);
    MessageBoxWindow(box).Press(IDYES);
    CHECK(launcher.WaitForExit(10000) == std::optional<DWORD>(0));
    // Wine has no elevation: the "runas" verb starts the launcher again as it is.
    HWND again = nullptr;
    CHECK(WaitUntil([&] {
        again = FindWindowW(L"#32770", kTitle);
        return again && Window(again).ProcessId() != launcher.Id();
    }));
    DWORD id = again ? Window(again).ProcessId() : 0;
    CHandle relaunched(OpenProcess(PROCESS_TERMINATE, FALSE, id));
    if (relaunched) TerminateProcess(relaunched, 0);
}

namespace {

// Everything below from, laid out again below to (which is emptied first).
void CopyTree(const std::wstring& from, const std::wstring& to)
{
    RemoveTree(to);
    REQUIRE(CreateDirectoryW(to.c_str(), nullptr));
    for (const std::wstring& name : ListTree(from)) {
        std::wstring source = from + L"\\" + name;
        if (GetFileAttributesW(source.c_str()) & FILE_ATTRIBUTE_DIRECTORY) REQUIRE(CreateDirectoryW((to + L"\\" + name).c_str(), nullptr));
        else REQUIRE(CopyFileW(source.c_str(), (to + L"\\" + name).c_str(), FALSE));
    }
}

// A switch to the variant that the fault build ends at the given point.
void InterruptSwitch(const Game& game, const Variant& to, const std::wstring& fault)
{
    Process switching = game.Start(fault);
    Window dialog = switching.WaitForWindow(IsLauncherDialog, 30000);
    REQUIRE(dialog);
    dialog.Command(to.command);
    REQUIRE(switching.WaitForExit(30000) == std::optional<DWORD>(99));
}

} // namespace

TEST_CASE("a start that finishes or undoes an interrupted switch, itself ended at any step, still ends whole")
{
    for (bool damaged : {false, true}) {
        CAPTURE(damaged);
        TempFolder folder, snapshot;
        Game game = Ready(folder, L"vorelin_faults.exe", k124E);
        // Ended with two of the seven files moved in.
        InterruptSwitch(game, k120E, L"kill:journal+4");
        // A staged file that a power cut left short must send the next start back.
        if (damaged) REQUIRE(folder.Write(L"~kelvadi-switch\\6.new", "short"));
        CopyTree(game.dir, snapshot.Path());
        int forward = 0, back = 0, step = 1;
        for (;; ++step) {
            CAPTURE(step);
            CopyTree(snapshot.Path(), game.dir);
            Process recovering = game.Start(L"kill:" + std::to_wstring(step));
            // Past the last step of the recovery the window comes.
            if (recovering.WaitForWindow(IsLauncherDialog, 30000)) break;
            REQUIRE(recovering.WaitForExit(5000) == std::optional<DWORD>(99));
            CheckWhole(game, k124E, k120E, forward, back);
        }
        CHECK(step > 4);
        CHECK((damaged ? forward : back) == 0);
    }
}

TEST_CASE("a journal another program holds at start-up: the box says so, and nothing is moved or deleted")
{
    TempFolder folder;
    Game game = Ready(folder, L"vorelin_faults.exe", k124E);
    InterruptSwitch(game, k120E, L"kill:journal");
    std::vector<std::wstring> before = ListTree(game.dir);
    CHandle held(CreateFileW(game.In(L"~kelvadi-switch\\journal").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    REQUIRE(held);
    Process launcher = game.Start();
    Window box = launcher.WaitForMessageBox(L"版本转换未完成", 30000);
    REQUIRE_MESSAGE(box, Utf8(launcher.Describe()));
    CHECK(MessageBoxWindow(box).Text().find(L"无法读取") != std::wstring::npos);
    MessageBoxWindow(box).Press(IDOK);
    launcher.Kill();
    CHECK(ListTree(game.dir) == before);
    held.Close();
    int forward = 0, back = 0;
    CheckWhole(game, k124E, k120E, forward, back);
    CHECK(forward == 1);
}
