#include "controls/ShadoLbl.h"

#include "platform/DesignColors.h"
#include "platform/SystemColors.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

namespace
{

constexpr QColor DefaultCopyColor{0xC0, 0xC0, 0xC0};
constexpr QColor DefaultHighlightColor{0xFF, 0xFF, 0xFF};
constexpr QColor DefaultFontColor{0x00, 0x00, 0x00};
constexpr QColor DefaultTextGradationColor{0x80, 0x00, 0x00};
constexpr QColor DefaultTextMidColor{0x00, 0x00, 0x80};
// A horizontal gradient strip is this many times lower than its rectangle, plus one row.
constexpr int StripDivisor = 20;

// Where pixel `index` of `count` lies between the start (0) and the end (1). A single pixel lies at
// the start.
double GradientPosition(int index, int count)
{
    return count > 1 ? static_cast<double>(index) / (count - 1) : 0.0;
}

QRgb GradientColor(QColor start, QColor end, double position)
{
    auto channel = [position](int from, int to) { return static_cast<int>(from + (to - from) * position); };
    return qRgb(channel(start.red(), end.red()), channel(start.green(), end.green()),
                channel(start.blue(), end.blue()));
}

void DrawText(QPainter& painter, const QRect& rect, int flags, const QString& text, QColor color)
{
    painter.setPen(color);
    painter.drawText(rect, flags, text);
}

} // namespace

void GradBitmap(QImage& bitmap, QColor start, QColor end, bool vertical)
{
    const int width = bitmap.width();
    const int height = bitmap.height();
    if (width < 1 || height < 1)
        return;
    if (bitmap.format() != QImage::Format_RGB32)
        bitmap.convertTo(QImage::Format_RGB32);
    auto row = [&bitmap](int y) { return reinterpret_cast<QRgb*>(bitmap.scanLine(y)); };
    // One colour per row or column, replicated along whole rows.
    if (vertical) {
        for (int y = 0; y < height; ++y)
            std::fill_n(row(y), width, GradientColor(start, end, GradientPosition(y, height)));
        return;
    }
    for (int x = 0; x < width; ++x)
        row(0)[x] = GradientColor(start, end, GradientPosition(x, width));
    for (int y = 1; y < height; ++y)
        std::copy_n(row(0), width, row(y));
}

void GradRect(QPainter& painter, const QRect& rect, QColor start, QColor end, bool vertical)
{
    if (rect.isEmpty())
        return;
    const QSize strip =
        vertical ? QSize(1, rect.height()) : QSize(rect.width(), rect.height() / StripDivisor + 1);
    QImage bitmap(strip, QImage::Format_RGB32);
    GradBitmap(bitmap, start, end, vertical);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rect, bitmap);
    painter.restore();
}

TShadow::TShadow(QObject* owner, QColor color, int offset) : QObject(owner), m_color(color), m_offset(offset)
{
}

template <typename T> void TShadow::change(T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    Fire(OnChange, this);
}

void TShadow::SetShadowVisible(bool visible)
{
    change(m_visible, visible);
}

void TShadow::SetShadowColor(QColor color)
{
    change(m_color, color);
}

TShadowLabel::TShadowLabel(QWidget* parent, const QString& caption, QPoint topLeft, Qt::Alignment alignment)
    : QLabel(caption, parent), m_fontColor(DefaultFontColor), m_color(ColorOf(SystemColor::ButtonFace)),
      m_textGradationColor(DefaultTextGradationColor), m_textMidColor(DefaultTextMidColor),
      m_highlight(new TShadow(this, DefaultHighlightColor, -1)),
      m_shadow(new TShadow(this, DefaultCopyColor, 1))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setTextFormat(Qt::PlainText);
    setAlignment(alignment & Qt::AlignVertical_Mask ? alignment : alignment | Qt::AlignTop);
    m_highlight->OnChange = [this](QObject* sender) { ShadowChanged(sender); };
    m_shadow->OnChange = [this](QObject* sender) { ShadowChanged(sender); };
    move(topLeft);
    adjustSize();
}

