#include "switching/BackgroundFlush.h"
#include "TempFolder.h"
#include <doctest/doctest.h>

TEST_CASE("the background flush gives each file's result once all are done, the latest for a file queued twice")
{
    TempFolder folder;
    CHECK(BackgroundFlush().Wait().empty());
    BackgroundFlush flush;
    for (int i = 0; i < 40; ++i) REQUIRE(folder.Write(std::to_wstring(i) + L".new", std::string(100000, char('a' + i % 26))));
    for (int i = 0; i < 40; ++i) flush.Add(folder.PathOf(std::to_wstring(i) + L".new"));
    flush.Add(folder.PathOf(L"gone.new"));
    std::map<std::wstring, DWORD> results = flush.Wait();
    CHECK(results.size() == 41);
    for (int i = 0; i < 40; ++i) CHECK(results[folder.PathOf(std::to_wstring(i) + L".new")] == 0u);
    CHECK(results[folder.PathOf(L"gone.new")] == static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    REQUIRE(folder.Write(L"gone.new", "here now"));
    flush.Add(folder.PathOf(L"gone.new"));
    CHECK(flush.Wait()[folder.PathOf(L"gone.new")] == 0u);
}
