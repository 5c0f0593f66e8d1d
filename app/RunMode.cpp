#include "app/RunMode.h"

#include "app/Protocol.h"
#include "app/TextNumber.h"

namespace vorel {

namespace {
constexpr size_t kHandleArgumentCapacity = 16;
constexpr size_t kTabArgumentCapacity = 8;

const std::wstring& ArgumentOrEmpty(const std::vector<std::wstring>& args, size_t index) {
    static const std::wstring empty;
    return index < args.size() ? args[index] : empty;
}
}  // namespace

int32_t ParseSlashedNumber(const std::wstring& argument, size_t capacity) {
    const std::wstring held = TruncateToBuffer(argument, capacity);
    // The first character is skipped unseen, slash or not; an empty argument has nothing
    // to skip and reads as 0 rather than reading past its end.
    if (held.empty()) return 0;
    return WideToInt(held.c_str() + 1);
}

bool RunsFromProductFolder(const std::wstring& exePath, const std::wstring& productFolder) {
    return AsciiUpper(exePath).find(AsciiUpper(productFolder)) != std::wstring::npos;
}

RunModeDecision DecideRunMode(const std::vector<std::wstring>& args, const std::wstring& exePath,
                              const std::wstring& productFolder) {
    RunModeDecision d;
    if (args.size() > 1) {
        Switch which;
        if (ParseSwitch(args[1], &which)) {
            switch (which) {
                case Switch::PartnerStart:
                    d.mode = ModePartnerStart;
                    return d;
                case Switch::ShortcutStart:
                    d.mode = ModeShortcutStart;
                    return d;
                case Switch::Uninstall:
                    d.mode = ModeUninstall;
                    return d;
                case Switch::Update:
                    d.mode = ModeUpdate;
                    return d;
                case Switch::NewGame:
                    d.mode = ModeNewGameWindow;
                    d.parentWindow =
                        ParseSlashedNumber(ArgumentOrEmpty(args, 2), kHandleArgumentCapacity);
                    d.tabNumber =
                        ParseSlashedNumber(ArgumentOrEmpty(args, 3), kTabArgumentCapacity);
                    return d;
                case Switch::GameHall:
                    d.mode = ModeGameHall;
                    d.parentWindow =
                        ParseSlashedNumber(ArgumentOrEmpty(args, 2), kHandleArgumentCapacity);
                    return d;
            }
        }
    }
    d.mode = RunsFromProductFolder(exePath, productFolder) ? ModeInstalledStart : ModeInstall;
    return d;
}

}  // namespace vorel
