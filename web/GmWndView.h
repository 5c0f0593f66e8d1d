// The game window's document and view: an empty document, and the browser view that shows
// the game (or the game hall), keeps the page's title and address, fits the frame into the
// main window at every completed navigation, and runs the game hall's "app://entergame|".
#pragma once
#include <windows.h>

#include <string>

#include "fw/DocView.h"
#include "fw/HtmlView.h"

namespace vorel {

class CGmWndDoc : public fw::Document {};

class CGmWndView : public fw::HtmlView {
public:
    ~CGmWndView() override;

    int OnCreate(CREATESTRUCTW* cs) override;
    // Silent browser, recorded as the process's view, navigated to the game address.
    void OnInitialUpdate() override;
    // Games show neither border nor scroll bars; the hall keeps the browser's.
    HRESULT OnGetHostInfo(DOCHOSTUIINFO* info) override;
    void OnNavigateComplete2(const wchar_t* url) override;
    void OnTitleChange(const wchar_t* text) override;
    void OnBeforeNavigate2(const wchar_t* url, DWORD flags, const wchar_t* targetFrame,
                           VARIANT* postData, const wchar_t* headers, BOOL* cancel) override;

protected:
    // The shell's steps of the game-hall command.
    virtual void StartClient(const std::wstring& path);
    // OK in the download question: the client's download dialog, over the main window.
    virtual void OfferDownload(const std::wstring& exeStem);
    virtual void OpenSite(const std::wstring& address);
    virtual INT_PTR AskToDownload();
};

}  // namespace vorel
