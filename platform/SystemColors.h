#pragma once

#include <QColor>

// Colours named by role, as the windows' design uses them.
enum class SystemColor {
    Window,
    ButtonFace,
    ButtonHighlight,
    ButtonShadow,
    Highlight,
    HighlightText,
    InfoBackground
};

QColor ColorOf(SystemColor role);
