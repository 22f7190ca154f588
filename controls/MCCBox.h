#pragma once

#include "platform/CommaRule.h"
#include "platform/Events.h"

#include <QColor>
#include <QComboBox>
#include <QFont>
#include <QStringList>
#include <memory>
#include <vector>

class QPainter;
class TMultiColComboBox;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// A font with its text colour.
struct TFont {
    QFont Font;
    QColor Color;
    bool operator==(const TFont& other) const { return Font == other.Font && Color == other.Color; }
};

// What a paint request draws with: the fill colour and the text font. Columns change it as they
// paint, so that the space after the last column takes the colour the last cell left.
struct TCanvas {
    QColor Brush;
    TFont Font;
};

class TCBColumns;

// One column of the open list: its width, background, text alignment and font. A column whose
// ParentColor or ParentFont is set follows the combo box's Color or Font.
class TCBColumn
{
public:
    explicit TCBColumn(TCBColumns& collection);
    TCBColumn(const TCBColumn&) = delete;
    TCBColumn& operator=(const TCBColumn&) = delete;

    int Width() const { return m_width; }
    void SetWidth(int width) { m_width = width; }
    QColor Color() const { return m_color; }
    // A colour of its own; the column stops following the combo's colour.
    void SetColor(QColor color);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment alignment) { m_alignment = alignment; }
    const TFont& Font() const { return m_font; }
    // A font of its own; the column stops following the combo's font.
    void SetFont(const TFont& font);
    bool ParentColor() const { return m_parentColor; }
    void SetParentColor(bool parentColor);
    bool ParentFont() const { return m_parentFont; }
    void SetParentFont(bool parentFont);

    // Copies width, colour, alignment, font and the two Parent flags of `source`.
    void Assign(const TCBColumn& source);
    // Take the combo's colour or font when the matching Parent flag is set.
    void ParentColorChanged();
    void ParentFontChanged();

    // Paints one cell: its background, then `text` in one line, clipped to the cell less the
    // combo's indent, with "&" marking an underlined character.
    void DrawColumn(QPainter& painter, TCanvas& canvas, const QRect& cell, const QString& text,
                    bool selected) const;

private:
    const TMultiColComboBox& combo() const;

    TCBColumns& m_collection;
    int m_width;
    QColor m_color;
    TAlignment m_alignment = taLeftJustify;
    TFont m_font;
    bool m_parentColor = true;
    bool m_parentFont = true;
};

// The columns of a combo box, in display order.
class TCBColumns
{
public:
    explicit TCBColumns(TMultiColComboBox& owner) : m_owner(owner) {}
    TCBColumns(const TCBColumns&) = delete;
    TCBColumns& operator=(const TCBColumns&) = delete;

    TMultiColComboBox& Owner() const { return m_owner; }
    int Count() const { return static_cast<int>(m_columns.size()); }
    TCBColumn& operator[](int index) { return *m_columns.at(index); }
    const TCBColumn& operator[](int index) const { return *m_columns.at(index); }
    // Appends a column with the defaults: 60 pixels, following the combo's colour and font.
    TCBColumn& Add();
    void Clear() { m_columns.clear(); }
    // Replaces these columns by copies of the columns of `source`.
    void Assign(const TCBColumns& source);
    int TotalWidth() const;

    void ColorChanged();
    void FontChanged();

private:
    TMultiColComboBox& m_owner;
    std::vector<std::unique_ptr<TCBColumn>> m_columns;
};

// A drop-down list whose items are records of comma-separated fields. The open list shows every
// record as a row of columns; the closed box shows field TargetColumn of the selected record.
// Items are changed through Items() only, which keeps each record beside its display text.
class TMultiColComboBox : public QComboBox
{
public:
    // The item list: whole records in, whole records out; the base list sees display texts.
    class TItems
    {
    public:
        // Appends `record`; its display text is field TargetColumn. Returns the new index.
        int Add(const QString& record);
        // Raise EListError outside 0..Count (Insert) or 0..Count-1 (Delete).
        void Insert(int index, const QString& record);
        void Delete(int index);
        void Clear();
        int Count() const;
        // The record of item `index`; empty when there is none.
        QString operator[](int index) const;

    private:
        friend class TMultiColComboBox;
        explicit TItems(TMultiColComboBox& combo) : m_combo(combo) {}
        TMultiColComboBox& m_combo;
    };

    explicit TMultiColComboBox(QWidget* parent = nullptr);

    TItems& Items() { return m_items; }
    const TItems& Items() const { return m_items; }
    TCBColumns& Columns() { return m_columns; }
    const TCBColumns& Columns() const { return m_columns; }
    void SetColumns(const TCBColumns& columns) { m_columns.Assign(columns); }

    // The selected item, -1 for none. Setting never raises OnChange; an index outside the list
    // clears the selection.
    int ItemIndex() const { return currentIndex(); }
    void SetItemIndex(int index);
    // The field that SelectedText returns and that becomes an added item's display text. Setting
    // it repaints nothing.
    quint8 TargetColumn() const { return m_targetColumn; }
    void SetTargetColumn(quint8 column) { m_targetColumn = column; }
    // Gap between a cell's edge and its text, in pixels.
    int Indent() const { return m_indent; }
    void SetIndent(int indent) { m_indent = indent; }
    // Height of every list row and of the closed field; the closed box is 6 pixels higher.
    int ItemHeight() const { return m_itemHeight; }
    void SetItemHeight(int height);
    // Most rows the dropped list shows without scrolling; 8 unless set.
    int DropDownCount() const { return maxVisibleItems(); }
    void SetDropDownCount(int count) { setMaxVisibleItems(count); }
    // True: a text field above the list; false: a selection field that cannot be typed into.
    bool CanEdit() const { return isEditable(); }
    void SetCanEdit(bool canEdit);
    // Background of the closed field; columns with ParentColor follow it.
    QColor Color() const { return m_color; }
    void SetColor(QColor color);
    // The widget's font with the text colour; columns with ParentFont follow it.
    TFont Font() const { return {font(), m_fontColor}; }
    void SetFont(const TFont& font);

    // Field `column` of record `index`; empty when either is missing.
    QString GetColumnText(int index, int column) const;
    // What the user typed (editable style), else field TargetColumn of the selected record.
    QString SelectedText() const;

    // Painting, each into a rectangle of any painter: the closed selection field and one row.
    void PaintSelectionField(QPainter& painter, const QRect& rect, bool selected) const;
    void DrawItem(QPainter& painter, int index, const QRect& rect, bool selected) const;
    // Where the closed box shows the selected text.
    QRect SelectionFieldRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    void showPopup() override;

    // Raised, in this order, when the user picks an item; never when ItemIndex is set by code.
    TNotifyEvent OnClick;
    TNotifyEvent OnChange;
    // Raised when the list is about to drop down.
    TNotifyEvent OnDropDown;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    // The wheel picks an item only while the box has the focus.
    void wheelEvent(QWheelEvent* event) override;

private:
    QString displayText(const QString& record) const;
    // Takes every display text afresh at the current TargetColumn, as a rebuilt list does.
    void retakeDisplayTexts();
    // The colours and font a paint request starts with.
    TCanvas preparedCanvas(bool selected) const;
    void insertRecord(int index, const QString& record);

    QColor m_color;
    QColor m_fontColor;
    TItems m_items{*this};
    TCBColumns m_columns{*this};
    quint8 m_targetColumn = 0;
    int m_indent = 2;
    int m_itemHeight = 0;
};
