#pragma once

#include "controls/GradientPaint.h"

#include <QWidget>

// A progress bar that draws itself: an outer bevel, a bar growing with the position (plain, as a
// gradient, as blocks, as gradient blocks or as repeated pictures) and an optional centred text.
// A position change repaints at once, and only the strip that changed and the text box.
// Setters that change nothing are ignored; a setter whose value does not show only stores it.
class GradientProgressBar : public QWidget
{
    Q_OBJECT
public:
    explicit GradientProgressBar(QWidget* parent = nullptr);

    int Min() const { return m_look.Range.Min; }
    int Max() const { return m_look.Range.Max; }
    int Position() const { return m_look.Range.Position; }
    TBarOrientation Orientation() const { return m_look.Orientation; }
    TBarStyle Style() const { return m_look.Style; }
    QColor BeginColor() const { return m_look.BeginColor; }
    QColor EndColor() const { return m_look.EndColor; }
    TBevelCut BevelOuter() const { return m_look.BevelOuter; }
    TBevelCut BarBevelOuter() const { return m_look.BarBevelOuter; }
    bool ShowText() const { return m_look.ShowText; }
    TShowTextStyle ShowTextStyle() const { return m_look.ShowTextStyle; }
    const QImage& Glyph() const { return m_look.Glyph; }
    bool TransparentGlyph() const { return m_look.TransparentGlyph; }
    QColor FontColor() const { return m_look.FontColor; }

    // Ignored unless at most Max.
    void SetMin(int min);
    // Ignored unless at least Min.
    void SetMax(int max);
    // Not clamped; beyond Max the bar is full and the percentage passes 100.
    void SetPosition(int position);
    void SetOrientation(TBarOrientation orientation);
    void SetStyle(TBarStyle style);
    void SetBeginColor(QColor color);
    void SetEndColor(QColor color);
    void SetBevelOuter(TBevelCut bevel);
    void SetBarBevelOuter(TBevelCut bevel);
    void SetShowText(bool show);
    void SetShowTextStyle(TShowTextStyle style);
    // Also makes the control glyph height + 4 high (horizontal) or glyph width + 4 wide (vertical).
    void SetGlyph(const QImage& glyph);
    void SetTransparentGlyph(bool transparent);
    // The colour of the text; its face and size are the widget's font.
    void SetFontColor(QColor color);

    // Repaints at once the strip between the bar's end at `oldPosition` and at Position.
    void InvalidatePosition(int oldPosition);
    // Marks the boxes of the widest text and of the text shown now for a later repaint.
    void InvalidateText();

protected:
    void paintEvent(QPaintEvent* event) override;
    // The bar is a window of its own: pressing on it never drags the window it sits in.
    void mousePressEvent(QMouseEvent* event) override;

private:
    // Stores `value` in `field`; says whether it differed.
    template <typename T> bool change(T& field, const T& value);
    void invalidateTextOf(const QString& text);

    GradientBarLook m_look;
};
