#include "web/GameHallCommand.h"

#include "web/FileNameRules.h"

namespace vorel {

namespace {

const wchar_t kEnterGame[] = L"app://entergame|";
constexpr size_t kEnterGameLength = 16;

bool StartsWithNoCase(const std::wstring& text, const wchar_t* prefix) {
    size_t i = 0;
    for (; prefix[i]; ++i) {
        if (i >= text.size()) return false;
        wchar_t a = text[i], b = prefix[i];
        if (a >= L'A' && a <= L'Z') a = a - L'A' + L'a';
        if (a != b) return false;
    }
    return true;
}

}  // namespace

bool IsWebAddress(const std::wstring& address) {
    return (StartsWithNoCase(address, L"http://") && address.size() > 7) ||
           (StartsWithNoCase(address, L"https://") && address.size() > 8);
}

EnterGameCommand ParseEnterGame(const std::wstring& address, const std::wstring& hallHome) {
    EnterGameCommand command;
    if (address.find(kEnterGame) == std::wstring::npos) return command;
    command.isCommand = true;

    std::wstring name =
        address.size() > kEnterGameLength ? address.substr(kEnterGameLength) : std::wstring();
    std::wstring site;
    bool siteGiven = false;
    const size_t bar = name.find(L'|');
    if (bar != std::wstring::npos) {
        site = name.substr(bar + 1);
        siteGiven = true;
        name.erase(bar);
    }

    std::wstring stem;
    for (wchar_t c : name) {
        if (c != L'/') stem.push_back(c);
    }
    // A first character below 32 would wrap around differently with 16-bit and 32-bit
    // wchar_t; it is a control character either way and refused below.
    const bool wraps = !stem.empty() && static_cast<unsigned long>(stem[0]) < 32;
    if (!stem.empty() && !wraps) stem[0] = static_cast<wchar_t>(stem[0] - 32);

    // A page must not make us start a program outside the product folder: only a plain
    // file name is taken.
    if (wraps || !IsPlainFileStem(stem)) {
        command.refused = true;
        return command;
    }
    command.exeStem = stem;
    // Nor make the shell open a local program or file: only web addresses are opened.
    command.siteAddress = siteGiven && IsWebAddress(site) ? site : hallHome;
    return command;
}

}  // namespace vorel
