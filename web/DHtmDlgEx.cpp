#include "web/DHtmDlgEx.h"

#include <new>

#include "web/ImageButtonRules.h"
#include "web/MyBrowserControlSite.h"
#include "web/PageCommand.h"

namespace vorel {

namespace {

enum Handler {
    kButtonOut,
    kButtonOver,
    kButtonDown,
    kButtonUp,
    kDragDown,
    kDragUp,
    kDragMove,
    kNoContextMenu,
};

using fw::DhtmlMatchKind;
constexpr DhtmlMatchKind kClass = DhtmlMatchKind::Class;
constexpr DhtmlMatchKind kTag = DhtmlMatchKind::Tag;

const fw::DhtmlBinding kBindings[] = {
    {kClass, L"button", fw::dhtml_event::kMouseOut, kButtonOut},
    {kClass, L"button", fw::dhtml_event::kMouseOver, kButtonOver},
    {kClass, L"button", fw::dhtml_event::kMouseDown, kButtonDown},
    {kClass, L"button", fw::dhtml_event::kMouseUp, kButtonUp},
    {kTag, L"body", fw::dhtml_event::kMouseDown, kDragDown},
    {kTag, L"td", fw::dhtml_event::kMouseDown, kDragDown},
    {kTag, L"div", fw::dhtml_event::kMouseDown, kDragDown},
    {kTag, L"body", fw::dhtml_event::kMouseUp, kDragUp},
    {kTag, L"td", fw::dhtml_event::kMouseUp, kDragUp},
    {kTag, L"div", fw::dhtml_event::kMouseUp, kDragUp},
    {kTag, L"body", fw::dhtml_event::kMouseMove, kDragMove},
    {kTag, L"td", fw::dhtml_event::kMouseMove, kDragMove},
    {kTag, L"div", fw::dhtml_event::kMouseMove, kDragMove},
    {kTag, L"body", fw::dhtml_event::kContextMenu, kNoContextMenu},
    {kTag, L"td", fw::dhtml_event::kContextMenu, kNoContextMenu},
    {kTag, L"div", fw::dhtml_event::kContextMenu, kNoContextMenu},
};

void ShowFrame(const fw::HtmlElementPtr& element, ButtonFrame frame) {
    long left = 0, top = 0, width = 0, height = 0;
    if (!element->GetOffsets(&left, &top, &width, &height)) return;
    element->SetBackgroundPositionX(ButtonFrameOffset(frame, width));
}

}  // namespace

CDHtmDlgEx::CDHtmDlgEx(UINT templateId, HWND parent) : fw::DHtmlDialog(templateId, parent) {}

CDHtmDlgEx::~CDHtmDlgEx() = default;

BOOL CDHtmDlgEx::CreateControlSite(fw::BrowserHost* container, fw::BrowserControlSite** out, UINT,
                                   REFCLSID) {
    if (!out) return FALSE;
    *out = new (std::nothrow) CMyBrowserControlSite(container);
    return *out != nullptr;
}

BOOL CDHtmDlgEx::OnInitDialog() {
    fw::DHtmlDialog::OnInitDialog();
    if (IWebBrowser2* browser = Browser()) browser->put_Silent(VARIANT_TRUE);
    return TRUE;
}

void CDHtmDlgEx::OnOK() {}

BOOL CDHtmDlgEx::CanAccessExternal() { return TRUE; }

BOOL CDHtmDlgEx::IsExternalDispatchSafe() { return TRUE; }

void CDHtmDlgEx::OnNavigateComplete(IDispatch* disp, const wchar_t* url) {
    fw::DHtmlDialog::OnNavigateComplete(disp, url);
    // The host flags forbid scroll bars; each page still gets them where it overflows.
    if (const fw::HtmlDocumentPtr& document = Document()) document->SetBodyScroll(L"auto");
}

HRESULT CDHtmDlgEx::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) { return S_OK; }

HRESULT CDHtmDlgEx::GetHostInfo(DOCHOSTUIINFO* info) {
    fw::DHtmlDialog::GetHostInfo(info);
    if (info) info->dwFlags |= DOCHOSTUIFLAG_DIALOG;
    return S_OK;
}

void CDHtmDlgEx::OnNavigateError(IDispatch*, const wchar_t*, const wchar_t*, LONG,
                                 VARIANT_BOOL* cancel) {
    if (cancel) *cancel = VARIANT_TRUE;
}

HRESULT CDHtmDlgEx::ShowMessage(HWND, LPOLESTR, LPOLESTR, DWORD, LPOLESTR, DWORD, LRESULT*) {
    return S_FALSE;
}

