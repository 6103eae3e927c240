#include "MessageBoxWatcher.h"
#include "StandInServer.h"
#include "framework/CButton.h"
#include "framework/CComPtr.h"
#include "framework/CDialogEx.h"
#include "framework/COccManager.h"
#include "web/CCustomControlSite.h"
#include "web/CWebBrowser2.h"
#include <doctest/doctest.h>
#include <exdispid.h>
#include <functional>
#include <mshtmdid.h>
#include <mshtmhst.h>
#include <vector>

namespace {

// The main dialog's panels in a test template; the hooks run once the modal loop is going.
class PanelDialog : public CDialogEx {
public:
    PanelDialog() : CDialogEx(102) {}
    CWebBrowser2 top;
    CWebBrowser2 bottom;
    CButton button;
    std::function<void(PanelDialog&)> ready;
    std::function<void(PanelDialog&)> later;
    int oks = 0;
    int cancels = 0;

protected:
    void DoDataExchange(CDataExchange* exchange) override
    {
        DDX_Control(exchange, 1000, button);
        DDX_Control(exchange, 1006, top);
        DDX_Control(exchange, 1007, bottom);
    }
    BOOL OnInitDialog() override
    {
        CDialogEx::OnInitDialog();
        PostMessage(WM_APP);
        return TRUE;
    }
    void OnOK() override { ++oks; }
    void OnCancel() override { ++cancels; }
    LRESULT OnReady(WPARAM, LPARAM)
    {
        if (ready) ready(*this);
        PostMessage(WM_APP + 1);
        return 0;
    }
    LRESULT OnLater(WPARAM, LPARAM)
    {
        if (later) later(*this);
        CDialogEx::OnCancel();
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PanelDialog, CDialogEx)
    ON_MESSAGE(WM_APP, OnReady)
    ON_MESSAGE(WM_APP + 1, OnLater)
END_MESSAGE_MAP()

std::vector<int> ChildIds(HWND parent)
{
    std::vector<int> ids;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        ids.push_back(GetDlgCtrlID(child));
    return ids;
}

template <class T> CComPtr<T> Query(IUnknown* object)
{
    CComPtr<T> result;
    if (object) object->QueryInterface(__uuidof(T), reinterpret_cast<void**>(&result));
    return result;
}

size_t Position(const std::wstring& log, const std::wstring& line)
{
    return log.find(line + L"\n");
}

// Busy blocks of the process heap, where the local heap's blocks come from.
size_t BusyHeapBlocks()
{
    size_t busy = 0;
    HANDLE heap = GetProcessHeap();
    HeapLock(heap);
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heap, &entry))
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) ++busy;
    HeapUnlock(heap);
    return busy;
}

} // namespace

TEST_CASE("each wrapper puts its own manager in force; the default comes back when they go")
{
    AfxEnableControlContainer();
    COccManager* standard = AfxGetOccManager();
    REQUIRE(standard != nullptr);
    {
        CWebBrowser2 first;
        COccManager* firstManager = AfxGetOccManager();
        CHECK(firstManager != standard);
        {
            CWebBrowser2 second;
            CHECK(AfxGetOccManager() != firstManager);
            CHECK(AfxGetOccManager() != standard);
        }
        CHECK(AfxGetOccManager() == standard);
    }
    CHECK(AfxGetOccManager() == standard);

    // A manager that stayed behind would be one block per wrapper.
    for (int i = 0; i < 50; ++i) CWebBrowser2 warmUp;
    size_t before = BusyHeapBlocks();
    for (int i = 0; i < 2000; ++i) {
        CWebBrowser2 first;
        CWebBrowser2 second;
    }
    CHECK(BusyHeapBlocks() < before + 100);
}

