// The "app:" page commands of the login page, and the command-scheme filter of the browser
// host: parsing, the account caption sent to the main window, and the refusal text.
#pragma once
#include <cstddef>
#include <string>

namespace vorel {

// What the browser host does with the cancel flag of a navigation.
enum class SchemeFilter {
    Leave,   // the flag stays as the browser passed it
    Cancel,  // "app:": never loaded
    Allow,   // "javascript": the flag is cleared
};
SchemeFilter FilterCommandScheme(const std::wstring& url);

enum class PageCommandKind {
    NotCommand,  // not "app:": the browser navigates normally
    LoadGame,
    ExitGame,
    Minimize,
    Unknown,  // any other command word: only cancelled
};

struct PageCommand {
    PageCommandKind kind = PageCommandKind::NotCommand;
    // "loadgame" only: the text between the "|" at position 14 and the next "|" from
    // position 15 on, and everything after that "|"; both empty without that second "|".
    std::wstring accountField;
    std::wstring gameAddress;
};

// Comparisons are exact and case-sensitive; the command word is the eight characters at
// positions 6 to 13 whatever positions 4 and 5 hold.
PageCommand ParsePageCommand(const std::wstring& url);

// Whether the account field goes through UnescapeAccountField: not empty and holding "%".
bool NeedsUnescape(const std::wstring& accountField);

// The most bytes of the field, in the ANSI code page, that are unescaped.
constexpr size_t kAccountFieldMaxBytes = 255;

// Decodes percent escapes in the field's ANSI-code-page bytes and reads the result as UTF-8.
// A field longer than kAccountFieldMaxBytes is cut there first, never inside an escape, and a
// character whose UTF-8 bytes the cut split is dropped. Invalid UTF-8 becomes U+FFFD. The
// result is UTF-16 code units whatever the width of wchar_t, so that lengths agree with the
// Windows build.
std::wstring UnescapeAccountField(const std::string& ansiBytes);

// The field split into server, server name and account and normalised: every "S" removed
// from the server, a server name holding U+300B cut to the (at most) four characters after
// its first one.
struct AccountCaption {
    std::wstring server;
    std::wstring serverName;
    std::wstring account;
    // server + "服-" + server name + "-" + account: the text sent to the main window.
    std::wstring text;
};
AccountCaption NormaliseAccountField(const std::wstring& accountField);

// cbData of the WM_COPYDATA record: the UTF-16 text with its terminating NUL, in bytes.
size_t CopyDataBytes(const std::wstring& text);

// The message shown when the main window refuses the login.
std::wstring RefusalMessage(const AccountCaption& caption);

// What "minimize" does: an extra tab's login ends; otherwise a window is minimised, the
// login's own window when user-account control is on, else the main window.
enum class MinimizeAction { EndLogin, MinimizeLoginWindow, MinimizeMainWindow };
MinimizeAction DecideMinimize(int tabNumber, bool uacEnabled);

}  // namespace vorel
