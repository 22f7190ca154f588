#include "controls/DigitBar.h"

#include "controls/Accessibility.h"
#include "controls/DigitBarGeometry.h"
#include "platform/SystemColors.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <array>

using namespace DigitBarGeometry;

namespace
{

constexpr int DefaultWidth = 24;
constexpr int DefaultHeight = 100;
constexpr int FirstRepeatDelay = 400; // ms from the press to the second step
constexpr int RepeatInterval = 100;   // ms between further steps

// The arrows: white with a black triangle, 9 x 6 pixels.
constexpr int GlyphWidth = 9;
constexpr int GlyphHeight = 6;
struct Run {
    int first;
    int last;
};
// The black columns of each row of the up arrow; an empty row runs backwards.
constexpr std::array<Run, GlyphHeight> UpArrowRows{{{1, 0}, {4, 4}, {3, 5}, {2, 6}, {1, 7}, {1, 0}}};

QImage UpArrow()
{
    QImage glyph(GlyphWidth, GlyphHeight, QImage::Format_RGB32);
    glyph.fill(Qt::white);
    for (int row = 0; row < GlyphHeight; ++row)
        for (int column = UpArrowRows[row].first; column <= UpArrowRows[row].last; ++column)
            glyph.setPixelColor(column, row, Qt::black);
    return glyph;
}

// An arrow centred in `button`. Enabled, its black lands on the button (AND) and its white leaves
// the button as it was; disabled, its black turns the button white (OR NOT).
void DrawGlyph(QPainter& painter, const QImage& glyph, const Bounds& button, int clientWidth, bool enabled)
{
    const QPoint corner(button.Left + (clientWidth - GlyphWidth) / 2,
                        button.Top + (button.Bottom - button.Top - GlyphHeight) / 2);
    painter.save();
    painter.setCompositionMode(enabled ? QPainter::RasterOp_SourceAndDestination
                                       : QPainter::RasterOp_NotSourceOrDestination);
    painter.drawImage(corner, glyph);
    painter.restore();
}

void DrawStrokes(QPainter& painter, const std::vector<Stroke>& strokes)
{
    for (const Stroke& stroke : strokes)
        painter.fillRect(PixelsOf(stroke), stroke.Color);
}

} // namespace

