#include "platform/widgets/Colors.h"

#include <QApplication>
#include <QPalette>

namespace {

QPalette::ColorRole roleOfSystemColor(TColor color)
{
    switch (color) {
    case clWindow:
        return QPalette::Base;
    case clWindowText:
        return QPalette::Text;
    case clHighlight:
        return QPalette::Highlight;
    case clHighlightText:
        return QPalette::HighlightedText;
    case clBtnShadow:
        return QPalette::Mid;
    case clBtnText:
        return QPalette::ButtonText;
    case clBtnHighlight:
        return QPalette::Light;
    case cl3DLight:
        return QPalette::Midlight;
    default:
        return QPalette::Button;
    }
}

} // namespace

QColor toQColor(TColor color)
{
    if (color & clSystemColor)
        return QApplication::palette().color(roleOfSystemColor(color));
    return QColor(int(color & 0xFF), int(color >> 8 & 0xFF), int(color >> 16 & 0xFF));
}
