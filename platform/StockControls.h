#pragma once

#include <QColor>
#include <QFrame>
#include <QLabel>
#include <QList>
#include <QSlider>
#include <QStringList>

class QPainter;

// Plain building blocks of the windows: filled shapes, panels, bevels and labels.

enum class TBevelCut { bvNone, bvLowered, bvRaised };

// Draws the classic two-colour edge of `rect`: lowered shows shadow top-left, highlight bottom-right.
void DrawEdge(class QPainter& painter, const QRect& rect, TBevelCut cut);

// A filled rectangle with an outline. Part of the window's surface: presses go to the window.
class TShape : public QWidget
{
public:
    TShape(QWidget* parent, const QRect& geometry, QColor fill, QColor pen = Qt::black, int penWidth = 1);
    static void Paint(QPainter& painter, const QRect& rect, QColor fill, QColor pen, int penWidth);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QColor m_fill;
    QColor m_pen;
    int m_penWidth;
};

// A container with a background colour and optional outer and inner bevels.
class TPanel : public QFrame
{
    Q_OBJECT
public:
    TPanel(QWidget* parent, const QRect& geometry, QColor color, TBevelCut outer,
           TBevelCut inner = TBevelCut::bvNone);

protected:
    void paintEvent(QPaintEvent*) override;
    // A panel is a window of its own: presses on it are its own, they never move the window.
    void mousePressEvent(QMouseEvent* event) override;

private:
    QColor m_color;
    TBevelCut m_outer;
    TBevelCut m_inner;
};

// A track bar whose steps stand for values of their own (sample rates, picture sizes), each with
// a caption: screen readers hear the value and its caption, not the step.
class TTrackBar : public QSlider
{
    Q_OBJECT
public:
    TTrackBar(Qt::Orientation orientation, QWidget* parent) : QSlider(orientation, parent) {}

    // What step i stands for: `values`[i], shown as `captions`[i].
    void SetValues(QList<int> values, QStringList captions);
    int ValueAt(int step) const { return m_values.value(step, step); }
    QString CaptionAt(int step) const { return m_captions.value(step); }
    // The least or the greatest of the values.
    int Extreme(bool greatest) const;
    // The step whose value is nearest to `value`.
    int StepNearest(int value) const;

private:
    QList<int> m_values;
    QStringList m_captions;
};

// A lowered line or box separating groups of controls.
class TBevel : public QWidget
{
public:
    TBevel(QWidget* parent, const QRect& geometry);

protected:
    void paintEvent(QPaintEvent*) override;
};

// Makes `list` look and behave like the classic list box: rows `rowHeight` pixels high and as
// wide as the list, long texts shortened in the middle, a sunken border, only rows the user
// selected highlighted, and the keyboard focus shown on the current row.
void SetUpListBox(class QListView& list, int rowHeight);

// The classic dotted frame that shows which control has the keyboard focus, just inside `rect`.
void DrawFocusFrame(QPainter& painter, const QRect& rect, QColor color);

// A text label that is part of the window's surface.
class TLabel : public QLabel
{
public:
    TLabel(QWidget* parent, const QString& caption, QPoint topLeft, QColor textColor,
           QColor background = Qt::transparent, Qt::Alignment alignment = Qt::AlignLeft);
    // Right-aligned labels keep their right edge where it was when the caption grows.
    void SetCaption(const QString& caption);

private:
    Qt::Alignment m_alignment;
};
