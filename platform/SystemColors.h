#pragma once

#include <QColor>

// Colours named by role, as the windows' design uses them.
// Grey is the plain grey the designs name (#808080), darker than Qt's own `gray`.
enum class SystemColor {
    Window,
    ButtonFace,
    ButtonHighlight,
    ButtonShadow,
    Highlight,
    HighlightText,
    InfoBackground,
    Grey
};

QColor ColorOf(SystemColor role);