void TShadowLabel::SetFontColor(QColor color)
{
    if (color == m_fontColor)
        return;
    m_fontColor = color;
    update();
}

void TShadowLabel::SetColor(QColor color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void TShadowLabel::SetTransparent(bool transparent)
{
    if (transparent == m_transparent)
        return;
    m_transparent = transparent;
    update();
}

void TShadowLabel::SetTextGradation(TTextGradation gradation)
{
    if (gradation == m_textGradation)
        return;
    m_textGradation = gradation;
    update();
}

void TShadowLabel::SetTextGradationColor(QColor color)
{
    if (color == m_textGradationColor)
        return;
    m_textGradationColor = color;
    if (m_textGradation != tgNone)
        update();
}

void TShadowLabel::SetTextMidColor(QColor color)
{
    if (color == m_textMidColor)
        return;
    m_textMidColor = color;
    if (m_textGradation == tg3Colors)
        update();
}

void TShadowLabel::ShadowChanged(QObject*)
{
    update();
}

int TShadowLabel::textFlags() const
{
    int flags = Qt::TextExpandTabs | Qt::AlignTop | (alignment() & Qt::AlignHorizontal_Mask);
    if (wordWrap())
        flags |= Qt::TextWordWrap;
    return flags | Qt::TextShowMnemonic;
}

int TShadowLabel::layoutOffset(int textHeight) const
{
    if (alignment() & Qt::AlignVCenter)
        return (height() - textHeight) / 2;
    if (alignment() & Qt::AlignBottom)
        return height() - textHeight;
    return 0;
}

void TShadowLabel::Paint(QPainter& painter) const
{
    const QRect client = rect();
    if (client.isEmpty())
        return;
    QString text = this->text();
    if (text.isEmpty() || text == QStringLiteral("&"))
        text += u' ';

    painter.save();
    painter.setClipRect(client);
    if (!m_transparent)
        painter.fillRect(client, m_color);
    painter.setFont(font());
    const QFontMetrics metrics(font());
    const int flags = textFlags();
    const QRect bounds =
        client.translated(0, layoutOffset(metrics.boundingRect(client, flags, text).height()));

    const bool enabled = isEnabled();
    const QColor textColor = enabled ? m_fontColor : ColorOf(SystemColor::ButtonShadow);
    const QColor shadowColor = enabled ? m_shadow->Color() : DesignColors::Grey;
    const QColor highlightColor = enabled ? m_highlight->Color() : ColorOf(SystemColor::ButtonHighlight);
    if (m_shadow->Visible())
        DrawText(painter, bounds.translated(m_shadow->Offset(), m_shadow->Offset()), flags, text,
                 shadowColor);
    if (m_highlight->Visible())
        DrawText(painter, bounds.translated(m_highlight->Offset(), m_highlight->Offset()), flags, text,
                 highlightColor);
    if (m_textGradation != tgNone && CharacterCount(text) > 1)
        paintRamp(painter, bounds, flags, text);
    else
        DrawText(painter, bounds, flags, text, textColor);
    painter.restore();
}

// The ramp keeps its colours on a disabled label. Runs start at the left edge whatever the
// alignment; only a part of one character is aligned, within the width that remains.
void TShadowLabel::paintRamp(QPainter& painter, const QRect& bounds, int flags, const QString& text) const
{
    const QFontMetrics metrics(font());
    int x = bounds.left();
    for (const RampPiece& piece :
         TextRamp(text, m_textGradation, m_fontColor, m_textMidColor, m_textGradationColor)) {
        const int width = metrics.horizontalAdvance(piece.Text);
        const QRect place = piece.Aligned ? QRect(QPoint(x, bounds.top()), bounds.bottomRight())
                                          : QRect(x, bounds.top(), width, bounds.height());
        DrawText(painter, place, flags, piece.Text, piece.Color);
        x += width;
    }
}

void TShadowLabel::paintEvent(QPaintEvent*)
{
    // The backing store composes the frame off screen and shows it in one go: no flicker.
    QPainter painter(this);
    Paint(painter);
}
