#pragma once

#include "controls/TextRamp.h"
#include "platform/Events.h"

#include <QLabel>

class QImage;
class QPainter;

// Fills `bitmap` (made 32-bit RGB if it is not) with a gradient from `start` (top or left) to `end`
// (bottom or right), one colour per pixel row (`vertical`) or column. A single row or column shows
// `start`.
void GradBitmap(QImage& bitmap, QColor start, QColor end, bool vertical);

// Paints the same gradient into `rect` of `painter`, computed on a small strip and stretched.
void GradRect(QPainter& painter, const QRect& rect, QColor start, QColor end, bool vertical);

// One offset copy of a label's text: whether it is drawn, its colour and how far it is moved.
class TShadow : public QObject
{
public:
    // A copy `offset` pixels to the right and down (negative: left and up).
    TShadow(QObject* owner, QColor color, int offset);

    bool Visible() const { return m_visible; }
    void SetShadowVisible(bool visible);
    QColor Color() const { return m_color; }
    void SetShadowColor(QColor color);
    int Offset() const { return m_offset; }

    // After any of the values changed.
    TNotifyEvent OnChange;

private:
    template <typename T> void change(T& field, const T& value);

    bool m_visible = true;
    QColor m_color;
    int m_offset;
};

// A text label drawn with a highlight copy up-left and a shadow copy down-right beneath its text,
// a plain background unless transparent and an optional colour ramp over the characters; "&"
// underlines the next character. The horizontal
// part of alignment() places the text, its vertical part is the layout. Part of the window's surface:
// presses on it go to the window.
class TShadowLabel : public QLabel
{
public:
    // Placed at `topLeft` and sized to its caption; without a vertical flag the text sits at the top.
    TShadowLabel(QWidget* parent, const QString& caption, QPoint topLeft,
                 Qt::Alignment alignment = Qt::AlignLeft);

    // Text colour while enabled, and the ramp's first colour.
    QColor FontColor() const { return m_fontColor; }
    void SetFontColor(QColor color);
    // Background colour, and the gradient's bottom or right colour.
    QColor Color() const { return m_color; }
    void SetColor(QColor color);
    // No background of its own: the parent shows through.
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool transparent);
    TTextGradation TextGradation() const { return m_textGradation; }
    void SetTextGradation(TTextGradation gradation);
    // The ramp's last colour.
    QColor TextGradationColor() const { return m_textGradationColor; }
    void SetTextGradationColor(QColor color);
    // The three-colour ramp's middle colour.
    QColor TextMidColor() const { return m_textMidColor; }
    void SetTextMidColor(QColor color);
    // The copies: a white highlight up-left and a grey shadow down-right.
    TShadow* Highlight() const { return m_highlight; }
    TShadow* Shadow() const { return m_shadow; }

    // Draws the label as it looks now over (0, 0, width, height) of `painter`.
    void Paint(QPainter& painter) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ShadowChanged(QObject* sender);
    void paintRamp(QPainter& painter, const QRect& bounds, int flags, const QString& text) const;
    int textFlags() const;
    int layoutOffset(int textHeight) const;

    QColor m_fontColor;
    QColor m_color;
    bool m_transparent = false;
    TTextGradation m_textGradation = tgNone;
    QColor m_textGradationColor;
    QColor m_textMidColor;
    TShadow* m_highlight;
    TShadow* m_shadow;
};
