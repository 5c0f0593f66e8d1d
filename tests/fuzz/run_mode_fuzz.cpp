// Command line and location → run mode.
// Texts: the executable's path, the product folder, then the argument vector (program name
// first).
#include <cwchar>

#include "app/RunMode.h"
#include "app/TextNumber.h"
#include "tests/fuzz/FuzzInput.h"

using namespace vorel;

namespace {

bool IsAscii(const std::wstring& text) {
    for (wchar_t c : text)
        if (c == 0 || uint32_t(c) > 0x7F) return false;
    return true;
}

// The C library's conversion, saturated to 32 bits.
int32_t LibraryToInt(const std::wstring& text) {
    const long long value = std::wcstoll(text.c_str(), nullptr, 10);
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return int32_t(value);
}

void CheckSlashedNumber(const std::wstring& argument, size_t capacity) {
    const int32_t value = ParseSlashedNumber(argument, capacity);
    // Only capacity - 2 characters after the skipped one can hold a sign or digits.
    int64_t bound = 1;
    for (size_t i = 2; i < capacity; ++i) bound *= 10;
    FUZZ_CHECK(int64_t(value) < bound && int64_t(value) > -bound);
    if (IsAscii(argument)) {
        const std::wstring held = argument.substr(0, capacity - 1);
        FUZZ_CHECK(value == (held.empty() ? 0 : LibraryToInt(held.substr(1))));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    const std::wstring exePath = input.Text();
    const std::wstring folder = input.Text();
    std::vector<std::wstring> args = input.Texts();
    if (args.empty()) args.push_back(L"TolvVorel.exe");

    const RunModeDecision d = DecideRunMode(args, exePath, folder);
    FUZZ_CHECK(d.mode >= ModeInstall && d.mode <= ModeGameHall);
    if (d.mode != ModeNewGameWindow) FUZZ_CHECK(d.tabNumber == 0);
    if (d.mode != ModeNewGameWindow && d.mode != ModeGameHall) FUZZ_CHECK(d.parentWindow == 0);
    if (d.mode == ModeInstall || d.mode == ModeInstalledStart)
        FUZZ_CHECK((d.mode == ModeInstalledStart) == RunsFromProductFolder(exePath, folder));
    else
        FUZZ_CHECK(args.size() > 1);

    // Switches, paths and folders compare without regard to ASCII letter case.
    std::vector<std::wstring> swapped = args;
    for (auto& arg : swapped) arg = fuzz::SwapAsciiCase(arg);
    const RunModeDecision s =
        DecideRunMode(swapped, fuzz::SwapAsciiCase(exePath), fuzz::SwapAsciiCase(folder));
    FUZZ_CHECK(s.mode == d.mode && s.parentWindow == d.parentWindow && s.tabNumber == d.tabNumber);

    // The handle and tab arguments are held in 16 and 8 characters.
    for (size_t i = 1; i < args.size(); ++i) {
        CheckSlashedNumber(args[i], 16);
        CheckSlashedNumber(args[i], 8);
    }
    if (IsAscii(exePath)) FUZZ_CHECK(WideToInt(exePath) == LibraryToInt(exePath));
    return 0;
}
