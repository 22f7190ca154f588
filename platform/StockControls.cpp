#include "platform/StockControls.h"

#include "platform/SystemColors.h"

#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cstdlib>

namespace
{

// Rows of one height, as wide as the list, their text shortened in the middle so that both the
// start of a path and its file name show. The row under the pointer is drawn plain unless
// selected; the current row of a list with the keyboard focus has a dotted frame.
class ListBoxRows : public QStyledItemDelegate
{
public:
    ListBoxRows(QObject* owner, int height) : QStyledItemDelegate(owner), m_height(height) {}

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override { return {0, m_height}; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem row(option);
        const bool focused = row.state & QStyle::State_HasFocus;
        row.state &= ~QStyle::State_HasFocus;
        if (!(row.state & QStyle::State_Selected))
            row.state &= ~QStyle::State_MouseOver;
        row.textElideMode = Qt::ElideMiddle;
        QStyledItemDelegate::paint(painter, row, index);
        if (focused)
            DrawFocusFrame(*painter, row.rect, row.palette.color(QPalette::Text));
    }

private:
    int m_height;
};

} // namespace

void DrawEdge(QPainter& painter, const QRect& rect, TBevelCut cut)
{
    if (cut == TBevelCut::bvNone)
        return;
    const QColor shadow = ColorOf(SystemColor::ButtonShadow);
    const QColor light = ColorOf(SystemColor::ButtonHighlight);
    const QColor topLeft = cut == TBevelCut::bvLowered ? shadow : light;
    const QColor bottomRight = cut == TBevelCut::bvLowered ? light : shadow;
    painter.save();
    painter.setPen(topLeft);
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());
    painter.restore();
}

TShape::TShape(QWidget* parent, const QRect& geometry, QColor fill, QColor pen, int penWidth)
    : QWidget(parent), m_fill(fill), m_pen(pen), m_penWidth(penWidth)
{
    setGeometry(geometry);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TShape::Paint(QPainter& painter, const QRect& rect, QColor fill, QColor pen, int penWidth)
{
    painter.fillRect(rect, fill);
    if (penWidth <= 0 || pen == Qt::transparent)
        return;
    painter.save();
    QPen outline(pen);
    outline.setWidth(penWidth);
    outline.setJoinStyle(Qt::MiterJoin);
    painter.setPen(outline);
    painter.setBrush(Qt::NoBrush);
    const int inset = penWidth / 2;
    painter.drawRect(rect.adjusted(inset, inset, -(penWidth - inset), -(penWidth - inset)));
    painter.restore();
}

void TShape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Paint(painter, rect(), m_fill, m_pen, m_penWidth);
}

TPanel::TPanel(QWidget* parent, const QRect& geometry, QColor color, TBevelCut outer, TBevelCut inner)
    : QFrame(parent), m_color(color), m_outer(outer), m_inner(inner)
{
    setGeometry(geometry);
}

void TPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_color);
    QRect edge = rect();
    if (m_outer != TBevelCut::bvNone) {
        DrawEdge(painter, edge, m_outer);
        edge.adjust(1, 1, -1, -1);
    }
    DrawEdge(painter, edge, m_inner);
}

void TPanel::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}

TBevel::TBevel(QWidget* parent, const QRect& geometry) : QWidget(parent)
{
    setGeometry(geometry);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TBevel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    DrawEdge(painter, rect(), TBevelCut::bvLowered);
}

void SetUpListBox(QListView& list, int rowHeight)
{
    list.setItemDelegate(new ListBoxRows(&list, rowHeight));
    list.setUniformItemSizes(true);
    list.setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    // Rows are shortened to the list's width rather than scrolled sideways.
    list.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void DrawFocusFrame(QPainter& painter, const QRect& rect, QColor color)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(color, 0, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
}

TLabel::TLabel(QWidget* parent, const QString& caption, QPoint topLeft, QColor textColor, QColor background,
               Qt::Alignment alignment)
    : QLabel(caption, parent), m_alignment(alignment)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, textColor);
    colours.setColor(QPalette::Window, background);
    setPalette(colours);
    setAutoFillBackground(background != Qt::transparent);
    setAlignment(alignment | Qt::AlignVCenter);
    move(topLeft);
    adjustSize();
}

void TLabel::SetCaption(const QString& caption)
{
    const int right = geometry().right();
    setText(caption);
    adjustSize();
    if (m_alignment & Qt::AlignRight)
        move(right - width() + 1, y());
}

void TTrackBar::SetValues(QList<int> values, QStringList captions)
{
    m_values = std::move(values);
    m_captions = std::move(captions);
}

int TTrackBar::Extreme(bool greatest) const
{
    if (m_values.isEmpty())
        return greatest ? maximum() : minimum();
    return greatest ? *std::max_element(m_values.cbegin(), m_values.cend())
                    : *std::min_element(m_values.cbegin(), m_values.cend());
}

int TTrackBar::StepNearest(int value) const
{
    int nearest = minimum();
    for (int step = minimum(); step <= maximum(); ++step) {
        if (std::abs(ValueAt(step) - value) < std::abs(ValueAt(nearest) - value))
            nearest = step;
    }
    return nearest;
}
