#include "web/FavoriteShortcut.h"

#include "web/FileNameRules.h"

namespace vorel {

namespace {
constexpr wchar_t kHead[] = L"[DEFAULT]\r\nBASEURL=";
constexpr wchar_t kMiddle[] =
    L"\r\n[{000214A0-0000-0000-C000-000000000046}]\r\n=19,2\r\n[InternetShortcut]\r\nURL=";
constexpr wchar_t kTail[] = L"\r\nIDList=\r\n";

constexpr size_t Length(const wchar_t* text) {
    size_t n = 0;
    while (text[n]) ++n;
    return n;
}
constexpr size_t kFixedLength = Length(kHead) + Length(kMiddle) + Length(kTail);
static_assert(kFixedLength == 105, "the shortcut's own text");
}  // namespace

const wchar_t kFavoriteWriteFailedText[] = L"无法写入收藏夹，请稍后再试。";

std::wstring ShortcutText(const std::wstring& address) {
    return kHead + address + kMiddle + address + kTail;
}

size_t MaxShortcutAddressLength() { return (kShortcutTextMax - kFixedLength) / 2; }

std::wstring FavoriteNameFromEdit(const std::wstring& text) {
    return text.substr(0, kFavoriteNameMax);
}

FavoriteCheck CheckFavorite(const std::wstring& name, const std::wstring& address) {
    if (name.empty()) return FavoriteCheck::EmptyName;
    if (!IsPlainFileStem(name)) return FavoriteCheck::BadName;
    // The address is written into two lines of the file: a CR or LF in it would start keys of
    // its own (another URL=), a NUL would end the text for a reader there.
    for (wchar_t c : address) {
        if (static_cast<unsigned long>(c) < 0x20 || c == 0x7F) return FavoriteCheck::BadAddress;
    }
    if (address.size() > MaxShortcutAddressLength()) return FavoriteCheck::AddressTooLong;
    return FavoriteCheck::Ok;
}

const wchar_t* FavoriteRefusalText(FavoriteCheck check) {
    switch (check) {
        case FavoriteCheck::Ok:
            return nullptr;
        case FavoriteCheck::EmptyName:
            return L"请填写收藏名称。";
        case FavoriteCheck::BadName:
            return L"该名称不能用作文件名（不能包含 \\ / : * ? \" < > | 等字符），请修改后再收藏。";
        case FavoriteCheck::AddressTooLong:
            return L"该游戏页的网址过长，无法添加到收藏夹。";
        case FavoriteCheck::BadAddress:
            return L"该游戏页的网址含有无效字符，无法添加到收藏夹。";
    }
    return nullptr;
}

}  // namespace vorel
