#include "web/ImageButtonRules.h"

#include <cstdint>

namespace vorel {

long ButtonFrameOffset(ButtonFrame frame, long offsetWidth) {
    return -static_cast<long>(frame) * offsetWidth;
}

ElementBox BoxFromOffsets(long offsetLeft, long offsetTop, long offsetWidth, long offsetHeight) {
    return {offsetLeft, offsetTop, offsetLeft + offsetWidth, offsetTop + offsetHeight};
}

bool BoxContains(const ElementBox& box, long x, long y) {
    return x >= box.left && x < box.right && y >= box.top && y < box.bottom;
}

void PointFromMouseParam(long long lParam, long* x, long* y) {
    const auto bits = static_cast<uint64_t>(lParam);
    *x = static_cast<int16_t>(bits & 0xFFFF);
    *y = static_cast<int16_t>((bits >> 16) & 0xFFFF);
}

}  // namespace vorel
