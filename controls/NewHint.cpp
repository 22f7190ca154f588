#include "controls/NewHint.h"

#include <QApplication>
#include <QPainter>
#include <algorithm>
#include <iterator>

namespace
{

// The component's own defaults, before the owner sets its look.
constexpr QColor DefaultBGColor{0x00, 0x00, 0x00};
constexpr QColor DefaultBrushColor{0x00, 0x00, 0x80};
constexpr QColor DefaultFontColor{0x00, 0xFF, 0x00};
constexpr QColor DefaultPenColor{0x00, 0x00, 0x00};
constexpr QColor DefaultShadowColor{0x00, 0x00, 0xFF};

// A hint shows this much higher than the machinery places it.
constexpr int Lift = 8;

// The balloon's tail: its tip at (TailTip, 0), the body starting TailHeight rows down.
constexpr int TailTip = 14;
constexpr int TailHeight = 9;
// Room the underlined text takes beyond the measured rectangle.
constexpr QSize LineStringGrowth{21, 12};

// An 8-by-8 corner ellipse in whole pixels: how far each of the outermost rows starts in from the side.
constexpr int CornerInsets[] = {2, 1};
constexpr int CornerRows = int(std::size(CornerInsets));

// Where each style draws its text and, offset from it, the shadow copies.
constexpr QPoint RoundRectText{1, 1};
constexpr QPoint RoundRectShadow{2, 2};
constexpr QPoint BalloonText{3, 9};
constexpr QPoint BalloonShadow{4, 10};
constexpr QPoint LineStringText{19, 11};
constexpr QPoint LineStringShadows[] = {{19, 10}, {19, 12}, {18, 11}, {20, 11}};
// The leader line runs from here down to the underline, which starts at its x.
constexpr QPoint LeaderStart{1, 1};
constexpr int LeaderEndX = 17;

TAppHint* registeredHint = nullptr;

// How far row `y` of a rounded shape `height` rows high starts in from either side.
int roundedInset(int y, int height)
{
    const int fromEdge = std::min(y, height - 1 - y);
    return fromEdge < CornerRows ? CornerInsets[fromEdge] : 0;
}

QRegion roundedShape(QSize size)
{
    QRegion shape;
    for (int y = 0; y < size.height(); ++y) {
        const int inset = roundedInset(y, size.height());
        shape += QRect(inset, y, size.width() - 2 * inset, 1);
    }
    return shape;
}

// The outline of roundedShape(size): its outermost pixels, corner by corner.
QPolygon roundedOutline(QSize size)
{
    const int right = size.width() - 1;
    const int bottom = size.height() - 1;
    QPolygon outline;
    for (int row = 0; row <= CornerRows; ++row) // top left, downwards
        outline << QPoint(row < CornerRows ? CornerInsets[row] : 0, row);
    for (int row = CornerRows; row >= 0; --row) // bottom left, downwards
        outline << QPoint(row < CornerRows ? CornerInsets[row] : 0, bottom - row);
    for (int row = 0; row <= CornerRows; ++row) // bottom right, upwards
        outline << QPoint(right - (row < CornerRows ? CornerInsets[row] : 0), bottom - row);
    for (int row = CornerRows; row >= 0; --row) // top right, upwards
        outline << QPoint(right - (row < CornerRows ? CornerInsets[row] : 0), row);
    return outline;
}

THintGeometry balloonGeometry(const QRect& rect)
{
    const QRect grown = rect.adjusted(0, 0, 0, TailHeight);
    const int w = grown.width();
    const int h = grown.height();
    const QPolygon body{{TailTip, 0}, {8, TailHeight}, {0, TailHeight},      {0, h},
                        {w, h},       {w, TailHeight}, {TailTip, TailHeight}};
    const QPolygon outline{{TailTip, 0},   {9, TailHeight},     {0, TailHeight},           {0, h - 1},
                           {w - 1, h - 1}, {w - 1, TailHeight}, {TailTip - 1, TailHeight}, {TailTip - 1, 0}};
    return {grown, false, QRegion(body, Qt::WindingFill), outline};
}

THintGeometry lineStringGeometry(const QRect& rect)
{
    const QRect grown = rect.adjusted(0, 0, LineStringGrowth.width(), LineStringGrowth.height());
    return {grown, true, QRegion(1, 1, grown.width() - 2, grown.height() - 2), {}};
}

} // namespace

THintGeometry HintGeometry(THintStyle style, const QRect& rect)
{
    switch (style) {
    case hsFukidashi:
        return balloonGeometry(rect);
    case hsRoundRect:
        return {rect, true, roundedShape(rect.size()), {}};
    case hsLineString:
        return lineStringGeometry(rect);
    case hsOwnerDraw:
        break;
    }
    return {rect, false, {}, {}};
}

TAppHint::TAppHint(QObject* owner)
    : QObject(owner), m_bgColor(DefaultBGColor), m_brush(DefaultBrushColor), m_font(QApplication::font()),
      m_fontColor(DefaultFontColor), m_pen(DefaultPenColor, 0), m_shadowColor(DefaultShadowColor)
{
    registeredHint = this;
    Hints().SetHintWindowClass([] { return std::make_unique<THintEx>(); });
    recreateHintWindow();
    Hints().OnHint = [this](QObject* sender) { DoHint(sender); };
    Hints().OnShowHint = [this](QString& text, bool& canShow, THintInfo& info) {
        ShowHint(text, canShow, info);
    };
}

