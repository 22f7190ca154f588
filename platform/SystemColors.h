#pragma once

#include <QColor>

// Colours named by role, as the windows' design uses them.
enum class SystemColor {
    Window,
    ButtonFace,
    ButtonHighlight,
    ButtonShadow,
    Grey, // the plain "grey" of the designs: the system palette's grey, not Qt's gray
    Highlight,
    HighlightText,
    InfoBackground
};

QColor ColorOf(SystemColor role);