HRESULT CDHtmDlgEx::ShowHelp(HWND, LPOLESTR, UINT, DWORD, POINT, IDispatch*) { return S_FALSE; }

void CDHtmDlgEx::OnBrowserBeforeNavigate2(IDispatch*, const wchar_t* url, DWORD, const wchar_t*,
                                          VARIANT*, const wchar_t*, VARIANT_BOOL* cancel) {
    if (!cancel) return;
    switch (FilterCommandScheme(url ? url : L"")) {
        case SchemeFilter::Cancel:
            *cancel = VARIANT_TRUE;
            break;
        case SchemeFilter::Allow:
            *cancel = VARIANT_FALSE;
            break;
        case SchemeFilter::Leave:
            break;
    }
}

void CDHtmDlgEx::OnBrowserNavigateError(IDispatch* disp, const wchar_t* url,
                                        const wchar_t* targetFrame, LONG statusCode,
                                        VARIANT_BOOL* cancel) {
    OnNavigateError(disp, url, targetFrame, statusCode, cancel);
}

const fw::DhtmlBinding* CDHtmDlgEx::GetDhtmlEventMap(size_t* count) {
    if (count) *count = sizeof(kBindings) / sizeof(kBindings[0]);
    return kBindings;
}

HRESULT CDHtmDlgEx::OnDhtmlEvent(int handler, const fw::HtmlElementPtr& source) {
    switch (handler) {
        case kButtonOut:
            return OnButtonMouseOut(source);
        case kButtonOver:
            return OnButtonMouseOver(source);
        case kButtonDown:
            return OnButtonMouseDown(source);
        case kButtonUp:
            return OnButtonMouseUp(source);
        case kDragDown:
            return OnDragMouse(WM_NCLBUTTONDOWN);
        case kDragUp:
            return OnDragMouse(WM_NCLBUTTONUP);
        case kDragMove:
            return OnDragMouse(WM_NCMOUSEMOVE);
        case kNoContextMenu:
            return S_FALSE;
    }
    return S_OK;
}

bool CDHtmDlgEx::HoldsCapture() const { return m_hWnd && ::GetCapture() == m_hWnd; }

void CDHtmDlgEx::ShowNormalFrame(const fw::HtmlElementPtr& element) {
    // While a press is in progress the pressed element keeps its pressed frame.
    if (!element || HoldsCapture()) return;
    ShowFrame(element, ButtonFrame::Normal);
}

void CDHtmDlgEx::ShowHoverFrame(const fw::HtmlElementPtr& element) {
    if (!element || HoldsCapture() || element->IsDisabled()) return;
    ShowFrame(element, ButtonFrame::Hover);
}

HRESULT CDHtmDlgEx::OnButtonMouseOut(const fw::HtmlElementPtr& element) {
    ShowNormalFrame(element);
    return S_FALSE;
}

HRESULT CDHtmDlgEx::OnButtonMouseOver(const fw::HtmlElementPtr& element) {
    ShowHoverFrame(element);
    return S_FALSE;
}

HRESULT CDHtmDlgEx::OnButtonMouseDown(const fw::HtmlElementPtr& element) {
    if (!element || element->IsDisabled()) return S_FALSE;
    m_pressed = element;
    ::SetCapture(m_hWnd);
    ShowFrame(element, ButtonFrame::Pressed);
    return S_FALSE;
}

HRESULT CDHtmDlgEx::OnButtonMouseUp(const fw::HtmlElementPtr& element) {
    ShowHoverFrame(element);
    if (element) element->Click();
    return S_FALSE;
}

HRESULT CDHtmDlgEx::OnDragMouse(UINT ncMessage) {
    POINT cursor = {0, 0};
    ::GetCursorPos(&cursor);
    SendMessage(ncMessage, HTCAPTION, MAKELPARAM(cursor.x, cursor.y));
    return S_FALSE;
}

LRESULT CDHtmDlgEx::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if ((msg == WM_LBUTTONUP || msg == WM_RBUTTONUP) && HoldsCapture()) {
        ::ReleaseCapture();
        if (fw::HtmlElementPtr pressed = std::move(m_pressed)) {
            long left = 0, top = 0, width = 0, height = 0;
            long x = 0, y = 0;
            PointFromMouseParam(static_cast<long long>(lParam), &x, &y);
            const bool inside = pressed->GetOffsets(&left, &top, &width, &height) &&
                                BoxContains(BoxFromOffsets(left, top, width, height), x, y);
            if (inside) {
                ShowHoverFrame(pressed);
                pressed->Click();
            } else {
                ShowNormalFrame(pressed);
            }
        }
        return 0;
    }
    return fw::DHtmlDialog::WindowProc(msg, wParam, lParam);
}

}  // namespace vorel
