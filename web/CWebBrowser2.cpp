#include "web/CWebBrowser2.h"
#include "web/CCustomControlSite.h"
#include "web/CCustomOccManager.h"
#include "web/PanelNavigation.h"

// {8856F961-340A-11D0-A96B-00C04FD705A2}
const CLSID CWebBrowser2::kClsid = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};

CWebBrowser2::CWebBrowser2()
{
    m_pOccManager = new CCustomOccManager;
    AfxEnableControlContainer(m_pOccManager);
}

CWebBrowser2::~CWebBrowser2()
{
    AfxEnableControlContainer(nullptr);
    delete m_pOccManager;
    m_pOccManager = nullptr;
}

bool CWebBrowser2::Create(const wchar_t*, const wchar_t* windowName, DWORD style, const RECT& rect, CWnd* parent,
                          UINT id, void*)
{
    return CreateControl(kClsid, windowName, style, rect, parent, id);
}

void CWebBrowser2::Navigate(const wchar_t* address, VARIANT* flags, VARIANT* targetFrameName, VARIANT* postData,
                            VARIANT* headers)
{
    static const BYTE kParams[] = {VT_BSTR, VT_MFCBYREF | VT_VARIANT, VT_MFCBYREF | VT_VARIANT,
                                   VT_MFCBYREF | VT_VARIANT, VT_MFCBYREF | VT_VARIANT, 0};
    VARIANT empty[4];
    for (VARIANT& value : empty) VariantInit(&value);
    // Where the program sends a panel is the panel's own server from then on.
    if (auto* site = dynamic_cast<CCustomControlSite*>(m_pCtrlSite)) site->SetPanelHost(WebHostOf(address));
    InvokeHelper(104, DISPATCH_METHOD, VT_EMPTY, nullptr, kParams, address, flags ? flags : &empty[0],
                 targetFrameName ? targetFrameName : &empty[1], postData ? postData : &empty[2],
                 headers ? headers : &empty[3]);
}
