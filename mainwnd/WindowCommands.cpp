// Commands of the system menu, the tray icon and the hide button.
//
// Not yet: the two menus, the tray callback and hiding/restoring everything arrive with the
// menus and hotkeys work. Until then the "系统" and hide buttons and the tray icon do nothing.
#include "mainwnd/Ambrel3Dlg.h"

namespace vorel {

void CAmbrel3Dlg::ToggleHideAll() {}

void CAmbrel3Dlg::BringToFront() {}

void CAmbrel3Dlg::ShowSystemMenu() {}

void CAmbrel3Dlg::ShowTrayMenu() {}

void CAmbrel3Dlg::OnTrayNotify(LPARAM) {}

}  // namespace vorel
