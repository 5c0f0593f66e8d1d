// The new-tab choice that drops down under the main window's "登录其他账号" link: a tab in this
// window ("是") or a new main window ("否"). It answers its parent with a posted message and
// hides itself; clicking anywhere else dismisses it without an answer.
#pragma once
#include <windows.h>

#include "fw/Raii.h"
#include "ui/BtnEx.h"
#include "ui/DlgEx.h"
#include "ui/StaticEx.h"

namespace vorel {

class CAddAccDlg : public CDlgEx {
public:
    CAddAccDlg();

    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Answer(WPARAM choice);

    CBtnEx m_yesButton;
    CBtnEx m_noButton;
    CStaticEx m_question;
    fw::ScopedFont m_font;  // the controls' text at the picture's scale
};

}  // namespace vorel
