#pragma once

#include <QBasicTimer>
#include <QColor>
#include <QElapsedTimer>
#include <QFlags>
#include <QImage>
#include <QWidget>

class QPainter;

// The switches of a digit bar's behaviour.
enum TDigitBarMode : unsigned {
    dbmAllowTimer = 0x01, // a held button steps again 400 ms after the press, then every 100 ms
    dbmArrowKeys = 0x02,  // Up/Down step, Left/Right move the focus; without it all four move the focus
    dbmArrowWrap = 0x04,  // stepping up from Max gives Min, stepping down from Min gives Max
    dbmEnterNext = 0x08,  // Enter moves the focus to the next control
    dbmPosClick = 0x10,   // a left press in the bar sets the value from the pointer's height
    dbmPosMove = 0x20,    // dragging in the bar with the left button held sets the value
    dbmThousands = 0x40,  // the value is written with the locale's thousands separators
};
Q_DECLARE_FLAGS(TDigitBarModes, TDigitBarMode)
Q_DECLARE_OPERATORS_FOR_FLAGS(TDigitBarModes)

// Which button is drawn pressed.
enum TBarClickState { bcsNone, bcsUp, bcsDown };
// What `clicked` reports: a step up or down (button, key or repeat), a press or a drag in the bar.
enum TBarClickType { bctUp, bctDown, bctPosition, bctMove };
// The text PositionToStr gives: the value, or the longest value text (for sizing).
enum TPositionToStr { ptsPosition, ptsMaxStr };

// A vertical control for choosing a whole number between Min and Max: an up button at the top,
// a down button at the bottom, and between them a bar in which a sunken box shows the value; the
// box sits at the bottom for Min and at the top for Max. Buttons (with auto-repeat), presses and
// drags in the bar, and the keys of a spin box change the value: the arrows step, PageUp and
// PageDown take ten steps, Home and End go to Min and Max, and digits typed in a row give the
// number they make. Screen readers know it as a spin box.
class TDigitBar : public QWidget
{
    Q_OBJECT
public:
    // Steps that PageUp and PageDown take.
    static constexpr int PageSteps = 10;

    explicit TDigitBar(QWidget* parent = nullptr);

    // Size the control to its longest value text (the height only grows).
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool autoSize);
    // Colour of the buttons and the bar.
    QColor BarColor() const { return m_barColor; }
    void SetBarColor(QColor color);
    // Width of the 3-D edges, at least 1.
    int BevelWidth() const { return m_bevelWidth; }
    void SetBevelWidth(int width);
    // Height of each button.
    int BtnHeight() const { return m_btnHeight; }
    void SetBtnHeight(int height);
    // Background of the value box while the control has the keyboard focus.
    QColor FocusColor() const { return m_focusColor; }
    void SetFocusColor(QColor color) { m_focusColor = color; }
    // Background of the value box otherwise.
    QColor Color() const { return m_color; }
    void SetColor(QColor color);
    // Colour of the value text.
    QColor FontColor() const { return m_fontColor; }
    void SetFontColor(QColor color);
    // Step of one button click or arrow key.
    int Increment() const { return m_increment; }
    void SetIncrement(int increment) { m_increment = increment; }
    // The range. Max never goes below Min: each writer clamps its value to the other end, and
    // the position into the new range.
    int Max() const { return m_max; }
    void SetMax(int max);
    int Min() const { return m_min; }
    void SetMin(int min);
    TDigitBarModes Modes() const { return m_modes; }
    void SetModes(TDigitBarModes modes);
    // The value, always within Min..Max: a value outside is clamped. `changed` follows a change.
    int Position() const { return m_position; }
    void SetPosition(int position);
    // Gap between the value box's edge and its text, at least 0.
    int Spacing() const { return m_spacing; }
    void SetSpacing(int spacing);

    // Between these two the properties arrive in their stored order (Max before Min before
    // Position); sizing waits until all of them are in.
    void BeginLoading() { m_loading = true; }
    void Loaded();

    // The value as text, or the longest value text.
    virtual QString PositionToStr(TPositionToStr kind) const;

    // Draws the whole control with its top left corner at the painter's origin.
    void PaintTo(QPainter& painter) const;

signals:
    // After every change of Position, by code or by the user.
    void changed();
    // After every step or position click, also when the value stayed.
    void clicked(TBarClickType kind);

protected:
    // The steps, each open to a subclass.
    virtual void AdjustBounds();
    virtual void Change();
    virtual void UpClick();
    virtual void DownClick();
    virtual void ClickToPosition(int y, int top, int bottom);
    virtual int PositionToClick(int range) const;
    void DoUpClick();
    void DoDownClick();
    void DoPositionClick(int x, int y, TBarClickType kind);
    // One tick of the repeat timer: the held button steps again.
    virtual void TimerExpired();

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void setClickState(TBarClickState state);
    // A release or the pointer leaving: the repeat stops and no button is pressed.
    void endPress();
    void arrowKey(int key);
    // Takes a typed digit into the number being typed, and goes to that number.
    void typeDigit(QChar digit);
    // Moves the focus once the current event has been handled.
    void postFocusMove(bool next);
    QString numberText(int number) const;
    void raiseClick(TBarClickType kind);

    bool m_autoSize = true;
    QColor m_barColor;
    int m_bevelWidth = 2;
    int m_btnHeight = 10;
    QColor m_focusColor{0x00, 0xFF, 0xFF};
    int m_increment = 1;
    int m_max = 100;
    int m_min = 0;
    TDigitBarModes m_modes = dbmAllowTimer | dbmArrowKeys | dbmPosMove;
    int m_position = 0;
    int m_spacing = 1;
    QColor m_color;
    QColor m_fontColor{0, 0, 0};
    TBarClickState m_clickState = bcsNone;
    const QImage m_upGlyph;
    const QImage m_downGlyph;
    QBasicTimer m_repeatTimer;
    // The left button went down here and is still held: the pointer is ours.
    bool m_captured = false;
    QString m_typed; // the digits typed in a row
    QElapsedTimer m_sinceTyped;
    bool m_loading = false;
};
