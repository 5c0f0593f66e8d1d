// The publisher's popup notice: a small skinned window at the bottom-right corner of the work
// area, above all others. It fetches its notice when it is created, decides by itself whether
// to show it, shows it for 11 seconds and again every 40 minutes as often as the notice says.
// A click on it opens the notice's link; the close button keeps it away until a new notice.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "fw/Raii.h"
#include "ui/DlgEx.h"
#include "ui/StaticEx.h"
#include "web/NoticeLayout.h"
#include "web/NoticeRecord.h"
#include "web/NoticeShowings.h"

namespace vorel {

// The notice's text, and its picture when it will be shown, fetched on a worker thread.
struct NoticeFetchJob;

class CPopInfoDlg : public CDlgEx {
public:
    CPopInfoDlg();
    ~CPopInfoDlg() override;

    // Fetches the notice on a thread of its own, so that the main window's thread (which also
    // serves the keyboard hook) never waits on the network; posts `message` to notify once
    // the text, and the picture of a notice to be shown, have arrived (or failed). Then
    // CreateAndShow decides and shows from what was fetched. False when no thread started,
    // or a fetch was started already.
    bool StartFetch(HWND notify, UINT message);

    // Creates the popup from its template, owned by the main window (which then counts as
    // its parent: re-showings are seen only while it is visible), and decides. After
    // StartFetch it uses what was fetched; a popup created without it fetches here, on this
    // thread. A notice to show appears at once when the main window is visible, without
    // taking the keyboard focus from the game. FALSE when the window could not be created or
    // has ended already.
    BOOL CreateAndShow(HWND mainWindow);

    BOOL OnInitDialog() override;
    void DoDataExchange() override;
    // Enter and Escape do nothing.
    void OnOK() override;
    void OnCancel() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Where the notice comes from and where its state goes: the notice on the client web
    // host, "Statistic.ini" and "PopWnd.jpg" beside the executable. Set before creation to
    // use others.
    std::wstring m_noticeUrl;
    std::wstring m_settingsFile;
    std::wstring m_picturePath;

    // Filled by the decision when the notice is to be shown.
    NoticeRecord m_record;

    bool DecidedToShow() const { return m_show; }
    // Closed, clicked, through its showings, or not to be shown at all: hidden for good.
    bool HasEnded() const { return m_showings.state() == NoticeShowings::State::Ended; }
    NoticeVerdict Verdict() const { return m_verdict; }
    NoticeLayout Layout() const { return m_layout; }
    const NoticeShowings& Showings() const { return m_showings; }

protected:
    // The shell's "open" verb, maximised; reached only with a link that may be opened.
    virtual void OpenLink(const std::wstring& link);

private:
    void Decide();
    void BuildLayout();
    void PlaceAtWorkAreaCorner();
    void Apply(const NoticeStep& step);
    bool OnSysCommand(WPARAM command);
    bool IsParentVisible() const;
    // The fetched text: the worker's, or fetched here when no worker ran.
    std::wstring FetchedText();

    CStaticEx m_picture;  // 1019
    CStaticEx m_title;    // 1020
    CStaticEx m_content;  // 1021
    CStaticEx m_details;  // 1022
    // The controls' text at the picture's scale.
    fw::ScopedFont m_font;
    bool m_show = false;
    NoticeVerdict m_verdict = NoticeVerdict::NoText;
    NoticeLayout m_layout = NoticeLayout::TextOnly;
    // The showing counter lives here: the main window creates its popup once per process.
    NoticeShowings m_showings{0};
    std::shared_ptr<NoticeFetchJob> m_fetch;  // shared with the worker while it runs
};

}  // namespace vorel
