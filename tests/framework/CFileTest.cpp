#include "framework/CFile.h"
#include "framework/CFileException.h"
#include "framework/CFileFind.h"
#include "TempFolder.h"
#include "Utf8.h"
#include <doctest/doctest.h>

namespace {
const unsigned int kCreateWrite = CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive;

CFileException CaughtFrom(void (*action)(const CString&), const CString& path)
{
    try {
        action(path);
    } catch (const CFileException& e) {
        return e;
    }
    return CFileException(CFileException::none);
}
} // namespace

TEST_CASE("create-and-write mode creates, truncates and writes the whole buffer")
{
    TempFolder folder;
    CString path = folder.PathOf(L"out.bin");
    REQUIRE(WriteWholeFile(path.Str(), "a much longer old content"));
    {
        CFile file(path, kCreateWrite);
        file.Write("new", 3);
        file.Close();
        CHECK_FALSE(file.IsOpen());
    }
    CHECK(ReadWholeFile(path.Str()) == "new");
}

TEST_CASE("file failures throw with cause, system error and the file's name")
{
    TempFolder folder;
    CString held = folder.PathOf(L"held.bin");
    CString folderAsFile = folder.PathOf(L"sub");
    REQUIRE(CreateDirectoryW(folderAsFile, nullptr));
    CString readOnly = folder.PathOf(L"readonly.bin");
    REQUIRE(WriteWholeFile(readOnly.Str(), "kept"));
    REQUIRE(SetFileAttributesW(readOnly, FILE_ATTRIBUTE_READONLY));
    CFile holder(held, kCreateWrite);

    struct Case {
        CString path;
        void (*action)(const CString&);
        int cause;
        const char* message;
    };
    auto open = [](const CString& p) { CFile f(p, kCreateWrite); };
    auto remove = [](const CString& p) { CFile::Remove(p); };
    const Case cases[] = {
        {held, open, CFileException::sharingViolation, "访问 %s 时遇到了共享冲突。"},
        {folderAsFile, open, CFileException::accessDenied, "拒绝访问 %s。"},
        {readOnly, open, CFileException::accessDenied, "拒绝访问 %s。"},
        {CString(folder.PathOf(L"missing.bin")), remove, CFileException::fileNotFound, "未找到 %s。"},
        {CString(folder.PathOf(L"no\\such\\dir.bin")), open, CFileException::badPath, "%s 包含无效路径。"},
    };
    for (const Case& c : cases) {
        CAPTURE(Utf8(c.path.Str()));
        CFileException e = CaughtFrom(c.action, c.path);
        CHECK(e.m_cause == c.cause);
        CHECK(e.m_lOsError != 0);
        CHECK(e.m_strFileName == c.path);
        std::string expected = c.message;
        expected.replace(expected.find("%s"), 2, Utf8(c.path.Str()));
        CHECK(Utf8(e.GetErrorMessage().Str()) == expected);
    }
    CHECK(ReadWholeFile(readOnly.Str()) == "kept");
}

TEST_CASE("a name holding %1 is inserted literally")
{
    CFileException e(CFileException::accessDenied, ERROR_ACCESS_DENIED, L"C:\\a%1b.txt");
    CHECK(e.GetErrorMessage() == CString(L"拒绝访问 C:\\a%1b.txt。"));
}

TEST_CASE("writing through a closed file throws instead of succeeding")
{
    CFile file;
    CHECK_THROWS_AS(file.Write("x", 1), CFileException);
}

TEST_CASE("the finder finds files and folders by exact name, and nothing for a missing name")
{
    TempFolder folder;
    REQUIRE(folder.Write(L"war3.exe", "MZ"));
    REQUIRE(folder.MakeFolder(L"maps"));
    CFileFind finder;
    CHECK(finder.FindFile(folder.PathOf(L"war3.exe").c_str()));
    CHECK_FALSE(finder.FindNextFile());
    CHECK(finder.GetFileName() == CString(L"war3.exe"));
    CHECK(finder.GetFilePath() == CString(folder.PathOf(L"war3.exe")));
    CHECK_FALSE(finder.IsDirectory());
    CHECK(finder.FindFile(folder.PathOf(L"maps").c_str()));
    finder.FindNextFile();
    CHECK(finder.IsDirectory());
    CHECK_FALSE(finder.FindFile(folder.PathOf(L"game.dll").c_str()));
    CHECK(finder.GetFileName().IsEmpty());
}