TDigitBar::TDigitBar(QWidget* parent)
    : QWidget(parent), m_barColor(ColorOf(SystemColor::ButtonFace)), m_color(ColorOf(SystemColor::Window)),
      m_upGlyph(UpArrow()), m_downGlyph(m_upGlyph.mirrored(false, true))
{
    Accessibility::Install();
    resize(DefaultWidth, DefaultHeight);
    // A tab stop; a click takes the focus only with the left button (see mousePressEvent).
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

// ---- properties ----

void TDigitBar::SetAutoSize(bool autoSize)
{
    if (autoSize == m_autoSize)
        return;
    m_autoSize = autoSize;
    if (autoSize)
        AdjustBounds();
}

void TDigitBar::SetBarColor(QColor color)
{
    if (color == m_barColor)
        return;
    m_barColor = color;
    update();
}

void TDigitBar::SetBevelWidth(int width)
{
    width = std::max(width, 1);
    if (width == m_bevelWidth)
        return;
    m_bevelWidth = width;
    AdjustBounds();
}

void TDigitBar::SetBtnHeight(int height)
{
    if (height == m_btnHeight)
        return;
    m_btnHeight = height;
    AdjustBounds();
}

void TDigitBar::SetColor(QColor color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void TDigitBar::SetFontColor(QColor color)
{
    if (color == m_fontColor)
        return;
    m_fontColor = color;
    update();
}

void TDigitBar::SetMax(int max)
{
    max = std::max(max, m_min);
    if (max == m_max)
        return;
    m_max = max;
    if (m_position > max)
        SetPosition(max);
    AdjustBounds();
}

void TDigitBar::SetMin(int min)
{
    min = std::min(min, m_max);
    if (min == m_min)
        return;
    m_min = min;
    if (m_position < min)
        SetPosition(min);
    AdjustBounds();
}

void TDigitBar::SetModes(TDigitBarModes modes)
{
    if (modes == m_modes)
        return;
    m_modes = modes;
    AdjustBounds();
}

void TDigitBar::SetPosition(int position)
{
    if (position > m_max)
        position = m_max;
    else if (position < m_min)
        position = m_min;
    if (position == m_position)
        return;
    m_position = position;
    update();
    Accessibility::ValueChanged(this, m_position);
    Change();
}

void TDigitBar::SetSpacing(int spacing)
{
    spacing = std::max(spacing, 0);
    if (spacing == m_spacing)
        return;
    m_spacing = spacing;
    AdjustBounds();
}

void TDigitBar::Loaded()
{
    m_loading = false;
    AdjustBounds();
}

// ---- steps ----

void TDigitBar::AdjustBounds()
{
    if (m_loading || !m_autoSize) {
        update();
        return;
    }
    const QFontMetrics metrics(font());
    const int frame = 2 * (m_bevelWidth + m_spacing);
    const int width = metrics.horizontalAdvance(PositionToStr(ptsMaxStr)) + frame;
    const int height = std::max(metrics.height() + frame + 2 * m_btnHeight, this->height());
    if (size() == QSize(width, height))
        update();
    else
        resize(width, height);
}

void TDigitBar::Change()
{
    emit changed();
}

void TDigitBar::UpClick()
{
    if ((m_modes & dbmArrowWrap) && m_position == m_max)
        SetPosition(m_min);
    else if (m_position <= m_max - m_increment)
        SetPosition(m_position + m_increment);
    else
        SetPosition(m_max);
}

void TDigitBar::DownClick()
{
    if ((m_modes & dbmArrowWrap) && m_position == m_min)
        SetPosition(m_max);
    else if (m_position >= m_min + m_increment)
        SetPosition(m_position - m_increment);
    else
        SetPosition(m_min);
}

void TDigitBar::ClickToPosition(int y, int top, int bottom)
{
    SetPosition(ValueAtHeight(y, top, bottom, m_min, m_max));
}

int TDigitBar::PositionToClick(int range) const
{
    return HeightOfValue(m_position, m_min, m_max, range);
}

QString TDigitBar::PositionToStr(TPositionToStr kind) const
{
    if (kind == ptsPosition)
        return numberText(m_position);
    const QString max = numberText(m_max);
    const QString min = numberText(m_min);
    return min.size() > max.size() ? min : max;
}

QString TDigitBar::numberText(int number) const
{
    return (m_modes & dbmThousands) ? QLocale().toString(number) : QString::number(number);
}

void TDigitBar::raiseClick(TBarClickType kind)
{
    emit clicked(kind);
}

void TDigitBar::DoUpClick()
{
    UpClick();
    raiseClick(bctUp);
}

void TDigitBar::DoDownClick()
{
    DownClick();
    raiseClick(bctDown);
}

void TDigitBar::DoPositionClick(int x, int y, TBarClickType kind)
{
    const Bounds bar = LayoutOf(width(), height(), m_btnHeight).Bar;
    if (!InBar(bar, {x, y}))
        return;
    const int margin = QFontMetrics(font()).height() / 2 + m_bevelWidth + m_spacing;
    ClickToPosition(y, bar.Top + margin, bar.Bottom - margin);
    raiseClick(kind);
}

// ---- painting ----

void TDigitBar::PaintTo(QPainter& painter) const
{
    const int width = this->width();
    const Layout layout = LayoutOf(width, height(), m_btnHeight);
    const EdgeColors edges = EdgeColorsOf(m_barColor);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(rect(), m_barColor);

    DrawGlyph(painter, m_upGlyph, layout.Up, width, isEnabled());
    DrawGlyph(painter, m_downGlyph, layout.Down, width, isEnabled());
    const auto buttonEdge = [&](const Bounds& button, bool pressed) {
        DrawStrokes(painter, pressed ? BevelStrokes(button, edges.Dark, edges.Light, m_bevelWidth, true)
                                     : BevelStrokes(button, edges.Light, edges.Dark, m_bevelWidth, false));
    };
    buttonEdge(layout.Up, m_clickState == bcsUp);
    buttonEdge(layout.Down, m_clickState == bcsDown);
    DrawStrokes(painter, BarEdgeStrokes(layout.Bar, edges));

    // The value box: sunken in the system's colours whatever the bar's colour.
    const QFontMetrics metrics(font());
    const QString text = PositionToStr(ptsPosition);
    const int boxHeight = BoxHeight(metrics.height(), m_bevelWidth, m_spacing);
    const Bounds box = ValueBox(layout.Bar, boxHeight, PositionToClick(BoxRange(layout.Bar, boxHeight)));
    DrawStrokes(painter, BevelStrokes(box, ColorOf(SystemColor::ButtonShadow),
                                      ColorOf(SystemColor::ButtonHighlight), m_bevelWidth, true));
    const QRect inner = box.Shrunk(m_bevelWidth).ToQRect();
    painter.fillRect(inner, hasFocus() ? m_focusColor : m_color);
    painter.setClipRect(inner, Qt::IntersectClip);
    painter.setFont(font());
    painter.setPen(m_fontColor);
    const QPoint textTopLeft(TextLeft(layout.Bar, width, metrics.horizontalAdvance(text)),
                             inner.top() + m_spacing);
    painter.drawText(textTopLeft + QPoint(0, metrics.ascent()), text);
    painter.restore();
}

void TDigitBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintTo(painter);
}

// ---- mouse ----

void TDigitBar::mousePressEvent(QMouseEvent* event)
{
    if (m_modes & dbmAllowTimer)
        m_repeatTimer.start(FirstRepeatDelay, Qt::PreciseTimer, this);
    if (event->button() != Qt::LeftButton)
        return;
    m_captured = true;
    setFocus(Qt::MouseFocusReason);
    const QPoint point = event->position().toPoint();
    // The up button is tested first: where the buttons overlap, the press steps up.
    if (point.y() < m_btnHeight) {
        setClickState(bcsUp);
        DoUpClick();
    } else if (point.y() >= height() - m_btnHeight) {
        setClickState(bcsDown);
        DoDownClick();
    } else if (m_modes & dbmPosClick) {
        DoPositionClick(point.x(), point.y(), bctPosition);
    }
}

void TDigitBar::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    // While a button is held Qt reports no leaving; the pointer outside is the same thing.
    if (!rect().contains(point) && (m_clickState != bcsNone || m_repeatTimer.isActive()))
        endPress();
    if ((event->buttons() & Qt::LeftButton) && (m_modes & dbmPosMove))
        DoPositionClick(point.x(), point.y(), bctMove);
}

void TDigitBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_captured = false;
    endPress();
}

void TDigitBar::leaveEvent(QEvent*)
{
    endPress();
}

void TDigitBar::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_repeatTimer.timerId())
        TimerExpired();
    else
        QWidget::timerEvent(event);
}

void TDigitBar::TimerExpired()
{
    m_repeatTimer.start(RepeatInterval, Qt::PreciseTimer, this);
    if (m_clickState == bcsNone || !m_captured)
        return;
    if (m_clickState == bcsUp)
        DoUpClick();
    else
        DoDownClick();
}

void TDigitBar::endPress()
{
    m_repeatTimer.stop();
    setClickState(bcsNone);
}

void TDigitBar::setClickState(TBarClickState state)
{
    m_clickState = state;
    update();
}

// ---- keyboard ----

void TDigitBar::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (m_modes & dbmArrowKeys)
            arrowKey(event->key());
        else // the window's usual meaning of the arrows
            postFocusMove(event->key() == Qt::Key_Right || event->key() == Qt::Key_Down);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_modes & dbmEnterNext)
            postFocusMove(true);
        return;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        const int steps = event->key() == Qt::Key_PageUp ? PageSteps : -PageSteps;
        SetPosition(std::clamp(m_position + steps * m_increment, m_min, m_max));
        raiseClick(steps > 0 ? bctUp : bctDown);
        return;
    }
    case Qt::Key_Home:
    case Qt::Key_End:
        SetPosition(event->key() == Qt::Key_Home ? m_min : m_max);
        raiseClick(event->key() == Qt::Key_Home ? bctDown : bctUp);
        return;
    default:
        if (event->text().size() == 1 && event->text()[0].isDigit())
            typeDigit(event->text()[0]);
        else
            QWidget::keyPressEvent(event);
    }
}

void TDigitBar::typeDigit(QChar digit)
{
    // As a list finds a name typed into it: digits typed in quick succession make one number.
    if (!m_sinceTyped.isValid() || m_sinceTyped.elapsed() > QApplication::keyboardInputInterval())
        m_typed.clear();
    m_sinceTyped.start();
    m_typed += digit;
    SetPosition(m_typed.toInt());
}

void TDigitBar::arrowKey(int key)
{
    if (key == Qt::Key_Left || key == Qt::Key_Right) {
        postFocusMove(key == Qt::Key_Right);
    } else if (key == Qt::Key_Up) {
        setClickState(bcsUp);
        DoUpClick();
    } else {
        setClickState(bcsDown);
        DoDownClick();
    }
}

void TDigitBar::keyReleaseEvent(QKeyEvent* event)
{
    QWidget::keyReleaseEvent(event);
    // A held key repeats as release-press pairs; the button stays pressed until the real release.
    if (!event->isAutoRepeat())
        setClickState(bcsNone);
}

void TDigitBar::postFocusMove(bool next)
{
    QTimer::singleShot(0, this, [this, next] { focusNextPrevChild(next); });
}

// ---- notices ----

void TDigitBar::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void TDigitBar::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

void TDigitBar::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        update();
    else if (event->type() == QEvent::FontChange)
        AdjustBounds();
}

void TDigitBar::resizeEvent(QResizeEvent*)
{
    if (m_loading)
        update();
    else
        AdjustBounds();
}
