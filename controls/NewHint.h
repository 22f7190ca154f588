#pragma once

#include "platform/Events.h"
#include "platform/HintMachinery.h"

#include <QBrush>
#include <QFont>
#include <QObject>
#include <QPen>
#include <QPolygon>
#include <QRegion>

class QPainter;

enum THintStyle {
    hsFukidashi,  // speech balloon with its tail at the top left
    hsRoundRect,  // rounded rectangle
    hsLineString, // text on an underline with a leader line, no background
    hsOwnerDraw   // drawn by TAppHint::OnPaint
};

// What a hint window takes from the rectangle the machinery hands it, by style.
struct THintGeometry {
    QRect Rect;       // the rectangle to activate with (screen pixels)
    bool SavesRect;   // whether Rect becomes the rectangle the outline is drawn from
    QRegion Shape;    // the window's visible shape; empty: the whole rectangular window
    QPolygon Outline; // the balloon's outline; empty for the other styles (kept from before)
};

// The geometry of a hint of `style` for the machinery's rectangle `rect`.
THintGeometry HintGeometry(THintStyle style, const QRect& rect);

// Makes every hint of the application a balloon, a rounded box, floating underlined text or an
// owner-drawn window. The last one constructed is the registered one, from which the hint windows
// take their look; destroying it leaves plain, unpainted hint windows.
class TAppHint : public QObject
{
public:
    // Called with the hint text, a painter prepared with brush, pen and font, and the window size.
    using THintPaintEvent =
        std::function<void(const QString& HintStr, QPainter& Canvas, int Width, int Height)>;

    explicit TAppHint(QObject* owner);
    ~TAppHint() override;

    // The instance the hint windows take their look from; none when there is none.
    static TAppHint* Registered();

    // Text background where the brush is not solid.
    QColor BGColor() const { return m_bgColor; }
    void SetBGColor(QColor color) { m_bgColor = color; }
    // Fill of the balloon and the rounded box.
    const QBrush& Brush() const { return m_brush; }
    void SetBrush(const QBrush& brush) { m_brush = brush; }
    // The hint text's font; a change re-creates the hint window, which measures with it.
    const QFont& Font() const { return m_font; }
    void SetFont(const QFont& font);
    QColor FontColor() const { return m_fontColor; }
    void SetFontColor(QColor color);
    // The outline's pen.
    const QPen& Pen() const { return m_pen; }
    void SetPen(const QPen& pen) { m_pen = pen; }
    QColor ShadowColor() const { return m_shadowColor; }
    void SetShadowColor(QColor color) { m_shadowColor = color; }
    // Whether the text has a shadow copy in ShadowColor.
    bool ShadowVisible() const { return m_shadowVisible; }
    void SetShadowVisible(bool visible) { m_shadowVisible = visible; }
    THintStyle HintStyle() const { return m_hintStyle; }
    // A different style re-creates the hint window.
    void SetHintStyle(THintStyle style);

    // The application's pauses, read and written through: nothing is stored here.
    int HintPause() const { return Hints().HintPause(); }
    void SetHintPause(int ms) { Hints().SetHintPause(ms); }
    int HintHidePause() const { return Hints().HintHidePause(); }
    void SetHintHidePause(int ms) { Hints().SetHintHidePause(ms); }
    int HintShortPause() const { return Hints().HintShortPause(); }
    void SetHintShortPause(int ms) { Hints().SetHintShortPause(ms); }

    // Paints a hint window of `size` showing `text`. `savedRect` is the rectangle of the last
    // activation that saved one, `outline` the balloon's outline.
    void PaintHint(QPainter& painter, const QString& text, QSize size, const QRect& savedRect,
                   const QPolygon& outline) const;

    // Raised when the application's hint changes (the pointer reached another hint).
    TNotifyEvent OnHint;
    // Draws the hsOwnerDraw hints.
    THintPaintEvent OnPaint;
    // Raised before a hint shows, after the lift; may change or cancel it.
    TShowHintEvent OnShowHint;

    // Bound to the application's events.
    void DoHint(QObject* Sender);
    void ShowHint(QString& HintStr, bool& CanShow, THintInfo& HintInfo);

private:
    void recreateHintWindow();
    void paintText(QPainter& painter, const QString& text, QRect client, QPoint offset, QColor color) const;

    QColor m_bgColor;
    QBrush m_brush;
    QFont m_font;
    QColor m_fontColor;
    QPen m_pen;
    QColor m_shadowColor;
    bool m_shadowVisible = true;
    THintStyle m_hintStyle = hsFukidashi;
};

// The hint window that the registered TAppHint shapes and paints. It never takes input.
class THintEx : public HintWindow
{
public:
    THintEx();

    void ActivateHint(QRect rect, const QString& text) override;

protected:
    bool ErasesBackground() const override;
    void Paint(QPainter& painter) override;

private:
    QRect m_savedRect;
    QPolygon m_outline;
};
