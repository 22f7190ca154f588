#include "controls/FadeButton.h"

#include "controls/Accessibility.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace
{

constexpr TColor DefaultColor = RGBColor(0x00, 0x80, 0x00);
constexpr TColor DefaultDestColor = RGBColor(0x00, 0xFF, 0x00);
constexpr TColor DefaultBorderColor = RGBColor(0xC0, 0xC0, 0xC0);
constexpr TColor DefaultBorderDestColor = RGBColor(0xFF, 0xFF, 0xFF);
constexpr QColor DefaultFontColor{0xFF, 0xFF, 0xFF};
constexpr QColor DefaultCaptionOverColor{0x00, 0xFF, 0x00};
constexpr int DefaultStep = 2;
constexpr int DefaultSpeed = 10;
constexpr QSize DefaultSize{150, 30};

} // namespace

FadeButton::FadeButton(QWidget* parent, const QString& caption)
    : QWidget(parent), m_color(DefaultColor), m_destColor(DefaultDestColor),
      m_borderColor(DefaultBorderColor), m_borderDestColor(DefaultBorderDestColor),
      m_currentColor(DefaultColor), m_currentBorderColor(DefaultBorderColor), m_caption(caption),
      m_fontColor(DefaultFontColor), m_captionOverColor(DefaultCaptionOverColor), m_step(DefaultStep),
      m_speed(DefaultSpeed)
{
    Accessibility::Install();
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(DefaultSize);
    m_fadeTimer.setInterval(m_speed);
    connect(&m_fadeTimer, &QTimer::timeout, this, [this] { animate(); });
}

void FadeButton::SetColor(QColor color)
{
    m_color = ToTColor(color);
    m_currentColor = m_color;
    paintNow();
}

void FadeButton::SetBorderColor(QColor color)
{
    if (ToTColor(color) == m_borderColor)
        return;
    m_borderColor = ToTColor(color);
    m_currentBorderColor = m_borderColor;
    paintNow();
}

void FadeButton::SetShowBorder(bool show)
{
    if (show == m_showBorder)
        return;
    m_showBorder = show;
    paintNow();
}

void FadeButton::SetBorderHeight(int height)
{
    m_borderHeight = height;
    paintNow();
}

void FadeButton::SetCaption(const QString& caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    paintNow();
    Accessibility::NameChanged(this);
}

void FadeButton::SetFontColor(QColor color)
{
    if (color == m_fontColor)
        return;
    m_fontColor = color;
    update();
}

void FadeButton::SetSpeed(int speed)
{
    m_speed = speed;
    m_fadeTimer.setInterval(std::max(speed, 0));
}

void FadeButton::Paint(QPainter& painter) const
{
    const QRect bounds = rect();
    if (bounds.isEmpty())
        return;
    const QColor fill = FromTColor(m_currentColor);
    if (m_showBorder) {
        const int thickness = std::max(m_borderHeight, 1);
        painter.fillRect(bounds, FromTColor(m_currentBorderColor));
        painter.fillRect(bounds.adjusted(thickness, thickness, -thickness, -thickness), fill);
    } else {
        painter.fillRect(bounds, fill);
    }

    // The caption sits on a box of the fill colour, so a caption wider than the button covers
    // the outline; a caption larger than the button starts left of or above it and is cut.
    const QFontMetrics metrics(font());
    const QSize textSize(metrics.horizontalAdvance(m_caption), metrics.height());
    const QRect textBox(
        QPoint(bounds.width() / 2 - textSize.width() / 2, bounds.height() / 2 - textSize.height() / 2),
        textSize);
    painter.fillRect(textBox, fill);
    painter.setFont(font());
    painter.setPen(m_fontColor);
    painter.drawText(textBox.left(), textBox.top() + metrics.ascent(), m_caption);
}

void FadeButton::paintEvent(QPaintEvent*)
{
    // The backing store composes the frame off screen and shows it in one go: no flicker.
    QPainter painter(this);
    Paint(painter);
}

// Only an enabled button gets pointer moves.
void FadeButton::mouseMoveEvent(QMouseEvent*)
{
    if (m_fontColor != m_captionOverColor) {
        m_savedCaptionColor = m_fontColor;
        SetFontColor(m_captionOverColor);
    }
    if (!m_fadeOnOver) {
        m_currentBorderColor = m_borderDestColor;
        m_currentColor = m_destColor;
        paintNow();
    } else if (!m_fadeTimer.isActive()) {
        // A fade-out still running is not reversed: it completes, and the next move fades in.
        m_fadeDelta = m_step;
        m_fadeTimer.start();
    }
}

// Arrives also while the button is disabled.
void FadeButton::leaveEvent(QEvent*)
{
    // A leave that follows no hover keeps the caption colour it finds.
    if (m_savedCaptionColor) {
        SetFontColor(*m_savedCaptionColor);
        m_savedCaptionColor.reset();
    }
    if (m_fadeOnLeave) {
        m_fadeDelta = -m_step;
        m_fadeTimer.start();
    } else {
        m_fadeTimer.stop();
        m_currentBorderColor = m_borderColor;
        m_currentColor = m_color;
        paintNow();
    }
    Fire(OnMouseLeave, this);
}

void FadeButton::mousePressEvent(QMouseEvent* event)
{
    // Accepted whatever the button, so no press on a button ever reaches the window beneath.
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
}

void FadeButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const bool click = m_pressed && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        Fire(OnClick, this);
}

void FadeButton::animate()
{
    const FadeResult fill = FadeStep(m_currentColor, m_fadeDelta, false, m_color, m_destColor);
    m_currentColor = fill.Color;
    if (fill.Stop)
        m_fadeTimer.stop();
    // The outline has no stop of its own: it moves on the fill's ticks and stops with it.
    m_currentBorderColor =
        FadeStep(m_currentBorderColor, m_fadeDelta, true, m_borderColor, m_borderDestColor).Color;
    paintNow();
}
