#include <gtest/gtest.h>

#include <objidl.h>
#include <gdiplus.h>

#include <string>
#include <vector>

#include "fw/Raii.h"
#include "res/resource.h"
#include "support/WinTestSupport.h"
#include "ui/SkinImage.h"
#include "ui/SkinPixels.h"
#include "support/UiTestSupport.h"

namespace gp = Gdiplus::DllExports;

namespace {
const UINT kShadowedId = 7001;  // PNG and BITMAP in the test resources

struct Dib {
    int width = 0, height = 0;
    std::vector<DWORD> rows;  // as in memory: bottom row first
};

// The pixels of a 32-bit section as the section itself holds them.
Dib ReadSection(HBITMAP bitmap) {
    DIBSECTION section = {};
    Dib dib;
    if (::GetObjectW(bitmap, sizeof(section), &section) != sizeof(section)) return dib;
    dib.width = section.dsBm.bmWidth;
    dib.height = section.dsBm.bmHeight;
    const auto* bits = static_cast<const DWORD*>(section.dsBm.bmBits);
    dib.rows.assign(bits, bits + dib.width * dib.height);
    return dib;
}

std::string ResourceBytes(UINT id) {
    HMODULE self = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(self, MAKEINTRESOURCEW(id), L"PNG");
    if (!found) return std::string();
    const char* data = static_cast<const char*>(::LockResource(::LoadResource(self, found)));
    return std::string(data, ::SizeofResource(self, found));
}

class GdiplusScope {
public:
    GdiplusScope() {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
    }
    ~GdiplusScope() { Gdiplus::GdiplusShutdown(m_token); }

private:
    ULONG_PTR m_token = 0;
};
}  // namespace

TEST(SkinImage, PngBecomesA32BitBottomUpSectionOfTheImagesSize) {
    HINSTANCE self = ::GetModuleHandleW(nullptr);
    fw::ScopedBitmap strip(vorel::LoadSkinBitmap(self, IDP_BUTTON_COMMAND));
    ASSERT_TRUE(strip);
    DIBSECTION section = {};
    ASSERT_EQ(::GetObjectW(strip.get(), sizeof(section), &section), int(sizeof(section)));
    EXPECT_EQ(section.dsBmih.biWidth, 228);
    EXPECT_EQ(section.dsBmih.biHeight, 23);  // positive: bottom-up
    EXPECT_EQ(section.dsBmih.biBitCount, 32);
    EXPECT_EQ(section.dsBmih.biCompression, DWORD(BI_RGB));
}

