#include "framework/CButton.h"
#include "framework/CDialogEx.h"
#include "framework/CStatic.h"
#include "framework/DialogTemplate.h"
#include "framework/ResourceData.h"
#include <doctest/doctest.h>
#include <vector>

namespace {

std::vector<unsigned char> TemplateBytes(int id)
{
    unsigned long size = 0;
    const auto* data = static_cast<const unsigned char*>(LoadResourceData(nullptr, MAKEINTRESOURCEW(id), RT_DIALOG, &size));
    return std::vector<unsigned char>(data, data + size);
}

class ProbeButton : public CButton {
public:
    bool preSubclassed = false;

protected:
    void PreSubclassWindow() override { preSubclassed = true; }
};

class TestDialog : public CDialogEx {
public:
    explicit TestDialog(int id) : CDialogEx(id) {}
    bool moveInInit = false;
    bool cancelInInit = true;
    bool visibleDuringInit = true;
    RECT windowAtEnd{};
    int items = 0;
    ProbeButton button;
    CStatic label;
    CStatic absent;

protected:
    void DoDataExchange(CDataExchange* exchange) override
    {
        DDX_Control(exchange, 10, button);
        DDX_Control(exchange, 11, label);
        DDX_Control(exchange, 12, absent);
    }
    BOOL OnInitDialog() override
    {
        CDialogEx::OnInitDialog();
        visibleDuringInit = IsWindowVisible();
        items = 0;
        for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) ++items;
        if (moveInInit) SetWindowPos(nullptr, 3, 4, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        // Sent once the modal loop runs: the dialog is up and centred by then.
        PostMessage(WM_APP);
        return TRUE;
    }
    LRESULT OnReady(WPARAM, LPARAM)
    {
        GetWindowRect(&windowAtEnd);
        if (cancelInInit) PostMessage(WM_COMMAND, IDCANCEL);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestDialog, CDialogEx)
    ON_MESSAGE(WM_APP, OnReady)
END_MESSAGE_MAP()

INT_PTR CALLBACK IgnoreAll(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

RECT WorkArea()
{
    RECT area;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

} // namespace

TEST_CASE("the template loader sets aside brace-class items and keeps the rest intact")
{
    for (int id : {200, 201}) {
        CAPTURE(id);
        std::vector<unsigned char> bytes = TemplateBytes(id);
        REQUIRE_FALSE(bytes.empty());
        std::vector<unsigned char> kept;
        std::vector<DialogTemplateItem> aside;
        REQUIRE(SplitDialogTemplate(bytes.data(), bytes.size(), kept, aside));
        REQUIRE(aside.size() == (id == 200 ? 2u : 1u));
        CHECK(aside[0].id == 12);
        CHECK(aside[0].className == CString(L"{8856F961-340A-11D0-A96B-00C04FD705A2}"));
        CHECK(aside[0].x == 10);
        CHECK(aside[0].cy == 25);
        CHECK((aside[0].style & WS_VISIBLE) != 0);
        // A template that the dialog manager accepts, with the other items only.
        HWND dialog = CreateDialogIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(kept.data()), nullptr,
                                                 IgnoreAll, 0);
        REQUIRE(dialog != nullptr);
        CHECK(GetDlgItem(dialog, 10) != nullptr);
        CHECK(GetDlgItem(dialog, 12) == nullptr);
        CHECK((GetDlgItem(dialog, 11) != nullptr) == (id == 200));
        DestroyWindow(dialog);
    }
}

TEST_CASE("a truncated or garbled template is refused without reading past its end")
{
    std::vector<unsigned char> bytes = TemplateBytes(200);
    std::vector<unsigned char> kept;
    std::vector<DialogTemplateItem> aside;
    for (size_t size = 0; size < bytes.size() - 4; ++size) {
        // Each prefix is copied to a buffer of exactly that size, so an overrun would read outside it.
        std::vector<unsigned char> prefix(bytes.begin(), bytes.begin() + static_cast<long>(size));
        CAPTURE(size);
        CHECK_FALSE(SplitDialogTemplate(prefix.data(), prefix.size(), kept, aside));
    }
    CHECK_FALSE(SplitDialogTemplate(nullptr, 10, kept, aside));
}

TEST_CASE("DoModal binds controls, runs initialisation hidden, centres and ends with IDCANCEL")
{
    TestDialog dialog(200);
    CHECK(dialog.DoModal() == IDCANCEL);
    CHECK_FALSE(dialog.visibleDuringInit);
    CHECK(dialog.items == 2);
    CHECK(dialog.button.preSubclassed);
    CHECK(dialog.absent.m_hWnd == nullptr);
    CHECK(dialog.GetSetAsideItems().size() == 2);
    CHECK(dialog.m_hWnd == nullptr);
    CHECK(dialog.button.m_hWnd == nullptr);
    RECT area = WorkArea();
    RECT& w = dialog.windowAtEnd;
    CHECK(std::abs((w.left + w.right) / 2 - (area.left + area.right) / 2) <= 1);
    CHECK(std::abs((w.top + w.bottom) / 2 - (area.top + area.bottom) / 2) <= 1);
}

TEST_CASE("a dialog that its initialisation moved stays where it was put")
{
    TestDialog dialog(200);
    dialog.moveInInit = true;
    CHECK(dialog.DoModal() == IDCANCEL);
    CHECK(dialog.windowAtEnd.left == 3);
    CHECK(dialog.windowAtEnd.top == 4);
}

TEST_CASE("a missing template gives -1")
{
    TestDialog dialog(999);
    CHECK(dialog.DoModal() == -1);
}
