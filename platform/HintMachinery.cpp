#include "platform/HintMachinery.h"

#include "platform/SystemColors.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace
{

// How far below the pointer's hot spot a hint starts: the visible height of the arrow pointer.
constexpr int PointerHeightMargin = 20;
// The measured text extent grows by this much to give the hint rectangle.
constexpr QSize TextMargin{6, 2};
// Rows the activation adds below the hint rectangle.
constexpr int ExtraRows = 4;
// Where the plain hint window starts its text.
constexpr QPoint PlainTextOrigin{2, 2};

QScreen* screenAt(QPoint point)
{
    QScreen* screen = QGuiApplication::screenAt(point);
    return screen ? screen : QGuiApplication::primaryScreen();
}

// The widget itself or its nearest ancestor in the same window that carries a hint.
QWidget* hintedControl(QWidget* widget)
{
    for (; widget; widget = widget->isWindow() ? nullptr : widget->parentWidget())
        if (!widget->toolTip().isEmpty())
            return widget;
    return nullptr;
}

// What the pointer at `cursorPos` over `widget` shows: the row's own hint in an item view whose
// row has one, else the hint of the nearest control that carries one.
struct PointedHint {
    QWidget* control = nullptr;
    QString text;
};

PointedHint hintAt(QWidget* widget, QPoint cursorPos)
{
    auto* view = qobject_cast<QAbstractItemView*>(widget);
    if (!view && widget)
        view = qobject_cast<QAbstractItemView*>(widget->parentWidget());
    if (view && (widget == view || widget == view->viewport())) {
        const QModelIndex row = view->indexAt(view->viewport()->mapFromGlobal(cursorPos));
        const QString rowHint = row.data(Qt::ToolTipRole).toString();
        if (!rowHint.isEmpty())
            return {view, rowHint};
    }
    QWidget* control = hintedControl(widget);
    return {control, control ? control->toolTip() : QString()};
}

// Where a hint window of `rect` goes on `desktop`: moved up or left to end at its bottom or right
// edge, and right to start at its left edge.
QRect keepOnDesktop(QRect rect, const QRect& desktop)
{
    if (rect.bottom() > desktop.bottom())
        rect.moveBottom(desktop.bottom());
    if (rect.right() > desktop.right())
        rect.moveRight(desktop.right());
    if (rect.left() < desktop.left())
        rect.moveLeft(desktop.left());
    return rect;
}

} // namespace

HintWindow::HintWindow() : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_NoSystemBackground);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, ColorOf(SystemColor::InfoBackground));
    setPalette(colours);
}

QRect HintWindow::CalcHintRect(int maxWidth, const QString& text) const
{
    const QRect extent = fontMetrics().boundingRect(QRect(0, 0, maxWidth, 0), HintTextFlags, text);
    return QRect(QPoint(0, 0), extent.size() + TextMargin);
}

void HintWindow::ActivateHint(QRect rect, const QString& text)
{
    m_text = text;
    rect.setHeight(rect.height() + ExtraRows);
    setGeometry(keepOnDesktop(rect, screenAt(rect.topLeft())->virtualGeometry()));
    show();
    raise();
    update();
}

void HintWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (ErasesBackground())
        painter.fillRect(rect(), palette().color(QPalette::Window));
    Paint(painter);
}

void HintWindow::Paint(QPainter& painter)
{
    painter.drawText(rect().translated(PlainTextOrigin), HintTextFlags, m_text);
}

HintMachinery& HintMachinery::Instance()
{
    // A child of the application: it goes with it, and a new application gets a new one.
    static QPointer<HintMachinery> instance;
    if (!instance)
        instance = new HintMachinery;
    return *instance;
}

HintMachinery::HintMachinery() : QObject(qApp)
{
    m_showTimer.setSingleShot(true);
    m_hideTimer.setSingleShot(true);
    connect(&m_showTimer, &QTimer::timeout, this, [this] { ActivateHintFor(m_control, m_cursorPos); });
    connect(&m_hideTimer, &QTimer::timeout, this, [this] { hideHint(); });
    qApp->installEventFilter(this);
    SetShowHint(true);
}

void HintMachinery::SetShowHint(bool show)
{
    if (show == ShowHint())
        return;
    CancelHint();
    if (!show) {
        m_window.reset();
        return;
    }
    m_window = m_windowClass ? m_windowClass() : std::make_unique<HintWindow>();
}

void HintMachinery::ActivateHintFor(QWidget* control, QPoint cursorPos)
{
    m_showTimer.stop();
    PointedHint pointed = hintAt(control, cursorPos);
    if (!pointed.control || !m_window)
        return;
    m_control = pointed.control;
    QString& text = pointed.text;
    bool canShow = true;
    THintInfo info{pointed.control, cursorPos + QPoint(0, PointerHeightMargin),
                   screenAt(cursorPos)->size().width(), ColorOf(SystemColor::InfoBackground), m_hidePause};
    if (OnShowHint)
        OnShowHint(text, canShow, info);
    if (!canShow || text.isEmpty())
        return;
    QPalette colours = m_window->palette();
    colours.setColor(QPalette::Window, info.HintColor);
    m_window->setPalette(colours);
    QRect rect = m_window->CalcHintRect(info.HintMaxWidth, text);
    rect.moveTopLeft(info.HintPos);
    m_window->ActivateHint(rect, text);
    m_hideTimer.start(info.HideTimeout);
}

void HintMachinery::CancelHint()
{
    m_showTimer.stop();
    hideHint();
    m_control = nullptr;
}

void HintMachinery::hideHint()
{
    m_hideTimer.stop();
    if (m_window)
        m_window->hide();
}

void HintMachinery::setHint(const QString& hint)
{
    if (hint == m_hint)
        return;
    m_hint = hint;
    Fire(OnHint, this);
}

void HintMachinery::pointerMoved(QWidget* widget, QPoint cursorPos)
{
    const PointedHint pointed = hintAt(widget, cursorPos);
    // Another row of a list is another hint, though the control stays the same.
    const bool sameHint = pointed.control && pointed.control == m_control && pointed.text == m_hint;
    setHint(pointed.text);
    m_cursorPos = cursorPos;
    if (sameHint) {
        // Still on the same control: a waiting hint waits for the pointer to rest again; a shown
        // one stays until its time is up.
        if (m_showTimer.isActive())
            m_showTimer.start();
        return;
    }
    const bool hintShown = m_window && m_window->isVisible();
    CancelHint();
    m_control = pointed.control;
    if (pointed.control)
        m_showTimer.start(hintShown ? m_shortPause : m_hintPause);
}

bool HintMachinery::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget == m_window.get())
        return false;
    switch (event->type()) {
    case QEvent::ToolTip:
        // Qt's own tooltip comes on Qt's clock; the pauses here decide when hints show.
        return true;
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->buttons() != Qt::NoButton)
            break;
        // Moves reach the filter once for the widget under the pointer and again for each of its
        // parents; the widget under the pointer is the same for all of them.
        QWidget* under = widget->childAt(mouse->position().toPoint());
        pointerMoved(under ? under : widget, mouse->globalPosition().toPoint());
        break;
    }
    case QEvent::Leave:
        if (widget->isWindow()) {
            CancelHint();
            setHint({});
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::Wheel:
        CancelHint();
        break;
    default:
        break;
    }
    return false;
}