TEST_CASE("the panels come up in custom sites before initialisation, in their template place, and go in order")
{
    StandInServer server;
    REQUIRE(server.Registered());
    AfxEnableControlContainer();
    std::vector<int> ids;
    bool customSites = false;
    std::wstring placed;
    {
        PanelDialog dialog;
        dialog.ready = [&](PanelDialog& d) {
            ids = ChildIds(d.m_hWnd);
            RECT rect{10, 22, 10 + 244, 22 + 25};  // the template's, in dialog units
            MapDialogRect(d.m_hWnd, &rect);
            placed = L"activate 1 " + std::to_wstring(rect.left) + L"," + std::to_wstring(rect.top) + L" " +
                     std::to_wstring(rect.right - rect.left) + L"x" + std::to_wstring(rect.bottom - rect.top) +
                     L" in site window";
            customSites = dynamic_cast<CCustomControlSite*>(d.top.m_pCtrlSite) &&
                          dynamic_cast<CCustomControlSite*>(d.bottom.m_pCtrlSite);
            d.top.Navigate(L"http://127.0.0.1/gg/3.htm", nullptr, nullptr, nullptr, nullptr);
        };
        CHECK(dialog.DoModal() == IDCANCEL);
        CHECK(dialog.top.m_pCtrlSite == nullptr);
        // Without a site the call does nothing.
        dialog.top.Navigate(L"x", nullptr, nullptr, nullptr, nullptr);
    }
    CHECK(customSites);
    CHECK(ids == std::vector<int>{1000, 1006, 1007, 1016});
    std::wstring log = server.Log();
    std::string text(log.begin(), log.end());  // the stand-in's lines are ASCII
    CAPTURE(text);
    CHECK(log.find(placed) != std::wstring::npos);
    CHECK(log.find(L"invoke 1 104 flags 1 noresult 16396->0 16396->0 16396->0 16396->0 8:http://127.0.0.1/gg/3.htm") !=
          std::wstring::npos);
    for (const wchar_t* index : {L"1", L"2"}) {
        std::wstring n(index);
        size_t deactivate = Position(log, L"deactivate " + n);
        size_t unadvise = Position(log, L"unadvise " + n);
        size_t cleared = Position(log, L"site " + n + L" cleared");
        size_t close = Position(log, L"close " + n);
        REQUIRE(close != std::wstring::npos);
        CHECK(deactivate < unadvise);
        CHECK(unadvise < cleared);
        CHECK(cleared < close);
        CHECK(Position(log, L"released " + n) != std::wstring::npos);
    }
    // The stand-in's own references were the last: each site goes with them.
    ULONG counts[2] = {99, 99};
    server.ReleaseSites(counts, 2);
    CHECK(counts[0] == 0);
    CHECK(counts[1] == 0);
}

