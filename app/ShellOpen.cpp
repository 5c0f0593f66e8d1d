#include "app/ShellOpen.h"

#include <windows.h>
#include <exdisp.h>
#include <shellapi.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include "fw/Raii.h"

namespace vorel {

namespace {

class ScopedBstr {
public:
    explicit ScopedBstr(const std::wstring& text) : m_text(::SysAllocString(text.c_str())) {}
    ~ScopedBstr() { ::SysFreeString(m_text); }
    ScopedBstr(const ScopedBstr&) = delete;
    ScopedBstr& operator=(const ScopedBstr&) = delete;
    BSTR get() const { return m_text; }

private:
    BSTR m_text;
};

bool HasElevation() {
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    return ::GetVersionExW(&version) && version.dwMajorVersion >= 6;
}

// The desktop window's folder view, as its own scripting object.
HRESULT DesktopShell(fw::ComPtr<IShellDispatch2>& shell) {
    fw::ComPtr<IShellWindows> windows;
    HRESULT hr = windows.CreateInstance(CLSID_ShellWindows, CLSCTX_ALL);
    if (FAILED(hr)) return hr;
    VARIANT empty;
    ::VariantInit(&empty);
    LONG window = 0;
    fw::ComPtr<IDispatch> desktop;
    hr = windows->FindWindowSW(&empty, &empty, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                               desktop.Receive());
    if (hr != S_OK || !desktop) return FAILED(hr) ? hr : E_FAIL;
    fw::ComPtr<IServiceProvider> services;
    if (FAILED(hr = desktop.QueryInterface(services))) return hr;
    fw::ComPtr<IShellBrowser> browser;
    hr = services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.ReceiveVoid());
    if (FAILED(hr) || !browser) return FAILED(hr) ? hr : E_FAIL;
    fw::ComPtr<IShellView> view;
    hr = browser->QueryActiveShellView(view.Receive());
    if (FAILED(hr) || !view) return FAILED(hr) ? hr : E_FAIL;
    fw::ComPtr<IDispatch> background;
    hr = view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.ReceiveVoid());
    if (FAILED(hr) || !background) return FAILED(hr) ? hr : E_FAIL;
    fw::ComPtr<IShellFolderViewDual> folderView;
    if (FAILED(hr = background.QueryInterface(folderView))) return hr;
    fw::ComPtr<IDispatch> application;
    hr = folderView->get_Application(application.Receive());
    if (FAILED(hr) || !application) return FAILED(hr) ? hr : E_FAIL;
    return application.QueryInterface(shell);
}

}  // namespace

bool OpenThroughDesktop(const std::wstring& address, int showCommand) {
    fw::ScopedCoInit com;  // balanced either way; the callers' threads may have it already
    fw::ComPtr<IShellDispatch2> shell;
    if (FAILED(DesktopShell(shell)) || !shell) return false;
    ScopedBstr file(address);
    VARIANT none, operation, show;
    ::VariantInit(&none);
    ::VariantInit(&operation);
    ::VariantInit(&show);
    ScopedBstr open(L"open");
    operation.vt = VT_BSTR;
    operation.bstrVal = open.get();
    show.vt = VT_I4;
    show.lVal = showCommand;
    return file.get() && open.get() &&
           SUCCEEDED(shell->ShellExecute(file.get(), none, none, operation, show));
}

void OpenAddress(const std::wstring& address, int showCommand) {
    // Only where elevation exists does our own start differ from the user's; on XP the
    // desktop runs with the same rights as we do.
    if (HasElevation() && OpenThroughDesktop(address, showCommand)) return;
    ::ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, showCommand);
}

}  // namespace vorel
