// The game-hall page's "app://entergame|" command: which client to start and which site to
// open instead.
#pragma once
#include <string>

namespace vorel {

struct EnterGameCommand {
    // The address holds "app://entergame|": the navigation is cancelled whatever follows.
    bool isCommand = false;
    // The name is not a plain file-name stem (or is empty): nothing is started or opened.
    bool refused = false;
    // The client's file name without ".exe": the name after the prefix, "/" removed, its
    // first character's code reduced by 32 (a lower-case letter becomes its capital).
    std::wstring exeStem;
    // The page's site address when it is an http:// or https:// address, else the game-hall
    // home page.
    std::wstring siteAddress;
};

// hallHome: the game-hall web site's home page, used when the page names no web address.
EnterGameCommand ParseEnterGame(const std::wstring& address, const std::wstring& hallHome);

// An address that the shell may open: http:// or https://, the scheme in any case.
bool IsWebAddress(const std::wstring& address);

}  // namespace vorel