TEST_CASE("the document-host interfaces share the site's identity and answer as the table says")
{
    StandInServer server;
    REQUIRE(server.Registered());
    AfxEnableControlContainer();
    PanelDialog dialog;
    dialog.ready = [&](PanelDialog& d) {
        CComPtr<IOleClientSite> site;
        site = server.Site(0);
        site->Release();  // the reference StandInSite gave
        REQUIRE(site);
        auto handler = Query<IDocHostUIHandler>(site);
        auto showUI = Query<IDocHostShowUI>(site);
        REQUIRE(handler);
        REQUIRE(showUI);
        auto identity = Query<IUnknown>(site);
        CHECK(Query<IUnknown>(handler).Get() == identity.Get());
        CHECK(Query<IUnknown>(showUI).Get() == identity.Get());
        ULONG count = handler->AddRef();
        CHECK(site->AddRef() == count + 1);
        CHECK(showUI->Release() == count);
        CHECK(handler->Release() == count - 1);
        CHECK(Query<IOleClientSite>(handler));
        CHECK(Query<IOleInPlaceSite>(handler));
        CHECK(Query<IOleWindow>(handler));
        CHECK(Query<IOleInPlaceFrame>(showUI));
        CHECK(Query<IOleControlSite>(showUI));
        CHECK(Query<IDispatch>(handler));

        DOCHOSTUIINFO info;
        memset(&info, 0xCD, sizeof info);
        DOCHOSTUIINFO expected = info;
        expected.dwFlags = 0x0F;
        expected.dwDoubleClick = 0;
        CHECK(handler->GetHostInfo(&info) == S_OK);
        CHECK(memcmp(&info, &expected, sizeof info) == 0);

        IDispatch* external = reinterpret_cast<IDispatch*>(&info);
        CHECK(handler->GetExternal(&external) == S_OK);
        CHECK(external == nullptr);

        POINT point{0, 0};
        MSG message{};
        message.message = WM_CHAR;
        struct Row {
            const char* method;
            HRESULT result;
        };
        const Row rows[] = {
            {"ShowContextMenu", handler->ShowContextMenu(0, &point, nullptr, nullptr)},
            {"ShowUI", handler->ShowUI(0, nullptr, nullptr, nullptr, nullptr)},
            {"HideUI", handler->HideUI()},
            {"UpdateUI", handler->UpdateUI()},
            {"EnableModeless", handler->EnableModeless(TRUE)},
            {"OnDocWindowActivate", handler->OnDocWindowActivate(TRUE)},
            {"OnFrameWindowActivate", handler->OnFrameWindowActivate(TRUE)},
            {"ResizeBorder", handler->ResizeBorder(nullptr, nullptr, TRUE)},
            {"TranslateAccelerator", handler->TranslateAccelerator(&message, nullptr, 0)},
            {"GetOptionKeyPath", handler->GetOptionKeyPath(nullptr, 0)},
            {"GetDropTarget", handler->GetDropTarget(nullptr, nullptr)},
            {"TranslateUrl", handler->TranslateUrl(0, nullptr, nullptr)},
            {"FilterDataObject", handler->FilterDataObject(nullptr, nullptr)},
            {"ShowHelp", showUI->ShowHelp(nullptr, nullptr, 0, 0, point, nullptr)},
        };
        const HRESULT expectedResults[] = {S_OK, S_OK, S_OK, S_OK, E_NOTIMPL, E_NOTIMPL, E_NOTIMPL,
                                           E_NOTIMPL, S_FALSE, E_NOTIMPL, E_NOTIMPL, E_NOTIMPL, E_NOTIMPL, S_OK};
        for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
            CAPTURE(rows[i].method);
            CHECK(rows[i].result == expectedResults[i]);
        }

        MessageBoxWatcher watcher;
        wchar_t text[] = L"页面的消息";
        wchar_t caption[] = L"page caption";
        LRESULT answer = 12345;
        CHECK(showUI->ShowMessage(d.m_hWnd, text, caption, MB_OKCANCEL | MB_ICONQUESTION, nullptr, 0, &answer) == S_OK);
        CHECK(watcher.seen == 1);
        CHECK(watcher.text == L"页面的消息");
        CHECK(watcher.caption == L"自定义浏览器");
        CHECK(watcher.icon == LoadIconW(nullptr, IDI_HAND));
        CHECK_FALSE(watcher.hasCancel);
        CHECK(watcher.owner == d.m_hWnd);
        CHECK(answer == 12345);
    };
    CHECK(dialog.DoModal() == IDCANCEL);
}

TEST_CASE("the modal loop gives an in-place control its keys before the dialog takes its own")
{
    StandInServer server;
    REQUIRE(server.Registered());
    AfxEnableControlContainer();
    PanelDialog dialog;
    int translatedFirst = -1;
    dialog.ready = [&](PanelDialog& d) {
        server.ClearLog();
        HWND panel = d.top.m_hWnd;
        ::SetFocus(panel);
        ::PostMessageW(panel, WM_KEYDOWN, VK_ESCAPE, 0);  // taken by the control
        ::PostMessageW(panel, WM_KEYDOWN, VK_RETURN, 0);  // the control passes it: the dialog's Enter
        ::PostMessageW(d.button.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);  // not the control's: the dialog's Escape
    };
    dialog.later = [&](PanelDialog&) { translatedFirst = server.Translated(); };
    CHECK(dialog.DoModal() == IDCANCEL);
    CHECK(translatedFirst == 1);
    CHECK(dialog.oks == 1);
    CHECK(dialog.cancels == 1);
}

