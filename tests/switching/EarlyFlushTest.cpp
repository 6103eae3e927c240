#include "switching/EarlyFlush.h"
#include "TempFolder.h"
#include <doctest/doctest.h>

TEST_CASE("a file counts as flushed early only when its last queuing was flushed")
{
    struct Case { const char* name; bool presentAgain; bool flushed; };
    const Case cases[] = {
        {"flushed, then queued again and flushed again", true, true},
        // Queued again once rewritten, a flush that fails must leave it to the commit.
        {"flushed, then queued again and not flushable", false, false},
    };
    for (const Case& c : cases) {
        CAPTURE(std::string(c.name));
        TempFolder folder;
        REQUIRE(folder.Write(L"0.new", "staged"));
        EarlyFlush flush;
        flush.Add(folder.PathOf(L"0.new"));
        flush.Finish();
        CHECK(flush.Flushed(folder.PathOf(L"0.new")));
        if (!c.presentAgain) REQUIRE(DeleteFileW(folder.PathOf(L"0.new").c_str()));
        flush.Add(folder.PathOf(L"0.new"));
        flush.Finish();
        CHECK(flush.Flushed(folder.PathOf(L"0.new")) == c.flushed);
        CHECK_FALSE(flush.Flushed(folder.PathOf(L"1.new")));
    }
}
