// The skin gallery: opens the skinned windows of the UI toolkit side by side so that they can
// be looked at and photographed (scripts/gallery-shots.sh).
//
//   skin_gallery.exe dialogs|messages [seconds]
//
// Once everything is painted it writes gallery-ready-<scene>.txt beside itself, then stays
// for the given seconds (default 10) and ends.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "fw/App.h"
#include "fw/Raii.h"
#include "res/resource.h"
#include "ui/BtnEx.h"
#include "ui/DlgEx.h"
#include "ui/ImgProgress.h"
#include "ui/MessageBoxDlg.h"
#include "ui/SkinImage.h"
#include "ui/StaticEx.h"

namespace {

using vorel::CBtnEx;
using vorel::CDlgEx;
using vorel::CImgProgress;
using vorel::CStaticEx;
using vorel::LoadSkinBitmap;
using vorel::SkinInstance;

HBITMAP Skin(UINT id) { return LoadSkinBitmap(SkinInstance(), id); }

// A skinned window on the empty popup template, with whatever controls the scene gives it.
class GalleryWindow : public CDlgEx {
public:
    GalleryWindow() : CDlgEx(IDD_MESSAGEBOX, static_cast<HWND>(nullptr)) {}

    bool Open(const wchar_t* title, int x, int y, int width, int height) {
        if (!Create()) return false;
        ::SetWindowPos(m_hWnd, nullptr, x, y, width, height, SWP_NOZORDER);
        SetCaptionText(title);
        HICON icon = static_cast<HICON>(
            ::LoadImageW(SkinInstance(), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 16, 16, 0));
        if (icon) SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
        return true;
    }

    // The dialog-skin layout of the settings, progress and message-box dialogs.
    void DialogSkin() {
        m_captionHeight = 30;
        m_borderWidth = 4;
        m_buttonRightMargin = 0;
        m_buttonTopMargin = 0;
        vorel::SkinSpec look;
        look.background = Skin(IDP_DIALOG_BACKGROUND);
        look.stretchBackground = TRUE;
        fw::ScopedBitmap close(Skin(IDP_BUTTON_CLOSE));
        SetSkin(look, close.get());
    }

    // The main window's layout: its own background and the three caption buttons.
    void MainSkin() {
        m_captionHeight = 30;
        m_borderWidth = 4;
        m_buttonRightMargin = 0;
        m_buttonTopMargin = 0;
        m_resizable = TRUE;
        vorel::SkinSpec look;
        look.background = Skin(IDP_MAIN_BACKGROUND);
        look.stretchBackground = TRUE;
        fw::ScopedBitmap close(Skin(IDP_BUTTON_CLOSE)), minimize(Skin(IDP_BUTTON_MINIMIZE));
        look.minimizeImage = minimize.get();
        look.maximizeImage = Skin(IDP_BUTTON_MAXIMIZE);
        look.restoreImage = Skin(IDP_BUTTON_RESTORE);
        SetSkin(look, close.get());
    }

    // A whole-window background with the window sized to it (add-account dialog, notices).
    void FittedSkin(UINT background, UINT close, int caption, int border, int right, int top) {
        m_captionHeight = caption;
        m_borderWidth = border;
        m_buttonRightMargin = right;
        m_buttonTopMargin = top;
        vorel::SkinSpec look;
        look.background = Skin(background);
        look.fitWindowToImage = TRUE;
        fw::ScopedBitmap strip(close ? Skin(close) : nullptr);
        SetSkin(look, strip.get());
    }

