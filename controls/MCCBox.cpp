#include "controls/MCCBox.h"

#include "platform/Errors.h"
#include "platform/SystemColors.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QProxyStyle>
#include <QScreen>
#include <QStyleFactory>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QWheelEvent>

namespace
{

constexpr int DefaultColumnWidth = 60;
constexpr int DefaultItemHeight = 15;
constexpr int DefaultDropDownCount = 8;
// The closed box: the field of ItemHeight pixels inside a 3-pixel frame on each side.
constexpr int FieldMargin = 3;
// The closed field's text starts this far from the field's top left corner.
constexpr int FieldTextOffset = 2;
constexpr QColor DefaultTextColor{0, 0, 0};

// Paints the rows of the open list through the combo box's own row painting.
class RowDelegate : public QAbstractItemDelegate
{
public:
    explicit RowDelegate(TMultiColComboBox& combo) : QAbstractItemDelegate(&combo), m_combo(combo) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        m_combo.DrawItem(*painter, index.row(), option.rect, option.state & QStyle::State_Selected);
        if (option.state & QStyle::State_HasFocus) {
            painter->save();
            painter->setPen(QPen(ColorOf(SystemColor::HighlightText), 1, Qt::DotLine));
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
            painter->restore();
        }
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return {m_combo.Columns().TotalWidth(), m_combo.ItemHeight()};
    }

private:
    TMultiColComboBox& m_combo;
};

// The list drops down below the box with DropDownCount rows, instead of the menu that some
// styles open over the box.
class DropDownListStyle : public QProxyStyle
{
public:
    explicit DropDownListStyle(QObject* owner)
        : QProxyStyle(QStyleFactory::create(QApplication::style()->name()))
    {
        setParent(owner);
    }

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

int TextFlags(TAlignment alignment)
{
    const int vertical = Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    switch (alignment) {
    case taRightJustify:
        return vertical | Qt::AlignRight;
    case taCenter:
        return vertical | Qt::AlignHCenter;
    case taLeftJustify:
        break;
    }
    return vertical | Qt::AlignLeft;
}

} // namespace

// ---- TCBColumn ----

TCBColumn::TCBColumn(TCBColumns& collection)
    : m_collection(collection), m_width(DefaultColumnWidth), m_color(combo().Color()), m_font(combo().Font())
{
}

const TMultiColComboBox& TCBColumn::combo() const
{
    return m_collection.Owner();
}

void TCBColumn::SetColor(QColor color)
{
    if (color == m_color)
        return;
    m_color = color;
    m_parentColor = false;
}

void TCBColumn::SetFont(const TFont& font)
{
    m_font = font;
    m_parentFont = false;
}

void TCBColumn::SetParentColor(bool parentColor)
{
    if (parentColor == m_parentColor)
        return;
    m_parentColor = parentColor;
    ParentColorChanged();
}

void TCBColumn::SetParentFont(bool parentFont)
{
    if (parentFont == m_parentFont)
        return;
    m_parentFont = parentFont;
    ParentFontChanged();
}

void TCBColumn::ParentColorChanged()
{
    if (m_parentColor)
        m_color = combo().Color();
}

void TCBColumn::ParentFontChanged()
{
    if (m_parentFont)
        m_font = combo().Font();
}

void TCBColumn::Assign(const TCBColumn& source)
{
    m_width = source.m_width;
    SetColor(source.m_color);
    m_alignment = source.m_alignment;
    SetFont(source.m_font);
    SetParentColor(source.m_parentColor);
    SetParentFont(source.m_parentFont);
}

void TCBColumn::DrawColumn(QPainter& painter, TCanvas& canvas, const QRect& cell, const QString& text,
                           bool selected) const
{
    // A selected cell keeps the selection colours and takes only the column's typeface.
    canvas.Font = selected ? TFont{m_font.Font, canvas.Font.Color} : m_font;
    if (!selected)
        canvas.Brush = m_color;
    painter.fillRect(cell, canvas.Brush);

    QRect textRect = cell;
    if (m_alignment == taRightJustify)
        textRect.setRight(textRect.right() - combo().Indent());
    else
        textRect.setLeft(textRect.left() + combo().Indent());
    painter.save();
    painter.setClipRect(textRect.intersected(cell));
    painter.setFont(canvas.Font.Font);
    painter.setPen(canvas.Font.Color);
    painter.drawText(textRect, TextFlags(m_alignment), text);
    painter.restore();
}

