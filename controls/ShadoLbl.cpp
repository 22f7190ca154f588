#include "controls/ShadoLbl.h"

#include "platform/Fonts.h"

TShadowLabel::TShadowLabel(QWidget* parent, const QString& caption, QPoint topLeft, Qt::Alignment alignment)
    : QLabel(caption, parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFont(Fonts::Pixel(Fonts::UiGothic, 11, true));
    setStyleSheet(QStringLiteral("color: #464646;"));
    setAlignment(alignment | Qt::AlignVCenter);
    move(topLeft);
    adjustSize();
}
