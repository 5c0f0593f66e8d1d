// The Internet Shortcut of a favourite: what the dialog accepts and the text it writes.
// Texts: the name as typed into the dialog, the page's address, the Favorites folder.
#include "tests/fuzz/FuzzInput.h"
#include "web/FavoriteShortcut.h"
#include "web/FileNameRules.h"

using namespace vorel;

namespace {

// Lines as a profile reader sees them: CR LF, a lone CR and a lone LF each end one.
std::vector<std::wstring> ReaderLines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    std::wstring line;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' || text[i] == L'\n') {
            lines.push_back(line);
            line.clear();
            if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        } else {
            line.push_back(text[i]);
        }
    }
    lines.push_back(line);
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    const std::wstring typed = input.Text();
    const std::wstring address = input.Text();
    const std::wstring folder = input.Text();

    const std::wstring name = FavoriteNameFromEdit(typed);
    FUZZ_CHECK(name.size() <= kFavoriteNameMax && fuzz::StartsWith(typed, name));
    FUZZ_CHECK(name.size() == kFavoriteNameMax || name == typed);

    const FavoriteCheck check = CheckFavorite(name, address);
    FUZZ_CHECK((FavoriteRefusalText(check) == nullptr) == (check == FavoriteCheck::Ok));
    if (check != FavoriteCheck::Ok) return 0;

    // The file goes into the folder under its own name, or not at all.
    FUZZ_CHECK(IsPlainFileStem(name));
    const std::wstring path = JoinFilePath(folder, name, L".url");
    FUZZ_CHECK(path.empty() || path == folder + L"\\" + name + L".url");
    FUZZ_CHECK(name.find_first_of(L"\\/:") == std::wstring::npos &&
               name.find(L"..") == std::wstring::npos);

    // Whatever the page's address, an accepted favourite is the whole shortcut and nothing
    // else: seven lines, the address in the two places meant for it.
    const std::wstring text = ShortcutText(address);
    FUZZ_CHECK(text.size() <= kShortcutTextMax);
    FUZZ_CHECK(text.find(L'\0') == std::wstring::npos);
    const std::vector<std::wstring> lines = ReaderLines(text);
    FUZZ_CHECK(lines.size() == 8 && lines[7].empty());
    FUZZ_CHECK(lines[0] == L"[DEFAULT]");
    FUZZ_CHECK(lines[1] == L"BASEURL=" + address);
    FUZZ_CHECK(lines[2] == L"[{000214A0-0000-0000-C000-000000000046}]");
    FUZZ_CHECK(lines[3] == L"=19,2");
    FUZZ_CHECK(lines[4] == L"[InternetShortcut]");
    FUZZ_CHECK(lines[5] == L"URL=" + address);
    FUZZ_CHECK(lines[6] == L"IDList=");
    return 0;
}
