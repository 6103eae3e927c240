#include "BuildFile.h"
#include "LauncherFolder.h"
#include "PackageContents.h"
#include "TestArchive.h"
#include "Utf8.h"
#include "framework/CHandle.h"
#include "res/resource.h"
#include <doctest/doctest.h>

namespace {

struct Row {
    int command;
    std::vector<unsigned int> packages;
    const wchar_t* version;  // after "当前版本:" and "当前版本为："
};

const Row kRows[] = {
    {IDC_BTN_120E, {IDR_PACKAGE_120E}, L"1.20E"},
    {IDC_BTN_124E, {IDR_PACKAGE_124E}, L"1.24E"},
    {IDC_BTN_126, {IDR_PACKAGE_126}, L"1.26"},
    {IDC_BTN_120E4M, {IDR_PACKAGE_120E, IDR_PACKAGE_120E_4M}, L"1.20E+4M"},
    {IDC_BTN_124E8M, {IDR_PACKAGE_124E, IDR_PACKAGE_124E_8M}, L"1.24E+8M"},
};

// Clicks a version button and answers the confirmation; returns its text (empty when none came).
std::wstring SwitchAndConfirm(RunningLauncher& game, int command)
{
    game.dialog.Command(command);
    Window box = game.launcher.WaitForMessageBox(L"版本转换成功提示", 60000);
    if (!box) return std::wstring();
    MessageBoxWindow message(box);
    std::wstring text = message.Text();
    CHECK(message.Icon() == MessageBoxIcon::None);
    CHECK(box.Owner().Handle() == game.dialog.Handle());
    message.Press(IDOK);
    message.WaitUntilClosed();
    return text;
}

// Every file of the packages, later ones over earlier ones, is in the folder byte for byte,
// with the package's time for creation, access and last write.
void CheckExtracted(const LauncherFolder& game, const std::vector<unsigned int>& packages)
{
    for (unsigned int id : packages) {
        std::vector<PackageFile> files = ReadPackage(id);
        REQUIRE_FALSE(files.empty());
        for (const PackageFile& f : files) {
            CAPTURE(Utf8(f.name));
            // The one-file packages go on top; their Game.dll is what the base's game.dll must hold now.
            if (id == packages.front() && packages.size() > 1 && lstrcmpiW(f.name.c_str(), L"game.dll") == 0) continue;
            CHandle h(CreateFileW(game.folder.PathOf(f.name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
            REQUIRE(h);
            FILETIME created, accessed, written;
            GetFileTime(h, &created, &accessed, &written);
            h.Close();
            CHECK(Ticks(written) == Ticks(f.modified));
            CHECK(Ticks(created) == Ticks(f.modified));
            CHECK(Ticks(accessed) == Ticks(f.modified));
            // Read after the times: reading moves the last-access time.
            auto bytes = game.folder.Read(f.name);
            REQUIRE(bytes.has_value());
            CHECK(*bytes == f.data);
        }
    }
}

// The confirmation's own sentence, before any note on kept originals or the record.
std::wstring FirstParagraph(const std::wstring& text)
{
    return text.substr(0, text.find(L"\n\n"));
}

std::wstring NameOnDisk(const LauncherFolder& game, const std::wstring& name)
{
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(game.folder.PathOf(name).c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return std::wstring();
    FindClose(find);
    return found.cFileName;
}

} // namespace

TEST_CASE("each version from a fresh folder: files, times, label, record and confirmation")
{
    for (const Row& row : kRows) {
        CAPTURE(Utf8(row.version));
        RunningLauncher game(L"");
        REQUIRE_MESSAGE(game.dialog, Utf8(game.launcher.Describe()));
        std::string ownWar3 = *game.folder.Read(L"war3.exe");
        std::wstring confirmation = SwitchAndConfirm(game, row.command);
        CHECK(Utf8(FirstParagraph(confirmation)) == Utf8(std::wstring(L"版本转换成功，当前版本为：") + row.version));
        // The stand-in war3.exe is no package's: it is kept, and the box says where.
        CHECK(confirmation.find(L"“版本转换备份”文件夹：\n    war3.exe") != std::wstring::npos);
        CHECK(game.folder.Read(L"版本转换备份\\war3.exe") == ownWar3);
        CHECK(Utf8(game.Label()) == Utf8(std::wstring(L"当前版本:") + row.version));
        CHECK(Utf8(game.StoredVersion()) == Utf8(std::wstring(L"当前版本:") + row.version));
        CheckExtracted(game, row.packages);
        CHECK_FALSE(game.folder.Exists(L"war_temp.zip"));
        if (row.packages.size() > 1) {
            // The top package's Game.dll replaced game.dll under the name the file already had.
            CHECK(Utf8(NameOnDisk(game, L"game.dll")) == "game.dll");
            CHECK(*game.folder.Read(L"game.dll") == ReadPackage(row.packages[1]).front().data);
        }
    }
}

TEST_CASE("switching never deletes: files of the version before stay")
{
    RunningLauncher game(L"");
    REQUIRE(game.dialog);
    CHECK_FALSE(SwitchAndConfirm(game, IDC_BTN_124E).empty());
    CHECK_FALSE(SwitchAndConfirm(game, IDC_BTN_120E).empty());
    for (const wchar_t* kept : {L"msvcm80.dll", L"msvcp80.dll", L"msvcr80.dll", L"icons-WAR3.bni", L"bncache.dat"})
        CHECK(game.folder.Exists(kept));
    CHECK_FALSE(SwitchAndConfirm(game, IDC_BTN_126).empty());
    CHECK(game.folder.Exists(L"War3.org"));
    CheckExtracted(game, {IDR_PACKAGE_126});
}

TEST_CASE("a war_temp.zip left by an earlier launcher is removed, and one that cannot be never stops a switch")
{
    for (bool readOnly : {false, true}) {
        CAPTURE(readOnly);
        RunningLauncher game(L"");
        REQUIRE(game.folder.Write(L"war_temp.zip", "left over"));
        if (readOnly) REQUIRE(SetFileAttributesW(game.folder.PathOf(L"war_temp.zip").c_str(), FILE_ATTRIBUTE_READONLY));
        REQUIRE(game.dialog);
        CHECK(Utf8(FirstParagraph(SwitchAndConfirm(game, IDC_BTN_124E))) == Utf8(L"版本转换成功，当前版本为：1.24E"));
        CHECK(game.folder.Exists(L"war_temp.zip") == readOnly);
        CHECK(Utf8(game.StoredVersion()) == Utf8(L"当前版本:1.24E"));
        CheckExtracted(game, {IDR_PACKAGE_124E});
    }
}

TEST_CASE("a game file in use or read-only stops the switch before anything is written")
{
    for (bool readOnly : {false, true}) {
        CAPTURE(readOnly);
        RunningLauncher game;
        REQUIRE(game.dialog);
        std::string dllBefore = *game.folder.Read(L"game.dll");
        std::string war3Before = *game.folder.Read(L"war3.exe");
        CHandle running;
        if (readOnly) {
            REQUIRE(SetFileAttributesW(game.folder.PathOf(L"game.dll").c_str(), FILE_ATTRIBUTE_READONLY));
        } else {
            // As a running game holds its files: open, shared for reading only.
            running.Attach(CreateFileW(game.folder.PathOf(L"game.dll").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
            REQUIRE(running);
        }
        game.dialog.Command(IDC_BTN_120E4M);
        Window box = game.launcher.WaitForMessageBox(L"版本转换失败", 30000);
        REQUIRE_MESSAGE(box, Utf8(game.launcher.Describe()));
        MessageBoxWindow message(box);
        std::wstring text = message.Text();
        CHECK(text.find(L"game.dll") != std::wstring::npos);
        CHECK(text.find(readOnly ? L"只读" : L"游戏正在运行") != std::wstring::npos);
        CHECK(message.Icon() == MessageBoxIcon::Error);
        CHECK(box.Owner().Handle() == game.dialog.Handle());
        message.Press(IDOK);
        CHECK(message.WaitUntilClosed());
        running.Close();
        CHECK(*game.folder.Read(L"game.dll") == dllBefore);
        CHECK(*game.folder.Read(L"war3.exe") == war3Before);
        CHECK_FALSE(game.folder.Exists(L"Storm.dll"));
        CHECK_FALSE(game.folder.Exists(L"war_temp.zip"));
        CHECK(Utf8(game.Label()) == Utf8(L"当前版本:1.24E"));
        CHECK(Utf8(game.StoredVersion()) == Utf8(L"当前版本:1.24E"));
    }
}

TEST_CASE("a package the launcher lacks is reported, and nothing is written")
{
    // This launcher carries package 183 only.
    RunningLauncher game(L"", L"vorelin_partial.exe");
    REQUIRE_MESSAGE(game.dialog, Utf8(game.launcher.Describe()));
    std::string war3Before = *game.folder.Read(L"war3.exe");
    game.dialog.Command(IDC_BTN_120E4M);
    Window missing = game.launcher.WaitForMessageBox(L"vorelin", 60000);
    REQUIRE_MESSAGE(missing, Utf8(game.launcher.Describe()));
    MessageBoxWindow missingBox(missing);
    CHECK(Utf8(missingBox.Text()) == Utf8(L"无法获取相关资源!"));
    CHECK(missingBox.Icon() == MessageBoxIcon::None);
    missingBox.Press(IDOK);
    Window box = game.launcher.WaitForMessageBox(L"版本转换失败", 30000);
    REQUIRE(box);
    CHECK(MessageBoxWindow(box).Text().find(L"缺少此版本所需的数据包") != std::wstring::npos);
    MessageBoxWindow(box).Press(IDOK);
    CHECK(*game.folder.Read(L"war3.exe") == war3Before);
    CHECK_FALSE(game.folder.Exists(L"Storm.dll"));
    CHECK(Utf8(game.StoredVersion()).empty());
}