    CBtnEx& Button(const wchar_t* text, int x, int y, UINT strip, int width = 0, int height = 0) {
        m_buttons.push_back(std::make_unique<CBtnEx>());
        CBtnEx& button = *m_buttons.back();
        fw::ScopedBitmap image(Skin(strip));
        const SIZE size = vorel::BitmapSize(image.get());
        if (!width) width = size.cx / CBtnEx::kStripFrames;
        if (!height) height = size.cy;
        button.CreateEx(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE, x, y, width, height, m_hWnd,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + m_buttons.size())));
        button.SetStripImage(image.get(), FALSE);
        button.m_text = text;
        return button;
    }

    CStaticEx& Label(const wchar_t* text, int x, int y, int width, int height, DWORD style = 0) {
        m_labels.push_back(std::make_unique<CStaticEx>());
        CStaticEx& label = *m_labels.back();
        HWND wnd = ::CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | style, x, y, width,
                                     height, m_hWnd, nullptr, nullptr, nullptr);
        ::SendMessageW(wnd, WM_SETFONT, SendMessage(WM_GETFONT), FALSE);
        label.SubclassWindow(wnd);
        return label;
    }

    CImgProgress& Progress(int x, int y, int position) {
        m_bars.push_back(std::make_unique<CImgProgress>());
        CImgProgress& bar = *m_bars.back();
        HWND wnd = ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, x, y, 10, 10,
                                     m_hWnd, nullptr, nullptr, nullptr);
        bar.SubclassWindow(wnd);
        bar.SetImages(Skin(IDP_PROGRESS_BACKGROUND), Skin(IDP_PROGRESS_FILL));
        bar.SendMessage(PBM_SETPOS, position);
        return bar;
    }

    void HoverMaximize() { m_maximizeButton.SendMessage(WM_MOUSEHOVER); }

private:
    std::vector<std::unique_ptr<CBtnEx>> m_buttons;
    std::vector<std::unique_ptr<CStaticEx>> m_labels;
    std::vector<std::unique_ptr<CImgProgress>> m_bars;
};

// The button states as the mouse would leave them.
void ForceHover(CBtnEx& button) { button.SendMessage(WM_MOUSEHOVER); }
void ForcePressed(CBtnEx& button) { button.SendMessage(BM_SETSTATE, TRUE); }
void ForceDisabled(CBtnEx& button) { ::EnableWindow(button.m_hWnd, FALSE); }

// The standard dialog skin with every control of the toolkit.
void ControlsScene(std::vector<std::unique_ptr<GalleryWindow>>& windows) {
    auto controls = std::make_unique<GalleryWindow>();
    if (controls->Open(L"控件一览 — 对话框皮肤 131", 30, 30, 560, 400)) {
        GalleryWindow& w = *controls;
        w.DialogSkin();
        w.Label(L"命令按钮 133：正常、悬停、按下、禁用", 20, 44, 520, 16);
        w.Button(L"确定", 20, 66, IDP_BUTTON_COMMAND);
        ForceHover(w.Button(L"取消", 95, 66, IDP_BUTTON_COMMAND));
        ForcePressed(w.Button(L"是", 170, 66, IDP_BUTTON_COMMAND));
        ForceDisabled(w.Button(L"否", 245, 66, IDP_BUTTON_COMMAND));
        w.Label(L"拉伸到 90 × 30 的按钮", 330, 72, 200, 16);

        CStaticEx& link = w.Label(L"登录其他账号", 20, 110, 140, 20, SS_NOTIFY);
        link.m_handCursor = TRUE;
        link.m_underline = TRUE;
        link.m_textColour = RGB(0x1d, 0x5f, 0xa8);
        fw::ScopedBitmap linkIcon(Skin(IDP_LINK_ICON));
        link.SetImage(linkIcon.get());
        CStaticEx& hovered = w.Label(L"登录其他账号", 180, 110, 140, 20, SS_NOTIFY);
        hovered.m_handCursor = TRUE;
        hovered.m_underline = TRUE;
        hovered.m_textColour = RGB(0x1d, 0x5f, 0xa8);
        hovered.m_hoverColour = RGB(0xd2, 0x6a, 0x00);
        hovered.m_hoverColourEnabled = TRUE;
        hovered.SetImage(linkIcon.get());
        hovered.SendMessage(WM_MOUSEHOVER);
        w.Label(L"← 链接，悬停时变色", 330, 112, 200, 16);

        CStaticEx& wrapped = w.Label(
            L"热键冲突，请重新设置不同热键值。\r\n这一行比标签宽得多，所以按字符换行，"
            L"单词 inside-a-word 也会被断开。",
            20, 145, 280, 20);
        wrapped.m_textColour = RGB(0x33, 0x33, 0x33);
        CStaticEx& bold = w.Label(L"加粗 14 像素的标题", 340, 145, 200, 20);
        bold.m_fontHeight = -14;
        bold.m_fontWeight = FW_BOLD;
        bold.m_textColour = RGB(0x8a, 0x5a, 0x00);

        const int positions[] = {0, 50, 100};
        for (int i = 0; i < 3; ++i) {
            w.Label((std::to_wstring(positions[i]) + L"%").c_str(), 20, 238 + i * 34, 40, 16);
            w.Progress(70, 235 + i * 34, positions[i]);
        }
        ::ShowWindow(w.m_hWnd, SW_SHOWNOACTIVATE);
        CBtnEx& stretched = w.Button(L"拉伸", 450, 66, IDP_BUTTON_COMMAND, 90, 30);
        (void)stretched;
        windows.push_back(std::move(controls));
    }
}

