// Pictures compiled into the program as pixels by the build
// (tools/embed_bitmap.cpp, from the PNG files in assets/): showing one decodes
// nothing, and an image over them copies nothing.
#pragma once

#include <cstdint>

namespace tarvix {

struct CompiledBitmap {
    const std::uint32_t* pixels; // 0xffRRGGBB, row after row: QImage::Format_RGB32
    int width;
    int height;
};

// The diagram at 96 dpi (assets/diagram.png).
extern const CompiledBitmap kDiagramBitmap;
// The window's icon (assets/icon-32.png).
extern const CompiledBitmap kIconBitmap;

} // namespace tarvix
