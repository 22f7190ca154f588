#include "controls/FadeButton.h"

#include "platform/Fonts.h"

FadeButton::FadeButton(QWidget* parent, const QString& caption) : QPushButton(caption, parent)
{
    setFocusPolicy(Qt::NoFocus);
    setFont(Fonts::Pixel(Fonts::UiGothic, 12, true));
    setStyleSheet(
        QStringLiteral("QPushButton { color: white; background: #C0C083; border: 1px solid #F0F0F0; }"
                       "QPushButton:hover { background: #D8D8AE; }"
                       "QPushButton:disabled { color: #E0E0C0; }"));
    connect(this, &QPushButton::clicked, this, [this] { Fire(OnClick, this); });
}