// ---- TCBColumns ----

TCBColumn& TCBColumns::Add()
{
    m_columns.push_back(std::make_unique<TCBColumn>(*this));
    return *m_columns.back();
}

void TCBColumns::Assign(const TCBColumns& source)
{
    Clear();
    for (int i = 0; i < source.Count(); ++i)
        Add().Assign(source[i]);
}

int TCBColumns::TotalWidth() const
{
    int total = 0;
    for (const auto& column : m_columns)
        total += column->Width();
    return total;
}

void TCBColumns::ColorChanged()
{
    for (const auto& column : m_columns)
        column->ParentColorChanged();
}

void TCBColumns::FontChanged()
{
    for (const auto& column : m_columns)
        column->ParentFontChanged();
}

// ---- TMultiColComboBox::TItems ----

int TMultiColComboBox::TItems::Add(const QString& record)
{
    m_combo.insertRecord(Count(), record);
    return Count() - 1;
}

void TMultiColComboBox::TItems::Insert(int index, const QString& record)
{
    if (index < 0 || index > Count())
        throw EListError(index);
    m_combo.insertRecord(index, record);
}

void TMultiColComboBox::TItems::Delete(int index)
{
    if (index < 0 || index >= Count())
        throw EListError(index);
    m_combo.removeItem(index);
}

void TMultiColComboBox::TItems::Clear()
{
    m_combo.clear();
}

int TMultiColComboBox::TItems::Count() const
{
    return m_combo.count();
}

QString TMultiColComboBox::TItems::operator[](int index) const
{
    return m_combo.itemData(index).toString();
}

// ---- TMultiColComboBox ----

TMultiColComboBox::TMultiColComboBox(QWidget* parent)
    : QComboBox(parent), m_color(ColorOf(SystemColor::Window)), m_fontColor(DefaultTextColor)
{
    m_columns.Add();
    setStyle(new DropDownListStyle(this));
    setItemDelegate(new RowDelegate(*this));
    if (auto* list = qobject_cast<QListView*>(view()))
        list->setUniformItemSizes(true);
    SetItemHeight(DefaultItemHeight);
    SetDropDownCount(DefaultDropDownCount);
    // The wheel must not pick an item in passing: it takes the focus away from the wheel.
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QComboBox::activated, this, [this] {
        Fire(OnClick, this);
        Fire(OnChange, this);
    });
}

void TMultiColComboBox::wheelEvent(QWheelEvent* event)
{
    // Scrolling the window past the box leaves the chosen item alone; the wheel goes on to the parent.
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}

void TMultiColComboBox::insertRecord(int index, const QString& record)
{
    // The base list selects the first item put into an empty list; this list keeps no selection.
    const int selected = currentIndex();
    insertItem(index, displayText(record), record);
    if (selected < 0)
        setCurrentIndex(-1);
}

QString TMultiColComboBox::displayText(const QString& record) const
{
    return CommaTextFields(record).value(m_targetColumn);
}

void TMultiColComboBox::retakeDisplayTexts()
{
    for (int i = 0; i < count(); ++i)
        setItemText(i, displayText(m_items[i]));
}

void TMultiColComboBox::SetItemIndex(int index)
{
    setCurrentIndex(index >= 0 && index < count() ? index : -1);
}

void TMultiColComboBox::SetItemHeight(int height)
{
    if (height == m_itemHeight)
        return;
    m_itemHeight = height;
    retakeDisplayTexts();
    resize(width(), sizeHint().height());
    updateGeometry();
}

void TMultiColComboBox::SetCanEdit(bool canEdit)
{
    if (canEdit == isEditable())
        return;
    const int selected = currentIndex();
    setEditable(canEdit);
    retakeDisplayTexts();
    setCurrentIndex(selected);
}

