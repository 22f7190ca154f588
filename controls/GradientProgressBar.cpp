#include "controls/GradientProgressBar.h"

#include "controls/Accessibility.h"

#include <QMouseEvent>
#include <QPainter>

namespace
{
constexpr QSize DefaultSize{150, 16};
constexpr int GlyphMargin = 4;
} // namespace

GradientProgressBar::GradientProgressBar(QWidget* parent) : QWidget(parent)
{
    // Every paint covers the whole control, so Qt need not clear it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(DefaultSize);
    Accessibility::Install();
}

template <typename T> bool GradientProgressBar::change(T& field, const T& value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

void GradientProgressBar::SetMin(int min)
{
    if (min <= Max() && change(m_look.Range.Min, min))
        update();
}

void GradientProgressBar::SetMax(int max)
{
    if (max >= Min() && change(m_look.Range.Max, max))
        update();
}

void GradientProgressBar::SetPosition(int position)
{
    const int old = Position();
    const QString oldText = BarText(m_look.Range, m_look.ShowTextStyle);
    if (!change(m_look.Range.Position, position))
        return;
    if (BarText(m_look.Range, TShowTextStyle::stsPercent) !=
        BarText({Min(), Max(), old}, TShowTextStyle::stsPercent))
        Accessibility::DescriptionChanged(this);
    InvalidatePosition(old);
    if (!ShowText())
        return;
    // A text wider than the widest in range (beyond Max) must not leave pixels behind.
    invalidateTextOf(oldText);
    InvalidateText();
}

void GradientProgressBar::SetOrientation(TBarOrientation orientation)
{
    if (change(m_look.Orientation, orientation))
        update();
}

void GradientProgressBar::SetStyle(TBarStyle style)
{
    if (change(m_look.Style, style))
        update();
}

void GradientProgressBar::SetBeginColor(QColor color)
{
    if (change(m_look.BeginColor, color) && Style() != TBarStyle::sPictures)
        update();
}

void GradientProgressBar::SetEndColor(QColor color)
{
    if (change(m_look.EndColor, color) &&
        (Style() == TBarStyle::sExSolid || Style() == TBarStyle::sExRectangles))
        update();
}

void GradientProgressBar::SetBevelOuter(TBevelCut bevel)
{
    if (change(m_look.BevelOuter, bevel))
        update();
}

void GradientProgressBar::SetBarBevelOuter(TBevelCut bevel)
{
    if (change(m_look.BarBevelOuter, bevel))
        update();
}

void GradientProgressBar::SetShowText(bool show)
{
    if (change(m_look.ShowText, show))
        update();
}

void GradientProgressBar::SetShowTextStyle(TShowTextStyle style)
{
    if (change(m_look.ShowTextStyle, style) && ShowText())
        update();
}

void GradientProgressBar::SetGlyph(const QImage& glyph)
{
    m_look.Glyph = glyph;
    if (!glyph.isNull()) {
        if (IsHorizontal(Orientation()))
            resize(width(), glyph.height() + GlyphMargin);
        else
            resize(glyph.width() + GlyphMargin, height());
    }
    if (Style() == TBarStyle::sPictures)
        update();
}

void GradientProgressBar::SetTransparentGlyph(bool transparent)
{
    if (change(m_look.TransparentGlyph, transparent))
        update();
}

void GradientProgressBar::SetFontColor(QColor color)
{
    if (change(m_look.FontColor, color) && ShowText())
        update();
}

void GradientProgressBar::InvalidatePosition(int oldPosition)
{
    const QRect strip =
        PositionStrip(rect(), m_look.Range, oldPosition, Orientation(), Style(), m_look.Glyph.size());
    if (!strip.isEmpty())
        repaint(strip);
}

void GradientProgressBar::InvalidateText()
{
    invalidateTextOf(WidestBarText(m_look.Range, ShowTextStyle()));
    invalidateTextOf(BarText(m_look.Range, ShowTextStyle()));
}

void GradientProgressBar::invalidateTextOf(const QString& text)
{
    const QRect box = TextBoxOf(text, size(), font(), Orientation());
    if (!box.isEmpty())
        update(box);
}

void GradientProgressBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintGradientBar(painter, rect(), m_look, font(), palette().color(backgroundRole()));
}

void GradientProgressBar::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}
