#include "framework/CWorkerThread.h"
#include <doctest/doctest.h>
#include <stdexcept>
#include <string>

TEST_CASE("a worker thread's wait returns once its function has, and the object starts another after")
{
    std::string log;
    CWorkerThread worker;
    CHECK_FALSE(worker);
    worker.Wait();  // nothing started: at once
    REQUIRE(worker.Start([&] { Sleep(50); log += "a"; }));
    CHECK(worker);
    // A second start waits for the first function before it runs its own.
    REQUIRE(worker.Start([&] { log += "b"; }));
    worker.Wait();
    CHECK(log == "ab");
    CHECK_FALSE(worker);
    // What leaves the function is dropped, and the wait still returns.
    REQUIRE(worker.Start([&] { throw std::runtime_error("dropped"); }));
    worker.Wait();
    {
        CWorkerThread scoped;
        REQUIRE(scoped.Start([&] { Sleep(50); log += "c"; }));
    }
    CHECK(log == "abc");
}