TEST_CASE("a panel refuses plug-ins and keeps to its server; other pages and new windows go to the browser")
{
    StandInServer server;
    REQUIRE(server.Registered());
    AfxEnableControlContainer();
    server.ClearLog();
    std::vector<std::wstring> handed;
    std::vector<int> cancelled;
    PanelDialog dialog;
    dialog.ready = [&](PanelDialog& d) {
        auto* site = dynamic_cast<CCustomControlSite*>(d.top.m_pCtrlSite);
        if (!site) return;
        site->SetBrowserOpener([&](const CString& address) { handed.push_back(address.Str()); });
        d.top.Navigate(L"http://127.0.0.1:8080/gg/3.htm", nullptr, nullptr, nullptr, nullptr);
        auto fire = [&](DISPID dispid, const wchar_t* address, bool frame = false) {
            cancelled.push_back(server.Fire(d.top.m_hWnd, dispid, address, frame));
        };
        fire(DISPID_BEFORENAVIGATE2, L"http://127.0.0.1/gg/5.htm");
        fire(DISPID_NEWWINDOW2, nullptr);  // opens the page just asked for
        fire(DISPID_NAVIGATECOMPLETE2, nullptr);
        fire(DISPID_NEWWINDOW2, nullptr);  // nothing pending: nothing to open
        fire(DISPID_BEFORENAVIGATE2, L"http://other.example/ad");
        fire(DISPID_BEFORENAVIGATE2, L"http://other.example/frame", true);
        fire(DISPID_NEWWINDOW3, L"http://other.example/new");
        fire(DISPID_NEWWINDOW2, nullptr);  // the same window asked for again
        fire(DISPID_BEFORENAVIGATE2, L"about:blank");
        fire(DISPID_BEFORENAVIGATE2, L"res://ieframe.dll/navcancl.htm");
        fire(DISPID_BEFORENAVIGATE2, L"HTTP://127.0.0.1:80@other.example/");
        fire(DISPID_BEFORENAVIGATE2, L"http://other.example\\@127.0.0.1/");
        fire(DISPID_BEFORENAVIGATE2, L"file:///C:/windows/system32/calc.exe");  // not for the shell
    };
    CHECK(dialog.DoModal() == IDCANCEL);
    CHECK(cancelled == std::vector<int>{0, 1, 0, 1, 1, 0, 1, 1, 0, 0, 1, 1, 1});
    CHECK(handed == std::vector<std::wstring>{L"http://127.0.0.1/gg/5.htm", L"http://other.example/ad",
                                              L"http://other.example/new", L"HTTP://127.0.0.1:80@other.example/",
                                              L"http://other.example\\@127.0.0.1/"});
    const LONG flags = DLCTL_NO_DLACTIVEXCTLS | DLCTL_NO_RUNACTIVEXCTLS | DLCTL_NO_JAVA | DLCTL_NO_BEHAVIORS |
                       DLCTL_NO_FRAMEDOWNLOAD | DLCTL_DLIMAGES | DLCTL_VIDEOS | DLCTL_BGSOUNDS | DLCTL_SILENT;
    const std::wstring asked = L"dlcontrol " + std::to_wstring(VT_I4) + L":" + std::to_wstring(flags) + L"\n";
    const std::wstring log = server.Log();
    CHECK(log.find(asked) != std::wstring::npos);
    CHECK(log.find(asked, log.find(asked) + 1) != std::wstring::npos);  // both panels
}

TEST_CASE("a panel comes out only once its own page has completed without an error")
{
    StandInServer server;
    REQUIRE(server.Registered());
    AfxEnableControlContainer();
    const wchar_t* page = L"http://127.0.0.1/gg/3.htm";
    // Events in order: B the page's BeforeNavigate2, E its NavigateError, C its DocumentComplete, e and c
    // those of a frame; R and O the completion of the control's own page and of another server's.
    const struct { const char* events; bool shown; } rows[] = {{"", false}, {"C", true}, {"E", false}, {"EC", false},
        {"CE", false}, {"c", false}, {"eC", true}, {"EBC", true}, {"R", false}, {"O", false}};
    for (const auto& row : rows) {
        CAPTURE(row.events);
        PanelDialog dialog;
        bool shown = true;
        int errorPagesLetThrough = 0;
        dialog.ready = [&](PanelDialog& d) {
            d.top.Navigate(page, nullptr, nullptr, nullptr, nullptr);
            for (const char* e = row.events; *e; ++e) {
                const DISPID dispid = *e == 'B' ? DISPID_BEFORENAVIGATE2
                                    : (*e == 'E' || *e == 'e') ? DISPID_NAVIGATEERROR : DISPID_DOCUMENTCOMPLETE;
                const wchar_t* address = *e == 'R' ? L"res://ieframe.dll/dnserror.htm"
                                       : *e == 'O' ? L"http://other.example/gg/3.htm" : page;
                const int cancelled = server.Fire(d.top.m_hWnd, dispid, address, *e == 'e' || *e == 'c');
                errorPagesLetThrough += dispid == DISPID_NAVIGATEERROR && cancelled != 1;
            }
            shown = (d.top.GetStyle() & WS_VISIBLE) != 0;
        };
        CHECK(dialog.DoModal() == IDCANCEL);
        CHECK(shown == row.shown);
        CHECK(errorPagesLetThrough == 0);  // the control's own error page never comes up
    }
}
