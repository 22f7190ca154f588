#include "controls/FadeButton.h"

#include <QFontMetrics>
#include <QKeyEvent>
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
    : QAbstractButton(parent), m_color(DefaultColor), m_destColor(DefaultDestColor),
      m_borderColor(DefaultBorderColor), m_borderDestColor(DefaultBorderDestColor),
      m_currentColor(DefaultColor), m_currentBorderColor(DefaultBorderColor), m_fontColor(DefaultFontColor),
      m_captionOverColor(DefaultCaptionOverColor), m_step(DefaultStep), m_speed(DefaultSpeed)
{
    setText(caption);
    // Reached with Tab, as a keyboard user goes; a click leaves the focus where it was.
    setFocusPolicy(Qt::TabFocus);
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

void FadeButton::SetBorderHeight(int height)
{
    m_borderHeight = height;
    paintNow();
}

void FadeButton::SetCaption(const QString& caption)
{
    if (caption == text())
        return;
    setText(caption);
    paintNow();
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
    const int thickness = std::max(m_borderHeight, 1);
    painter.fillRect(bounds, FromTColor(m_currentBorderColor));
    painter.fillRect(bounds.adjusted(thickness, thickness, -thickness, -thickness), fill);

    // The caption sits on a box of the fill colour, so a caption wider than the button covers
    // the outline; a caption larger than the button starts left of or above it and is cut.
    const QString caption = text();
    const QFontMetrics metrics(font());
    const QSize textSize(metrics.horizontalAdvance(caption), metrics.height());
    const QRect textBox(
        QPoint(bounds.width() / 2 - textSize.width() / 2, bounds.height() / 2 - textSize.height() / 2),
        textSize);
    painter.fillRect(textBox, fill);
    painter.setFont(font());
    painter.setPen(m_fontColor);
    painter.drawText(textBox.left(), textBox.top() + metrics.ascent(), caption);
    // The keyboard's place: a dotted line just inside the outline, in the caption's colour.
    if (hasFocus()) {
        painter.setPen(QPen(m_fontColor, 1, Qt::DotLine));
        painter.drawRect(bounds.adjusted(thickness + 1, thickness + 1, -thickness - 2, -thickness - 2));
    }
}

void FadeButton::paintEvent(QPaintEvent*)
{
    // The backing store composes the frame off screen and shows it in one go: no flicker.
    QPainter painter(this);
    Paint(painter);
}

// Only an enabled button gets pointer moves.
void FadeButton::mouseMoveEvent(QMouseEvent* event)
{
    QAbstractButton::mouseMoveEvent(event);
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
void FadeButton::leaveEvent(QEvent* event)
{
    QAbstractButton::leaveEvent(event);
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
}

void FadeButton::keyPressEvent(QKeyEvent* event)
{
    // Enter clicks the focused button, as Space does.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers() == Qt::NoModifier)
        click();
    else
        QAbstractButton::keyPressEvent(event);
}

void FadeButton::mousePressEvent(QMouseEvent* event)
{
    QAbstractButton::mousePressEvent(event);
    // Accepted whatever the button, so no press on a button ever reaches the window beneath.
    event->accept();
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
