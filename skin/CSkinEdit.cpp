#include "skin/CSkinEdit.h"
#include "framework/CWindowDC.h"
#include "res/resource.h"

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);
const COLORREF kWhite = RGB(255, 255, 255);

} // namespace

BEGIN_MESSAGE_MAP(CSkinEdit, CEdit)
    ON_WM_NCPAINT()
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

CSkinEdit::CSkinEdit() : m_crBack(RGB(255, 255, 255)), m_crText(RGB(0, 0, 0))
{
    m_bmpFrame.LoadBitmap(IDB_EDIT_FRAME);
    m_font.CreateFont(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, PROOF_QUALITY, FF_SWISS | DEFAULT_PITCH, L"宋体");
}

void CSkinEdit::OnNcPaint()
{
    // The system's border is not drawn: the frame picture takes its place. A window context,
    // because the frame reaches into the border, outside the client area.
    CWindowDC dc(this);
    CDC memory;
    memory.CreateCompatibleDC(&dc);
    CSelectGuard frame(memory, m_bmpFrame.GetSafeHandle());
    RECT window;
    GetWindowRect(&window);
    POINT client{0, 0};
    ::ClientToScreen(m_hWnd, &client);
    const int x = client.x - window.left;
    const int y = client.y - window.top - 5;
    dc.TransparentBlt(x - 5, y, 5, 30, &memory, 0, 0, 5, 30, kMagenta);
    // The middle leaves out its white interior, so that the edit's own content shows.
    dc.TransparentBlt(x, y, 75, 30, &memory, 5, 0, 75, 30, kWhite);
    dc.TransparentBlt(x + 75, y, 5, 30, &memory, 151, 0, 5, 30, kMagenta);
}

HBRUSH CSkinEdit::CtlColor(CDC* dc, UINT)
{
    m_brBack.CreateSolidBrush(m_crBack);
    dc->SetBkColor(m_crBack);
    dc->SetTextColor(m_crText);
    dc->SelectObject(m_font.GetSafeHandle());
    return m_brBack;
}
