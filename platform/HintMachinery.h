#pragma once

#include "platform/Events.h"

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

// How hint texts are measured and drawn: left-aligned, wrapped at word boundaries, "&" literal.
constexpr int HintTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

// The description of a hint about to show; the show-hint event may change any of it.
struct THintInfo {
    QWidget* HintControl = nullptr; // the control whose hint this is
    QPoint HintPos;                 // screen position of the hint's top-left corner
    int HintMaxWidth = 0;           // the text wraps within this width
    QColor HintColor;               // background of the hint window
    int HideTimeout = 0;            // ms the hint stays shown
};

// The show-hint event: may change the text and the description, or cancel with CanShow = false.
using TShowHintEvent = std::function<void(QString& HintStr, bool& CanShow, THintInfo& HintInfo)>;

// The application's hint window. Subclasses change its shape and look; the machinery creates one
// of the current class each time hints are turned on.
class HintWindow : public QWidget
{
public:
    HintWindow();

    // The rectangle at (0,0) that `text` needs: its extent wrapped within `maxWidth` in this
    // window's font, plus 6 pixels in width and 2 in height.
    virtual QRect CalcHintRect(int maxWidth, const QString& text) const;
    // Shows `text` at `rect` (screen pixels): 4 rows taller, kept on the desktop, topmost and
    // without taking the focus.
    virtual void ActivateHint(QRect rect, const QString& text);

    const QString& Text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent* event) override;
    // Whether the background is filled with the hint colour before Paint.
    virtual bool ErasesBackground() const { return true; }
    // Draws the text; the background is already erased.
    virtual void Paint(QPainter& painter);

private:
    QString m_text;
};

// The application-wide hint machinery: when the pointer rests on a control with a hint
// (QWidget::toolTip), shows the hint in a window of the current hint window class after the
// hint pause and hides it after the hide pause. Qt's own tooltips never show.
class HintMachinery : public QObject
{
public:
    using HintWindowClass = std::function<std::unique_ptr<HintWindow>()>;

    // The one machinery of the application, installed on first use.
    static HintMachinery& Instance();

    // Creates the hint windows from now on; takes effect when hints are next turned on.
    void SetHintWindowClass(HintWindowClass windowClass) { m_windowClass = std::move(windowClass); }
    // Turning hints off destroys the hint window; turning them on creates one of the current class.
    bool ShowHint() const { return m_window != nullptr; }
    void SetShowHint(bool show);
    // The current hint window; none while hints are off.
    HintWindow* Window() const { return m_window.get(); }

    // Rest of the pointer before a hint shows, in ms.
    int HintPause() const { return m_hintPause; }
    void SetHintPause(int ms) { m_hintPause = ms; }
    // Wait before the hint of another control while one shows; 0 shows it at once.
    int HintShortPause() const { return m_shortPause; }
    void SetHintShortPause(int ms) { m_shortPause = ms; }
    // How long a hint stays shown, in ms.
    int HintHidePause() const { return m_hidePause; }
    void SetHintHidePause(int ms) { m_hidePause = ms; }
    // The hint of the control under the pointer (empty when it has none).
    const QString& Hint() const { return m_hint; }

    // Raised when Hint changes.
    TNotifyEvent OnHint;
    // Raised before a hint shows.
    TShowHintEvent OnShowHint;

    // Shows the hint of `control` (or of its nearest ancestor with one) for a pointer resting at
    // `cursorPos` (screen pixels), as the pause's end does.
    void ActivateHintFor(QWidget* control, QPoint cursorPos);
    // Hides a shown hint and forgets the control, so the next rest starts afresh.
    void CancelHint();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    HintMachinery();
    void pointerMoved(QWidget* widget, QPoint cursorPos);
    void setHint(const QString& hint);
    void hideHint();

    HintWindowClass m_windowClass;
    std::unique_ptr<HintWindow> m_window;
    int m_hintPause = 500;
    int m_shortPause = 0;
    int m_hidePause = 2500;
    QString m_hint;
    // The control whose hint is waiting, shown, or has been shown for this stay of the pointer.
    QPointer<QWidget> m_control;
    QPoint m_cursorPos;
    QTimer m_showTimer;
    QTimer m_hideTimer;
};

// The application's hint machinery.
inline HintMachinery& Hints()
{
    return HintMachinery::Instance();
}
