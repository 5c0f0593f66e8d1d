// The game-hall page's "app://entergame|" navigations: which client is started and which
// site opened. Texts: the navigated address, the hall's home page, the folder the client's
// file name is joined to.
#include "tests/fuzz/FuzzInput.h"
#include "web/FileNameRules.h"
#include "web/GameHallCommand.h"

using namespace vorel;

namespace {

const wchar_t kPrefix[] = L"app://entergame|";

size_t Count(const std::wstring& text, wchar_t c) {
    size_t n = 0;
    for (wchar_t t : text) n += t == c;
    return n;
}

// A name the checks accept stays one component inside the folder it is joined to.
void CheckStaysInFolder(const std::wstring& folder, const std::wstring& stem) {
    FUZZ_CHECK(IsPlainFileStem(stem));
    FUZZ_CHECK(stem != L"." && stem != L".." && stem.find(L"..") == std::wstring::npos);
    const std::wstring path = JoinFilePath(folder, stem, L".exe");
    if (path.empty()) {
        FUZZ_CHECK(folder.size() + 1 + stem.size() + 4 > 259);
        return;
    }
    FUZZ_CHECK(path.size() <= 259);
    FUZZ_CHECK(path == folder + L"\\" + stem + L".exe");
    FUZZ_CHECK(Count(path, L'\\') == Count(folder, L'\\') + 1);
    FUZZ_CHECK(Count(path, L'/') == Count(folder, L'/'));
    FUZZ_CHECK(Count(path, L':') == Count(folder, L':'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    const std::wstring address = input.Text();
    const std::wstring home = input.Text();
    const std::wstring folder = input.Text();

    const EnterGameCommand c = ParseEnterGame(address, home);
    FUZZ_CHECK(c.isCommand == (address.find(kPrefix) != std::wstring::npos));
    if (!c.isCommand || c.refused) {
        FUZZ_CHECK(!(c.refused && !c.isCommand));
        FUZZ_CHECK(c.exeStem.empty() && c.siteAddress.empty());
        if (IsPlainFileStem(address)) CheckStaysInFolder(folder, address);
        return 0;
    }
    CheckStaysInFolder(folder, c.exeStem);
    // Only a web address or the hall's own home page is handed to the shell.
    FUZZ_CHECK(c.siteAddress == home || IsWebAddress(c.siteAddress));
    if (c.siteAddress != home) FUZZ_CHECK(fuzz::EndsWith(address, L"|" + c.siteAddress));

    // The command read at the start of the address: the stem is the name's characters but
    // "/", its first one shifted down by 32.
    if (fuzz::StartsWith(address, kPrefix)) {
        const std::wstring rest = address.substr(16);
        const std::wstring name = rest.substr(0, rest.find(L'|'));
        FUZZ_CHECK(c.exeStem.size() + Count(name, L'/') == name.size());
        const size_t first = name.find_first_not_of(L'/');
        FUZZ_CHECK(first != std::wstring::npos && c.exeStem[0] + 32 == name[first]);
    }
    return 0;
}
