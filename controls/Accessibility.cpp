#include "controls/Accessibility.h"

#include "controls/BrowseEdit.h"
#include "controls/DigitBar.h"
#include "controls/GradientProgressBar.h"
#include "platform/StockControls.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace
{

// The value interface of a control whose value is a number within a range.
class RangeValue : public QAccessibleValueInterface
{
public:
    QVariant minimumStepSize() const override { return 1; }
};

class DigitBarAccessible : public QAccessibleWidget, public RangeValue
{
public:
    explicit DigitBarAccessible(TDigitBar* bar) : QAccessibleWidget(bar, QAccessible::SpinBox) {}

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? bar()->PositionToStr(ptsPosition) : QAccessibleWidget::text(t);
    }
    QVariant maximumValue() const override { return bar()->Max(); }
    QVariant minimumValue() const override { return bar()->Min(); }
    QVariant currentValue() const override { return bar()->Position(); }
    void setCurrentValue(const QVariant& value) override { bar()->SetPosition(value.toInt()); }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ValueInterface ? static_cast<QAccessibleValueInterface*>(this)
                                                   : QAccessibleWidget::interface_cast(type);
    }

private:
    TDigitBar* bar() const { return static_cast<TDigitBar*>(widget()); }
};

// A slider whose value is what its step stands for, and reads as its caption ("22050Hz").
class TrackBarAccessible : public QAccessibleWidget, public RangeValue
{
public:
    explicit TrackBarAccessible(TTrackBar* bar) : QAccessibleWidget(bar, QAccessible::Slider) {}

    QString text(QAccessible::Text t) const override
    {
        const bool caption = t == QAccessible::Value || t == QAccessible::Description;
        return caption ? bar()->CaptionAt(bar()->value()) : QAccessibleWidget::text(t);
    }
    QVariant maximumValue() const override { return bar()->Extreme(true); }
    QVariant minimumValue() const override { return bar()->Extreme(false); }
    QVariant currentValue() const override { return bar()->ValueAt(bar()->value()); }
    void setCurrentValue(const QVariant& value) override
    {
        bar()->setValue(bar()->StepNearest(value.toInt()));
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ValueInterface ? static_cast<QAccessibleValueInterface*>(this)
                                                   : QAccessibleWidget::interface_cast(type);
    }

private:
    TTrackBar* bar() const { return static_cast<TTrackBar*>(widget()); }
};

// Read only: it reads as its percentage, and offers nothing to set or step.
class ProgressBarAccessible : public QAccessibleWidget
{
public:
    explicit ProgressBarAccessible(GradientProgressBar* bar)
        : QAccessibleWidget(bar, QAccessible::ProgressBar)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        const bool percent = t == QAccessible::Value || t == QAccessible::Description;
        return percent ? BarText({bar()->Min(), bar()->Max(), bar()->Position()}, TShowTextStyle::stsPercent)
                       : QAccessibleWidget::text(t);
    }

private:
    const GradientProgressBar* bar() const { return static_cast<const GradientProgressBar*>(widget()); }
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

QAccessibleInterface* controlsInterface(const QString& className, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr)
        return nullptr;
    if (className == QLatin1String("TDigitBar"))
        return new DigitBarAccessible(static_cast<TDigitBar*>(widget));
    if (className == QLatin1String("TTrackBar"))
        return new TrackBarAccessible(static_cast<TTrackBar*>(widget));
    if (className == QLatin1String("GradientProgressBar"))
        return new ProgressBarAccessible(static_cast<GradientProgressBar*>(widget));
    if (className == QLatin1String("TBrowseEdit"))
        return new BrowseEditAccessible(static_cast<TBrowseEdit*>(widget));
    // A panel groups controls; it is no frame (a window, to assistive technology).
    if (className == QLatin1String("TPanel"))
        return new QAccessibleWidget(widget, QAccessible::Pane);
    // The program's windows are plain widgets; they are windows, named by their purpose.
    if (className == QLatin1String("QWidget") && widget->isWindow() &&
        widget->metaObject() == &QWidget::staticMetaObject)
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

void DescriptionChanged(QWidget* widget)
{
    QAccessibleEvent event(widget, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

} // namespace Accessibility
