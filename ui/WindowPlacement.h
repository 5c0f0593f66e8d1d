// Where windows go on a desktop of several monitors: a dialog centred on its owner and kept on
// the owner's monitor, and pictures laid out in pixels relative to their own corner.
// Platform-free.
#pragma once
#include "ui/SkinGeometry.h"

namespace vorel {

// The top-left corner of a w x h window centred on `around` (its owner's rectangle, or the
// work area itself) and then kept inside `work`, the work area of the monitor the owner is
// on. A window larger than the work area keeps its top-left corner in view.
IntPoint CentreInWorkArea(int w, int h, const IntRect& around, const IntRect& work);

// A w x h rectangle with the same centre as `around`.
IntRect CentredRect(const IntRect& around, int w, int h);

}  // namespace vorel