// The main window's skin with its caption buttons; the maximize button hovered.
void MainSkinScene(std::vector<std::unique_ptr<GalleryWindow>>& windows) {
    auto main = std::make_unique<GalleryWindow>();
    if (main->Open(L"VorelTolv登录器 — 主窗口皮肤 134", 620, 30, 620, 300)) {
        GalleryWindow& w = *main;
        w.MainSkin();
        // Tool buttons left of the caption buttons (close 33, maximize and minimize 27 each).
        const int right = 620 - 33 - 27 - 27 - 4;
        CBtnEx& system = w.Button(L"系统", right - 44, 0, IDP_BUTTON_SYSTEM);
        system.m_textColour = RGB(0x3a, 0x24, 0x00);
        ForceHover(system);
        w.Button(L"", right - 44 - 27, 1, IDP_BUTTON_SOUND_ON);
        ForcePressed(w.Button(L"", right - 44 - 54, 1, IDP_BUTTON_SOUND_MUTED));
        w.Button(L"", right - 44 - 81, 1, IDP_BUTTON_CAPTION);
        w.HoverMaximize();
        ::ShowWindow(w.m_hWnd, SW_SHOWNOACTIVATE);
        windows.push_back(std::move(main));
    }
}

// Whole-window backgrounds: the add-account dialog and a notice with its close button.
void BackgroundScenes(std::vector<std::unique_ptr<GalleryWindow>>& windows) {
    auto account = std::make_unique<GalleryWindow>();
    if (account->Open(L"登录其他账号", 620, 360, 300, 200)) {
        GalleryWindow& w = *account;
        w.m_titleColour = RGB(255, 255, 255);
        w.FittedSkin(IDP_ADDACCOUNT_BACKGROUND, 0, 30, 3, 5, 1);
        CStaticEx& question =
            w.Label(L"在当前窗口新增标签页？\r\n点击“否”打开新的主窗口。", 20, 50, 240, 20);
        question.m_textColour = RGB(0x22, 0x22, 0x22);
        w.Button(L"是", 60, 110, IDP_BUTTON_COMMAND);
        w.Button(L"否", 160, 110, IDP_BUTTON_COMMAND);
        ::ShowWindow(w.m_hWnd, SW_SHOWNOACTIVATE);
        windows.push_back(std::move(account));
    }
    auto notice = std::make_unique<GalleryWindow>();
    if (notice->Open(L"公告", 950, 360, 250, 191)) {
        GalleryWindow& w = *notice;
        w.m_showTitle = FALSE;
        w.m_showIcon = FALSE;
        w.FittedSkin(IDP_NOTICE_TEXT, IDP_NOTICE_CLOSE_SMALL, 0, 3, 3, 3);
        CStaticEx& text =
            w.Label(L"新服开启公告：\r\n全新服务器今日开放，欢迎各位玩家。", 15, 40, 220, 20);
        text.m_textColour = RGB(0x22, 0x22, 0x22);
        ::ShowWindow(w.m_hWnd, SW_SHOWNOACTIVATE);
        windows.push_back(std::move(notice));
    }
}

