// Pixel rules of the skin images: an RGBA image becomes an opaque bitmap in which one key
// colour stands for "transparent". Platform-free.
#pragma once
#include <cstdint>

namespace vorel {

// The key colour as red, green, blue: RGB(255, 0, 255).
constexpr uint8_t kKeyRed = 255;
constexpr uint8_t kKeyGreen = 0;
constexpr uint8_t kKeyBlue = 255;
// The same colour as a GDI COLORREF (0x00BBGGRR) and as a GDI+ ARGB value.
constexpr uint32_t kKeyColorRef = 0x00FF00FFu;
constexpr uint32_t kKeyArgb = 0xFFFF00FFu;

// One pixel of a 32-bit DIB as it lies in memory: blue, green, red, then a fourth byte.
// `key` is a COLORREF (0x00BBGGRR).
// a = 255 keeps the colour, a = 0 gives the key colour, anything between is composited over
// white in integer arithmetic; the fourth byte is always 0.
uint32_t KeyedDibPixel(uint8_t a, uint8_t r, uint8_t g, uint8_t b, uint32_t key = kKeyColorRef);

// Converts a top-down image of 32-bit ARGB pixels (GDI+'s PixelFormat32bppARGB: 0xAARRGGBB,
// one uint32_t per pixel) into the rows of a bottom-up 32-bit DIB: source row i lands in
// destination row height - 1 - i. Both buffers hold width * height pixels without padding.
void ConvertArgbToKeyedDib(const uint32_t* argb, int width, int height, uint32_t* dib,
                           uint32_t key = kKeyColorRef);

}  // namespace vorel
