#include "platform/SystemColors.h"

#include "platform/DesignColors.h"

QColor ColorOf(SystemColor role)
{
    switch (role) {
    case SystemColor::Window:
        return QColor(0xFF, 0xFF, 0xFF);
    case SystemColor::ButtonFace:
        return QColor(0xF0, 0xF0, 0xF0);
    case SystemColor::ButtonHighlight:
        return QColor(0xFF, 0xFF, 0xFF);
    case SystemColor::ButtonShadow:
        return QColor(0xA0, 0xA0, 0xA0);
    case SystemColor::Grey:
        return DesignColors::Grey;
    case SystemColor::Highlight:
        return QColor(0x33, 0x99, 0xFF);
    case SystemColor::HighlightText:
        return QColor(0xFF, 0xFF, 0xFF);
    case SystemColor::InfoBackground:
        return QColor(0xFF, 0xFF, 0xE1);
    case SystemColor::DarkShadow:
        return QColor(0x69, 0x69, 0x69);
    }
    return {};
}