TAppHint::~TAppHint()
{
    // The application's events are bound to the registered instance only.
    if (registeredHint != this)
        return;
    registeredHint = nullptr;
    Hints().OnHint = nullptr;
    Hints().OnShowHint = nullptr;
}

TAppHint* TAppHint::Registered()
{
    return registeredHint;
}

void TAppHint::SetFont(const QFont& font)
{
    if (font == m_font)
        return;
    m_font = font;
    recreateHintWindow();
}

void TAppHint::SetFontColor(QColor color)
{
    if (color == m_fontColor)
        return;
    m_fontColor = color;
    recreateHintWindow();
}

void TAppHint::SetHintStyle(THintStyle style)
{
    if (style == m_hintStyle)
        return;
    m_hintStyle = style;
    recreateHintWindow();
}

void TAppHint::recreateHintWindow()
{
    // The next hint then comes in a fresh window that measures with the current font.
    Hints().SetShowHint(false);
    Hints().SetShowHint(true);
}

void TAppHint::DoHint(QObject* Sender)
{
    Fire(OnHint, Sender);
}

void TAppHint::ShowHint(QString& HintStr, bool& CanShow, THintInfo& HintInfo)
{
    HintInfo.HintPos.ry() -= Lift;
    if (OnShowHint)
        OnShowHint(HintStr, CanShow, HintInfo);
}

void TAppHint::paintText(QPainter& painter, const QString& text, QRect client, QPoint offset,
                         QColor color) const
{
    painter.setPen(color);
    painter.drawText(client.translated(offset), HintTextFlags, text);
}

void TAppHint::PaintHint(QPainter& painter, const QString& text, QSize size, const QRect& savedRect,
                         const QPolygon& outline) const
{
    const QRect client(QPoint(0, 0), size);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(m_font);
    if (m_hintStyle == hsRoundRect || m_hintStyle == hsFukidashi)
        painter.fillRect(client, m_brush);
    painter.setBrush(Qt::NoBrush);
    switch (m_hintStyle) {
    case hsRoundRect:
        if (m_shadowVisible)
            paintText(painter, text, client, RoundRectShadow, m_shadowColor);
        paintText(painter, text, client, RoundRectText, m_fontColor);
        painter.setPen(m_pen);
        painter.drawPolygon(roundedOutline(savedRect.size()));
        break;
    case hsFukidashi:
        if (m_shadowVisible)
            paintText(painter, text, client, BalloonShadow, m_shadowColor);
        paintText(painter, text, client, BalloonText, m_fontColor);
        painter.setPen(m_pen);
        painter.drawPolygon(outline);
        break;
    case hsLineString: {
        if (m_shadowVisible)
            for (QPoint shadow : LineStringShadows)
                paintText(painter, text, client, shadow, m_shadowColor);
        paintText(painter, text, client, LineStringText, m_fontColor);
        const int underline = savedRect.height() - 2;
        painter.setPen(m_pen);
        painter.drawPolyline(
            QPolygon{LeaderStart, {LeaderEndX, underline}, {savedRect.width() - 1, underline}});
        break;
    }
    case hsOwnerDraw: {
        const bool solid = m_brush.style() == Qt::SolidPattern;
        painter.setBrush(m_brush);
        painter.setBackground(solid ? m_brush.color() : m_bgColor);
        painter.setBackgroundMode(solid ? Qt::OpaqueMode : Qt::TransparentMode);
        painter.setPen(m_pen);
        if (OnPaint)
            OnPaint(text, painter, size.width(), size.height());
        break;
    }
    }
    painter.restore();
}

THintEx::THintEx()
{
    setWindowFlag(Qt::WindowTransparentForInput);
    const TAppHint* hint = TAppHint::Registered();
    if (!hint)
        return;
    setFont(hint->Font());
    // Floating text: what lies beneath shows around it where the window system allows.
    if (hint->HintStyle() == hsLineString)
        setAttribute(Qt::WA_TranslucentBackground);
}

void THintEx::ActivateHint(QRect rect, const QString& text)
{
    clearMask();
    if (const TAppHint* hint = TAppHint::Registered()) {
        const THintGeometry geometry = HintGeometry(hint->HintStyle(), rect);
        rect = geometry.Rect;
        if (geometry.SavesRect)
            m_savedRect = geometry.Rect;
        if (!geometry.Outline.isEmpty())
            m_outline = geometry.Outline;
        if (!geometry.Shape.isEmpty())
            setMask(geometry.Shape);
    }
    HintWindow::ActivateHint(rect, text);
}

bool THintEx::ErasesBackground() const
{
    const TAppHint* hint = TAppHint::Registered();
    return hint && hint->HintStyle() != hsLineString;
}

void THintEx::Paint(QPainter& painter)
{
    if (const TAppHint* hint = TAppHint::Registered())
        hint->PaintHint(painter, Text(), size(), m_savedRect, m_outline);
}
