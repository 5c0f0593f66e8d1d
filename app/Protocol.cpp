#include "app/Protocol.h"

#include "app/TextNumber.h"

namespace vorel {

namespace {
struct SwitchName {
    Switch which;
    const wchar_t* text;
};
constexpr SwitchName kSwitches[] = {
    {Switch::PartnerStart, L"/OldraD"}, {Switch::ShortcutStart, L"/VorelD"},
    {Switch::Uninstall, L"/uninst"},    {Switch::Update, L"/update"},
    {Switch::NewGame, L"/newgm"},       {Switch::GameHall, L"/gmhall"},
};
}  // namespace

const wchar_t* SwitchText(Switch which) {
    for (const SwitchName& s : kSwitches) {
        if (s.which == which) return s.text;
    }
    return L"";
}

bool ParseSwitch(const std::wstring& argument, Switch* which) {
    for (const SwitchName& s : kSwitches) {
        if (EqualsIgnoreAsciiCase(argument, s.text)) {
            *which = s.which;
            return true;
        }
    }
    return false;
}

std::wstring ProgramCommandLine(const std::wstring& exePath, Switch which,
                                std::initializer_list<std::int64_t> numbers) {
    std::wstring line = L"\"" + exePath + L"\" " + SwitchText(which);
    for (const std::int64_t n : numbers) line += L" /" + FormatInteger(n);
    return line;
}

}  // namespace vorel
