#include "ui/SkinPixels.h"

namespace vorel {

namespace {
uint32_t OverWhite(uint32_t a, uint32_t c) {
    // 65025 + a * (c - 255) never goes below 255 for a < 255, so unsigned-safe as written.
    return (65025u - a * (255u - c)) / 255u;
}
}  // namespace

uint32_t KeyedDibPixel(uint8_t a, uint8_t r, uint8_t g, uint8_t b, uint32_t key) {
    if (a == 0) {
        const uint32_t kr = key & 0xFFu, kg = (key >> 8) & 0xFFu, kb = (key >> 16) & 0xFFu;
        return (kr << 16) | (kg << 8) | kb;
    }
    if (a == 255) return (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
    return (OverWhite(a, r) << 16) | (OverWhite(a, g) << 8) | OverWhite(a, b);
}

void ConvertArgbToKeyedDib(const uint32_t* argb, int width, int height, uint32_t* dib,
                           uint32_t key) {
    for (int i = 0; i < height; ++i) {
        const uint32_t* src = argb + static_cast<long>(i) * width;
        uint32_t* dst = dib + static_cast<long>(height - 1 - i) * width;
        for (int j = 0; j < width; ++j) {
            const uint32_t p = src[j];
            dst[j] =
                KeyedDibPixel(uint8_t(p >> 24), uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p), key);
        }
    }
}

}  // namespace vorel
