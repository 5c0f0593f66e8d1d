// The login picture: a borderless per-pixel-alpha window drawn from PNG 129 that can be
// dragged anywhere, with the web login page kept over it 52 pixels higher.
#pragma once
#include <windows.h>
#include <objidl.h>

#include <memory>
#include <string>

#include "fw/Dialog.h"
#include "fw/Raii.h"
#include "web/LoginDlg.h"

namespace Gdiplus {
class Bitmap;
}

namespace vorel {

class CLoginBkDlg : public fw::Dialog {
public:
    // parent: the main window that started this process (it is disabled while the login
    // runs); the login reports to it.
    CLoginBkDlg(HWND parent, int tabNumber, const std::wstring& loginUrl);
    ~CLoginBkDlg() override;

    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Enter never ends the login.
    BOOL PreTranslateMessage(MSG* msg) override;

    CLoginDlg& LoginDialog() { return m_login; }
    int ImageWidth() const { return m_width; }
    int ImageHeight() const { return m_height; }

    // How far above the picture the page window sits.
    static constexpr int kPageRaise = 52;

private:
    bool LoadPicture();
    void PaintLayered();

    fw::ComPtr<IStream> m_stream;  // the picture's bytes, read by GDI+ for the image's life
    std::unique_ptr<Gdiplus::Bitmap> m_image;
    int m_width = 0;
    int m_height = 0;
    HWND m_parentMainWindow;
    CLoginDlg m_login;
};

}  // namespace vorel
