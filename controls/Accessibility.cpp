#include "controls/Accessibility.h"

#include "controls/BrowseEdit.h"
#include "controls/DigitBar.h"
#include "controls/FadeButton.h"
#include "controls/GradientProgressBar.h"
#include "platform/StockControls.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace
{

// The value interface of a control whose value is a whole number within a range.
class RangeValue : public QAccessibleValueInterface
{
public:
    QVariant maximumValue() const override { return range().Max; }
    QVariant minimumValue() const override { return range().Min; }
    QVariant currentValue() const override { return range().Position; }
    QVariant minimumStepSize() const override { return 1; }

protected:
    virtual BarRange range() const = 0;
};

class DigitBarAccessible : public QAccessibleWidget, public RangeValue
{
public:
    explicit DigitBarAccessible(TDigitBar* bar) : QAccessibleWidget(bar, QAccessible::SpinBox) {}

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? bar()->PositionToStr(ptsPosition) : QAccessibleWidget::text(t);
    }
    void setCurrentValue(const QVariant& value) override { bar()->SetPosition(value.toInt()); }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ValueInterface ? static_cast<QAccessibleValueInterface*>(this)
                                                   : QAccessibleWidget::interface_cast(type);
    }

private:
    TDigitBar* bar() const { return static_cast<TDigitBar*>(widget()); }
    BarRange range() const override { return {bar()->Min(), bar()->Max(), bar()->Position()}; }
};

class ProgressBarAccessible : public QAccessibleWidget, public RangeValue
{
public:
    explicit ProgressBarAccessible(GradientProgressBar* bar)
        : QAccessibleWidget(bar, QAccessible::ProgressBar)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? BarText(range(), TShowTextStyle::stsPercent)
                                       : QAccessibleWidget::text(t);
    }
    // Only the run moves it.
    void setCurrentValue(const QVariant&) override {}
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ValueInterface ? static_cast<QAccessibleValueInterface*>(this)
                                                   : QAccessibleWidget::interface_cast(type);
    }

private:
    const GradientProgressBar* bar() const { return static_cast<const GradientProgressBar*>(widget()); }
    BarRange range() const override { return {bar()->Min(), bar()->Max(), bar()->Position()}; }
};

class FadeButtonAccessible : public QAccessibleWidget
{
public:
    explicit FadeButtonAccessible(FadeButton* button) : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return button()->Caption();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override
    {
        if (action == pressAction() && button()->Enabled())
            Fire(button()->OnClick, button());
    }

private:
    FadeButton* button() const { return static_cast<FadeButton*>(widget()); }
};

// A group named by the window, whose value is its folder; its field and button are its children.
class BrowseEditAccessible : public QAccessibleWidget
{
public:
    explicit BrowseEditAccessible(TBrowseEdit* edit) : QAccessibleWidget(edit, QAccessible::Grouping) {}

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? static_cast<const TBrowseEdit*>(widget())->Path()
                                       : QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* controlsInterface(const QString&, QObject* object)
{
    // The controls carry no meta-object of their own, so they are told apart by their type.
    auto* widget = qobject_cast<QWidget*>(object);
    if (auto* bar = dynamic_cast<TDigitBar*>(widget))
        return new DigitBarAccessible(bar);
    if (auto* button = dynamic_cast<FadeButton*>(widget))
        return new FadeButtonAccessible(button);
    if (auto* bar = dynamic_cast<GradientProgressBar*>(widget))
        return new ProgressBarAccessible(bar);
    if (auto* edit = dynamic_cast<TBrowseEdit*>(widget))
        return new BrowseEditAccessible(edit);
    // A panel groups controls; it is no frame (a window, to assistive technology).
    if (auto* panel = dynamic_cast<TPanel*>(widget))
        return new QAccessibleWidget(panel, QAccessible::Pane);
    // The program's windows are plain widgets; they are windows, titled, all the same.
    if (widget && widget->windowType() == Qt::Window && widget->metaObject() == &QWidget::staticMetaObject)
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

} // namespace

namespace Accessibility
{

void Install()
{
    static const bool installed = [] {
        QAccessible::installFactory(controlsInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

void ValueChanged(QWidget* widget, int value)
{
    QAccessibleValueChangeEvent event(widget, value);
    QAccessible::updateAccessibility(&event);
}

void NameChanged(QWidget* widget)
{
    QAccessibleEvent event(widget, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

} // namespace Accessibility
