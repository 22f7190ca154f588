#pragma once

#include "controls/FadeStep.h"

#include <QAbstractButton>
#include <QTimer>
#include <optional>

class QPainter;

// A flat button that draws itself: a filled rectangle with an outline and a centred caption.
// Under the pointer its fill and outline move step by step, on a timer of its own, towards a
// second pair of colours, and back when the pointer leaves; the caption takes a hover colour.
// The fading colours are plain RGB. Setters marked "paints at once" draw synchronously. A button
// of Qt's: it takes the focus with Tab, clicks with Space, and tells screen readers its caption
// (or its accessible name, where the caption is a glyph); `clicked` follows a click.
class FadeButton : public QAbstractButton
{
    Q_OBJECT
public:
    FadeButton(QWidget* parent, const QString& caption);

    // Resting fill, and the fill fade's lower bound. Paints at once, even when unchanged.
    QColor Color() const { return FromTColor(m_color); }
    void SetColor(QColor color);
    // Fill reached under the pointer, and the fill fade's upper bound.
    QColor DestColor() const { return FromTColor(m_destColor); }
    void SetDestColor(QColor color) { m_destColor = ToTColor(color); }
    // Resting outline, and the outline fade's lower bound. Paints at once.
    QColor BorderColor() const { return FromTColor(m_borderColor); }
    void SetBorderColor(QColor color);
    // Outline reached under the pointer, and the outline fade's upper bound.
    QColor BorderDestColor() const { return FromTColor(m_borderDestColor); }
    void SetBorderDestColor(QColor color) { m_borderDestColor = ToTColor(color); }
    // Outline thickness in pixels (at least one is drawn). Paints at once.
    int BorderHeight() const { return m_borderHeight; }
    void SetBorderHeight(int height);
    // Paints at once.
    QString Caption() const { return text(); }
    void SetCaption(const QString& caption);
    // Caption colour away from the pointer; a change repaints in the normal course.
    QColor FontColor() const { return m_fontColor; }
    void SetFontColor(QColor color);
    // Caption colour from the first pointer move until the pointer leaves.
    QColor CaptionOverColor() const { return m_captionOverColor; }
    void SetCaptionOverColor(QColor color) { m_captionOverColor = color; }
    // Fade in step by step under the pointer (true) or jump to the hover colours (false).
    bool FadeOnOver() const { return m_fadeOnOver; }
    void SetFadeOnOver(bool fade) { m_fadeOnOver = fade; }
    // Fade out step by step when the pointer leaves (true) or jump back (false).
    bool FadeOnLeave() const { return m_fadeOnLeave; }
    void SetFadeOnLeave(bool fade) { m_fadeOnLeave = fade; }
    // Change of each channel per tick; a running fade keeps its step until the next hover or leave.
    int Step() const { return m_step; }
    void SetStep(int step) { m_step = step; }
    // Milliseconds between ticks; applies to a running fade at once.
    int Speed() const { return m_speed; }
    void SetSpeed(int speed);

    // A disabled button looks the same but takes no hover and no clicks; it still handles leaves.
    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool enabled) { setEnabled(enabled); }

    // Draws the button as it looks now over (0, 0, width, height) of `painter`.
    void Paint(QPainter& painter) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void animate();
    // Draws now, synchronously; a button that is not on screen or has no size draws nothing.
    void paintNow() { repaint(); }

    TColor m_color;
    TColor m_destColor;
    TColor m_borderColor;
    TColor m_borderDestColor;
    TColor m_currentColor;
    TColor m_currentBorderColor;
    int m_borderHeight = 1;
    QColor m_fontColor;
    QColor m_captionOverColor;
    bool m_fadeOnOver = true;
    bool m_fadeOnLeave = true;
    int m_step;
    int m_speed;
    int m_fadeDelta = 0;
    // The caption colour a hover replaced; empty when no hover has happened since the last leave.
    std::optional<QColor> m_savedCaptionColor;
    // Declared last so that it is destroyed first: no tick can reach a half-destroyed button.
    QTimer m_fadeTimer{this};
};
