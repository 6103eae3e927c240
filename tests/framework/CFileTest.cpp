#include "framework/CFile.h"
#include "framework/CFileException.h"
#include "framework/CFileFind.h"
#include "tests/ScratchFolder.h"
#include <doctest/doctest.h>

namespace {
const unsigned int kCreateWrite = CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive;

std::string Narrow(const CString& text)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? static_cast<size_t>(n - 1) : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], n, nullptr, nullptr);
    return out;
}

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
    ScratchFolder folder;
    CString path = folder / L"out.bin";
    REQUIRE(WriteWholeFile(path, "a much longer old content", 25));
    {
        CFile file(path, kCreateWrite);
        file.Write("new", 3);
        file.Close();
        CHECK_FALSE(file.IsOpen());
    }
    CHECK(ReadWholeFile(path) == "new");
}

TEST_CASE("file failures throw with cause, system error and the file's name")
{
    ScratchFolder folder;
    CString held = folder / L"held.bin";
    CString folderAsFile = folder / L"sub";
    REQUIRE(CreateDirectoryW(folderAsFile, nullptr));
    CString readOnly = folder / L"readonly.bin";
    REQUIRE(WriteWholeFile(readOnly, "kept", 4));
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
        {folder / L"missing.bin", remove, CFileException::fileNotFound, "未找到 %s。"},
        {folder / L"no\\such\\dir.bin", open, CFileException::badPath, "%s 包含无效路径。"},
    };
    for (const Case& c : cases) {
        CAPTURE(Narrow(c.path));
        CFileException e = CaughtFrom(c.action, c.path);
        CHECK(e.m_cause == c.cause);
        CHECK(e.m_lOsError != 0);
        CHECK(e.m_strFileName == c.path);
        std::string expected = c.message;
        expected.replace(expected.find("%s"), 2, Narrow(c.path));
        CHECK(Narrow(e.GetErrorMessage()) == expected);
    }
    CHECK(ReadWholeFile(readOnly) == "kept");
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
    ScratchFolder folder;
    REQUIRE(WriteWholeFile(folder / L"war3.exe", "MZ", 2));
    REQUIRE(CreateDirectoryW(folder / L"maps", nullptr));
    CFileFind finder;
    CHECK(finder.FindFile(folder / L"war3.exe"));
    CHECK_FALSE(finder.FindNextFile());
    CHECK(finder.GetFileName() == CString(L"war3.exe"));
    CHECK(finder.GetFilePath() == folder / L"war3.exe");
    CHECK_FALSE(finder.IsDirectory());
    CHECK(finder.FindFile(folder / L"maps"));
    finder.FindNextFile();
    CHECK(finder.IsDirectory());
    CHECK_FALSE(finder.FindFile(folder / L"game.dll"));
    CHECK(finder.GetFileName().IsEmpty());
}
