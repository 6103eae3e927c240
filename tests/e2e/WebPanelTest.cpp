#include <winsock2.h>
#include "LauncherFolder.h"
#include "Utf8.h"
#include <doctest/doctest.h>
#include <algorithm>
#include <memory>
#include <string>

namespace {

// The test launcher's advertisement server (its build setting) is this port of the loopback.
const u_short kPort = 48213;

// A loopback HTTP server that records each request's path; it answers with a small page under the
// given status, or with status 0 holds every connection open without a word.
class LoopbackServer {
public:
    explicit LoopbackServer(int status) : m_status(status)
    {
        InitializeCriticalSection(&m_lock);
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(kPort);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_listening = bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                      listen(m_listener, 8) == 0;
        if (m_listening) m_thread = CreateThread(nullptr, 0, &LoopbackServer::ServeThread, this, 0, nullptr);
    }
    ~LoopbackServer()
    {
        closesocket(m_listener);
        if (m_thread) {
            WaitForSingleObject(m_thread, INFINITE);
            CloseHandle(m_thread);
        }
        for (SOCKET held : m_held) closesocket(held);
        WSACleanup();
        DeleteCriticalSection(&m_lock);
    }
    bool Listening() const { return m_listening; }
    std::vector<std::string> Paths()
    {
        EnterCriticalSection(&m_lock);
        std::vector<std::string> paths = m_paths;
        LeaveCriticalSection(&m_lock);
        return paths;
    }
    bool WaitForRequests(size_t count, DWORD timeoutMs)
    {
        return WaitUntil([&] { return Paths().size() >= count; }, timeoutMs);
    }

private:
    static DWORD WINAPI ServeThread(void* server)
    {
        static_cast<LoopbackServer*>(server)->Serve();
        return 0;
    }
    void Serve()
    {
        for (;;) {
            SOCKET client = accept(m_listener, nullptr, nullptr);
            if (client == INVALID_SOCKET) return;
            std::string request;
            char buffer[1024];
            int got;
            while (request.find("\r\n\r\n") == std::string::npos && (got = recv(client, buffer, sizeof buffer, 0)) > 0)
                request.append(buffer, static_cast<size_t>(got));
            size_t start = request.find(' ') + 1;
            EnterCriticalSection(&m_lock);
            m_paths.push_back(request.substr(start, request.find(' ', start) - start));
            LeaveCriticalSection(&m_lock);
            if (!m_status) {
                m_held.push_back(client);
                continue;
            }
            const std::string page = "HTTP/1.0 " + std::to_string(m_status) +
                                     " X\r\nContent-Type: text/html\r\nContent-Length: 13\r\n\r\n<p>panel</p>\n";
            send(client, page.data(), static_cast<int>(page.size()), 0);
            closesocket(client);
        }
    }
    int m_status;
    SOCKET m_listener = INVALID_SOCKET;
    bool m_listening = false;
    HANDLE m_thread = nullptr;
    CRITICAL_SECTION m_lock;
    std::vector<std::string> m_paths;
    std::vector<SOCKET> m_held;
};

// Starts, switches once, shows no other window and no panel, and closes with status 0.
void CheckLauncherWorks(LauncherFolder& game)
{
    REQUIRE(game.Start());
    Window dialog = game.WaitForDialog();
    REQUIRE_MESSAGE(dialog, Utf8(game.launcher.Describe()));
    CHECK(dialog.Control(1006).ClassName() == L"Shell Embedding");
    CHECK(dialog.Control(1007).ClassName() == L"Shell Embedding");
    CHECK(dialog.Command(1018));
    Window box = game.launcher.WaitForMessageBox(L"版本转换成功提示", 60000);
    REQUIRE_MESSAGE(box, Utf8(game.launcher.Describe()));
    MessageBoxWindow(box).Press(IDOK);
    MessageBoxWindow(box).WaitUntilClosed();
    CHECK(dialog.WaitForText(kTitle));
    // The answer, if any, came long before the switch ended: the window's pictures keep the panels' place.
    CHECK_FALSE(dialog.Control(IDC_WEB_TOP).IsVisible());
    CHECK_FALSE(dialog.Control(IDC_WEB_BOTTOM).IsVisible());
    std::vector<Window> windows = game.launcher.TopLevelWindows();
    CHECK_MESSAGE(windows.size() == 1, Utf8(game.launcher.Describe()));
    CHECK(dialog.Command(IDC_BTN_CLOSE));
    auto status = game.launcher.WaitForExit(10000);
    REQUIRE(status.has_value());
    CHECK(*status == 0);
}

} // namespace

TEST_CASE("each panel asks the advertisement server once for its page")
{
    LoopbackServer server(200);
    REQUIRE(server.Listening());
    LauncherFolder game(L"versiondll\\v124.dll", true, L"vorelin_loopback.exe");
    REQUIRE(game.Start());
    Window dialog = game.WaitForDialog();
    REQUIRE_MESSAGE(dialog, Utf8(game.launcher.Describe()));
    CHECK(server.WaitForRequests(2, 10000));
    Sleep(500);  // a repeated request would come within this
    std::vector<std::string> paths = server.Paths();
    std::sort(paths.begin(), paths.end());
    CHECK(paths == std::vector<std::string>{"/gg/3.htm", "/gg/4.htm"});
    // Without an HTML engine no page ever completes.
    CHECK_FALSE(dialog.Control(IDC_WEB_TOP).IsVisible());
    CHECK_FALSE(dialog.Control(IDC_WEB_BOTTOM).IsVisible());
    CHECK(dialog.Command(IDC_BTN_CLOSE));
    CHECK(game.launcher.WaitForExit(10000).has_value());
}

TEST_CASE("with the server down, answering with an error or never answering, the launcher works without panels")
{
    for (int status : {-1, 500, 0}) {  // down, an error status, silent
        CAPTURE(status);
        std::unique_ptr<LoopbackServer> server;
        if (status >= 0) server.reset(new LoopbackServer(status));
        LauncherFolder game(L"versiondll\\v124.dll", true, L"vorelin_loopback.exe");
        CheckLauncherWorks(game);
        if (server) CHECK(server->Paths().size() == 2);
    }
}
