#pragma once

#include <QColor>

// The colours both windows are designed in.
namespace DesignColors
{

constexpr QColor Olive{0xC0, 0xC0, 0x83};     // title strip, panel shadows, buttons
constexpr QColor Cream{0xD8, 0xD8, 0xAE};     // panels and the progress window
constexpr QColor TextGrey{0x46, 0x46, 0x46};  // captions
constexpr QColor Silver{0xC0, 0xC0, 0xC0};    // outlines of the panel shadows
constexpr QColor DimOlive{0xAC, 0xAC, 0x59};  // title-bar buttons away from the pointer
constexpr QColor Grey{0x80, 0x80, 0x80};      // button outlines; disabled captions' shadow copy
constexpr QColor Yellow{0xFF, 0xFF, 0x00};    // button captions under the pointer
constexpr QColor VideoTint{0xFF, 0xC4, 0xFF}; // marks video settings
constexpr QColor AudioTint{0xC4, 0xFF, 0xFF}; // marks audio settings

} // namespace DesignColors