void SceneDialogs(std::vector<std::unique_ptr<GalleryWindow>>& windows) {
    ControlsScene(windows);
    MainSkinScene(windows);
    BackgroundScenes(windows);
}

void SceneMessages(std::vector<std::unique_ptr<vorel::CMessageBox>>& boxes) {
    struct Box {
        int type;
        const wchar_t* title;
        const wchar_t* text;
        int x, y;
    };
    const Box all[] = {
        {0, L"Vorel - Tolv", L"缓存清除完毕！", 40, 40},
        {4, L"Vorel - Tolv", L"窗口即将关闭，确定要退出游戏？", 260, 40},
        {1, L"VorelFennik游戏大厅", L"下载Fennik登录器，玩游戏更加方便快捷，现在就去下载吧？", 560,
         40},
        {2, L"Vorel - Tolv", L"已经是最新版本，无需进行更新。", 40, 240},
        {0, L"Vorel - Tolv",
         L"Vorel - Tolv已成功移除，部分文件将在程序退出\r\n或计算机重启后自行删除", 330, 240},
        {4, L"Vorel - Tolv", L"第一行\n第二行：确定要退出账号：1服-晨曦-player01 ?\n第三行", 40,
         420},
        {0, L"Vorel - Tolv", L"账号 player01 已在 1服 登录，同一账号不能在一服重复登录", 560, 420},
    };
    for (const Box& b : all) {
        auto box = std::make_unique<vorel::CMessageBox>(nullptr);
        box->LoadSkinImages(SkinInstance());
        box->m_type = b.type;
        box->m_title = b.title;
        box->m_text = b.text;
        if (!box->Create()) continue;
        ::SetWindowPos(box->m_hWnd, nullptr, b.x, b.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ::ShowWindow(box->m_hWnd, SW_SHOWNOACTIVATE);
        boxes.push_back(std::move(box));
    }
    // One box with its "是" button hovered and "否" pressed, as the mouse would leave them.
    if (boxes.size() > 1) {
        HWND box = boxes[1]->m_hWnd;
        ::SendMessageW(::GetDlgItem(box, 5000), WM_MOUSEHOVER, 0, 0);
    }
}

void PumpFor(DWORD milliseconds) {
    const DWORD end = ::GetTickCount() + milliseconds;
    while (static_cast<int>(end - ::GetTickCount()) > 0) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!fw::App::PreTranslate(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

std::wstring BesideExe(const std::wstring& name) {
    wchar_t path[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path);
    return dir.substr(0, dir.find_last_of(L"\\/") + 1) + name;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    const std::wstring scene = argc > 1 ? argv[1] : L"dialogs";
    const int seconds = argc > 2 ? _wtoi(argv[2]) : 10;
    ::LocalFree(argv);

    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);

    std::vector<std::unique_ptr<GalleryWindow>> windows;
    std::vector<std::unique_ptr<vorel::CMessageBox>> boxes;
    if (scene == L"messages") {
        SceneMessages(boxes);
    } else {
        SceneDialogs(windows);
    }
    PumpFor(1500);
    HANDLE ready = ::CreateFileW(BesideExe(L"gallery-ready-" + scene + L".txt").c_str(),
                                 GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (ready != INVALID_HANDLE_VALUE) ::CloseHandle(ready);
    PumpFor(DWORD(seconds) * 1000);
    return 0;
}
