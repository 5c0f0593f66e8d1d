// The Internet Shortcut that the favourites dialog writes, and the checks that keep a page's
// title and address from writing anything but a whole shortcut into the Favorites folder.
#pragma once
#include <cstddef>
#include <string>

namespace vorel {

// The name is read from the dialog into 128 characters.
constexpr size_t kFavoriteNameMax = 127;
// The shortcut text is formatted into 512 characters: 105 of its own and the address twice.
constexpr size_t kShortcutTextMax = 511;
// The bytes written, in the ANSI code page.
constexpr size_t kShortcutBytesMax = 512;

// The seven CRLF-ended lines with the address after "BASEURL=" and "URL=".
std::wstring ShortcutText(const std::wstring& address);

// The longest address whose shortcut text still fits (203 characters).
size_t MaxShortcutAddressLength();

// The first 127 characters, as the dialog reads its name.
std::wstring FavoriteNameFromEdit(const std::wstring& text);

enum class FavoriteCheck {
    Ok,
    EmptyName,
    BadName,         // not a plain file name: it would reach outside the Favorites folder
    AddressTooLong,  // the shortcut text would be cut
    BadAddress,      // control characters: a line break or NUL would end the address early
};
// name: as read from the dialog. Nothing may be written unless this is Ok.
FavoriteCheck CheckFavorite(const std::wstring& name, const std::wstring& address);

// The text the dialog shows for a check that is not Ok, and for a file that could not be
// written (nullptr for Ok).
const wchar_t* FavoriteRefusalText(FavoriteCheck check);
extern const wchar_t kFavoriteWriteFailedText[];

}  // namespace vorel