// Every pixel follows the alpha rules applied to GDI+'s own decoding of the same PNG, and the
// PNG's first row is the last one in memory. The button strip has cut corners, the login
// picture soft edges, so all three rules are exercised.
TEST(SkinImage, PixelsFollowTheAlphaRulesOfTheDecodedPng) {
    GdiplusScope gdiplus;
    int keyed = 0, blended = 0, opaque = 0;
    for (UINT id : {IDP_BUTTON_COMMAND, IDP_LOGIN_BACKGROUND}) {
        fw::ScopedBitmap converted(vorel::LoadSkinBitmap(::GetModuleHandleW(nullptr), id));
        ASSERT_TRUE(converted);
        const std::string png = ResourceBytes(id);
        fw::ComPtr<IStream> stream;
        ASSERT_EQ(::CreateStreamOnHGlobal(nullptr, TRUE, stream.Receive()), S_OK);
        stream->Write(png.data(), ULONG(png.size()), nullptr);
        Gdiplus::GpBitmap* decoded = nullptr;
        ASSERT_EQ(gp::GdipCreateBitmapFromStream(stream.get(), &decoded), Gdiplus::Ok);
        const Dib dib = ReadSection(converted.get());
        for (int y = 0; y < dib.height; ++y) {
            for (int x = 0; x < dib.width; ++x) {
                Gdiplus::ARGB argb = 0;
                gp::GdipBitmapGetPixel(decoded, x, y, &argb);
                const BYTE a = argb >> 24;
                const DWORD expected =
                    vorel::KeyedDibPixel(a, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
                ASSERT_EQ(dib.rows[(dib.height - 1 - y) * dib.width + x], expected)
                    << id << ": " << x << "," << y;
                keyed += a == 0;
                blended += a != 0 && a != 255;
                opaque += a == 255;
            }
        }
        gp::GdipDisposeImage(decoded);
    }
    EXPECT_GT(keyed, 0);
    EXPECT_GT(blended, 0);
    EXPECT_GT(opaque, 0);
}

TEST(SkinImage, EveryImageIdOfTheSkinTableLoadsAtItsSize) {
    struct Expected {
        UINT id;
        int width, height;
    };
    const Expected table[] = {
        {129, 1005, 569}, {131, 30, 51},   {132, 132, 28},  {133, 228, 23},  {134, 30, 51},
        {135, 108, 28},   {136, 108, 28},  {137, 108, 28},  {138, 108, 27},  {139, 176, 28},
        {140, 567, 22},   {141, 39, 13},   {142, 14, 16},   {143, 250, 191}, {144, 144, 14},
        {145, 216, 22},   {146, 160, 212}, {147, 250, 167}, {148, 108, 27},  {149, 108, 27},
        {150, 316, 28},   {151, 316, 28},  {152, 390, 21},  {153, 390, 21},  {162, 284, 150},
    };
    for (const Expected& e : table) {
        fw::ScopedBitmap bitmap(vorel::LoadSkinBitmap(::GetModuleHandleW(nullptr), e.id));
        ASSERT_TRUE(bitmap) << e.id;
        const SIZE size = vorel::BitmapSize(bitmap.get());
        EXPECT_EQ(size.cx, e.width) << e.id;
        EXPECT_EQ(size.cy, e.height) << e.id;
    }
}

TEST(SkinImage, ABitmapResourceWinsOverAPngOfTheSameIdAndIsNotKeyed) {
    fw::ScopedBitmap bitmap(vorel::LoadSkinBitmap(::GetModuleHandleW(nullptr), kShadowedId));
    ASSERT_TRUE(bitmap);
    const SIZE size = vorel::BitmapSize(bitmap.get());
    EXPECT_EQ(size.cx, 6);  // the PNG of this id is 14 x 16
    EXPECT_EQ(size.cy, 2);
    fw::ScopedMemDC dc(nullptr);
    fw::ScopedSelectObject select(dc.get(), bitmap.get());
    EXPECT_EQ(::GetPixel(dc.get(), 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(::GetPixel(dc.get(), 4, 0), RGB(10, 20, 30));
    EXPECT_EQ(::GetPixel(dc.get(), 5, 1), RGB(200, 100, 50));
}

TEST(SkinImage, MissingImagesGiveNull) {
    EXPECT_EQ(vorel::LoadSkinBitmap(::GetModuleHandleW(nullptr), 7999), nullptr);
    EXPECT_EQ(vorel::LoadSkinBitmap(nullptr, IDP_BUTTON_COMMAND), nullptr);
    // Loading still works afterwards: the failed call left GDI+ usable.
    fw::ScopedBitmap again(vorel::LoadSkinBitmap(::GetModuleHandleW(nullptr), IDP_BUTTON_CLOSE));
    EXPECT_TRUE(again);
    EXPECT_EQ(vorel::BitmapSize(nullptr).cx, 0);
}

TEST(SkinImage, ImageFilesAreFlattenedOntoWhite) {
    const std::wstring path = testsupport::BuildDir() + L"\\ui_image_file_test.png";
    const std::string png = ResourceBytes(IDP_LOGIN_BACKGROUND);
    ASSERT_FALSE(png.empty());
    {
        HANDLE file =
            ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        ::WriteFile(file, png.data(), DWORD(png.size()), &written, nullptr);
        ::CloseHandle(file);
    }
    int width = -1, height = -1;
    fw::ScopedBitmap bitmap(vorel::LoadImageFileBitmap(path.c_str(), &width, &height));
    ::DeleteFileW(path.c_str());
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(width, 1005);
    EXPECT_EQ(height, 569);
    // The login picture fades out at its edges: its corner is fully transparent, so white
    // here, and never the key colour.
    fw::ScopedMemDC dc(nullptr);
    fw::ScopedSelectObject select(dc.get(), bitmap.get());
    EXPECT_EQ(::GetPixel(dc.get(), 0, 0) & 0xFFFFFF, RGB(255, 255, 255));
    EXPECT_NE(::GetPixel(dc.get(), 502, 284) & 0xFFFFFF, RGB(255, 255, 255));

    bitmap.reset(vorel::LoadImageFileBitmap(L"C:\\no\\such\\picture.png", &width, &height));
    EXPECT_FALSE(bitmap);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
}