void TMultiColComboBox::SetColor(QColor color)
{
    if (color == m_color)
        return;
    m_color = color;
    m_columns.ColorChanged();
    update();
}

void TMultiColComboBox::SetFont(const TFont& font)
{
    m_fontColor = font.Color;
    setFont(font.Font);
    // setFont reports no change when only the colour differs.
    m_columns.FontChanged();
    update();
}

QString TMultiColComboBox::GetColumnText(int index, int column) const
{
    if (index < 0 || index >= count())
        return {};
    return CommaTextFields(m_items[index]).value(column);
}

QString TMultiColComboBox::SelectedText() const
{
    if (isEditable() && lineEdit()->isModified())
        return lineEdit()->text();
    return GetColumnText(ItemIndex(), m_targetColumn);
}

TCanvas TMultiColComboBox::preparedCanvas(bool selected) const
{
    if (selected)
        return {ColorOf(SystemColor::Highlight), {font(), ColorOf(SystemColor::HighlightText)}};
    return {m_color, Font()};
}

void TMultiColComboBox::PaintSelectionField(QPainter& painter, const QRect& rect, bool selected) const
{
    const TCanvas canvas = preparedCanvas(selected && ItemIndex() >= 0);
    painter.fillRect(rect, canvas.Brush);
    if (ItemIndex() < 0)
        return;
    painter.save();
    painter.setFont(canvas.Font.Font);
    painter.setPen(canvas.Font.Color);
    const QRect textArea(rect.topLeft() + QPoint(FieldTextOffset, FieldTextOffset),
                         QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    painter.drawText(textArea, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip,
                     SelectedText());
    painter.restore();
}

void TMultiColComboBox::DrawItem(QPainter& painter, int index, const QRect& rect, bool selected) const
{
    TCanvas canvas = preparedCanvas(selected);
    const QStringList fields = CommaTextFields(m_items[index]);
    int x = rect.left();
    for (int i = 0; i < m_columns.Count(); ++i) {
        const TCBColumn& column = m_columns[i];
        QRect cell(x, rect.top(), column.Width(), rect.height());
        cell.setRight(qMin(cell.right(), rect.right()));
        column.DrawColumn(painter, canvas, cell, fields.value(i), selected);
        x += column.Width();
    }
    if (x <= rect.right())
        painter.fillRect(QRect(QPoint(x, rect.top()), rect.bottomRight()), canvas.Brush);
}

QRect TMultiColComboBox::SelectionFieldRect() const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QRect arrow = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this);
    return QRect(FieldMargin, FieldMargin, arrow.left() - FieldMargin, height() - 2 * FieldMargin);
}

QSize TMultiColComboBox::sizeHint() const
{
    return {QComboBox::sizeHint().width(), m_itemHeight + 2 * FieldMargin};
}

QSize TMultiColComboBox::minimumSizeHint() const
{
    return {QComboBox::minimumSizeHint().width(), m_itemHeight + 2 * FieldMargin};
}

void TMultiColComboBox::showPopup()
{
    Fire(OnDropDown, this);
    QComboBox::showPopup();
    // The list is as wide as its columns, never narrower than the closed box.
    QWidget* popup = view()->window();
    QRect geometry = popup->geometry();
    geometry.setWidth(qMax(m_columns.TotalWidth(), width()));
    if (const QScreen* screen = popup->screen()) {
        const QRect available = screen->availableGeometry();
        if (geometry.right() > available.right())
            geometry.moveRight(available.right());
        if (geometry.left() < available.left())
            geometry.moveLeft(available.left());
    }
    popup->setGeometry(geometry);
}

void TMultiColComboBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    if (isEditable())
        return;
    const QRect field = SelectionFieldRect();
    const bool focused = hasFocus() && !view()->isVisible();
    painter.setClipRect(field);
    PaintSelectionField(painter, field, focused);
    if (focused) {
        painter.setPen(QPen(ColorOf(SystemColor::HighlightText), 1, Qt::DotLine));
        painter.drawRect(field.adjusted(0, 0, -1, -1));
    }
}

void TMultiColComboBox::changeEvent(QEvent* event)
{
    QComboBox::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        m_columns.FontChanged();
}
