#pragma once
// A picture drawn into a bitmap of its own, for image lists and the like.
#include <windows.h>

#include "picture/puzzle_net.h"
#include "toolkit/win32/gdi_objects.h"

namespace tw::picture {

// `drawing` scaled whole into a `size` x `size` pixel bitmap on `back`, centred, each
// shape outlined as the scramble picture outlines it; a plain `back` square when it is
// empty.
GdiObject<HBITMAP> DrawNetBitmap(const NetDrawing& drawing, int size, COLORREF back);

}  // namespace tw::picture
