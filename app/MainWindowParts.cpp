#include "app/MainWindowParts.h"

#include "controls/DigitBar.h"
#include "controls/FadeButton.h"
#include "controls/MCCBox.h"
#include "controls/NewHint.h"
#include "controls/ShadoLbl.h"
#include "platform/DesignColors.h"
#include "platform/Fonts.h"
#include "platform/StockControls.h"
#include "platform/SystemColors.h"

#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>

namespace
{
using namespace DesignColors;

constexpr int DigitBarTop = 8;
constexpr QSize DigitBarSize{40, 160};
constexpr int DigitBarButtonHeight = 16;
constexpr int DigitBarFontPixels = 12;
} // namespace

void GiveHint(QWidget& widget, const QString& hint)
{
    widget.setToolTip(hint);
    widget.setAccessibleDescription(hint.trimmed());
}

FadeButton* makeButton(QWidget* parent, const QString& caption, const QRect& geometry, const QString& hint)
{
    auto* button = new FadeButton(parent, caption);
    button->setGeometry(geometry);
    GiveHint(*button, hint);
    return button;
}

TDigitBar* makeDigitBar(QWidget* parent, const DigitBarSetup& setup)
{
    auto* bar = new TDigitBar(parent);
    // In the stored order, so that a range above the default Max of 100 arrives whole.
    bar->BeginLoading();
    bar->SetAutoSize(false);
    bar->SetBtnHeight(DigitBarButtonHeight);
    bar->SetFocusColor(setup.focusColor);
    bar->SetMax(setup.range.Max);
    bar->SetMin(setup.range.Min);
    bar->SetPosition(setup.position);
    bar->SetModes(dbmAllowTimer | dbmArrowKeys | dbmArrowWrap | dbmEnterNext | dbmPosClick | dbmPosMove);
    bar->SetColor(Qt::white);
    bar->setFont(Fonts::Pixel(Fonts::UiGothic, DigitBarFontPixels));
    bar->SetFontColor(TextGrey);
    bar->setGeometry(QRect(QPoint(setup.left, DigitBarTop), DigitBarSize));
    bar->setCursor(Qt::PointingHandCursor);
    GiveHint(*bar, setup.hint);
    bar->Loaded();
    return bar;
}

TTrackBar* makeTrackBar(QWidget* parent, Qt::Orientation orientation, const QRect& geometry, int max,
                        int position, const QString& hint)
{
    auto* bar = new TTrackBar(orientation, parent);
    bar->setGeometry(geometry);
    bar->setRange(0, max);
    bar->setPageStep(1);
    bar->setValue(position);
    bar->setTickPosition(orientation == Qt::Vertical ? QSlider::TicksLeft : QSlider::TicksBelow);
    GiveHint(*bar, hint);
    return bar;
}

QList<QRect> handleRects(const QSlider& bar)
{
    // The option QSlider makes for itself, which it keeps to itself.
    QStyleOptionSlider option;
    option.initFrom(&bar);
    option.orientation = bar.orientation();
    if (bar.orientation() == Qt::Horizontal)
        option.state |= QStyle::State_Horizontal;
    option.minimum = bar.minimum();
    option.maximum = bar.maximum();
    option.tickPosition = bar.tickPosition();
    option.tickInterval = bar.tickInterval();
    option.upsideDown = bar.orientation() == Qt::Horizontal
                            ? bar.invertedAppearance() != (option.direction == Qt::RightToLeft)
                            : !bar.invertedAppearance();
    option.direction = Qt::LeftToRight;
    QList<QRect> rects;
    for (int value = bar.minimum(); value <= bar.maximum(); ++value) {
        option.sliderPosition = value;
        option.sliderValue = value;
        rects << bar.style()
                     ->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, &bar)
                     .translated(bar.pos());
    }
    return rects;
}

TMultiColComboBox* makeCombo(QWidget* parent, const QRect& geometry, const QString& hint)
{
    auto* combo = new TMultiColComboBox(parent);
    combo->setGeometry(geometry);
    GiveHint(*combo, hint);
    combo->setFont(Fonts::Pixel(Fonts::UiGothic, 11));
    return combo;
}

TShadowLabel* makeCaption(QWidget* parent, const QString& caption, QPoint topLeft, Qt::Alignment alignment)
{
    auto* label = new TShadowLabel(parent, caption, topLeft, alignment | Qt::AlignVCenter);
    label->SetTransparent(true);
    label->setFont(Fonts::Pixel(Fonts::UiGothic, 11, true));
    label->SetFontColor(TextGrey);
    label->Highlight()->SetShadowVisible(false);
    label->adjustSize();
    return label;
}

TAppHint* makeAppHint(QObject* owner)
{
    auto* hint = new TAppHint(owner);
    hint->SetBrush(Cream);
    hint->SetFont(Fonts::Pixel(Fonts::UiGothic, 16, true));
    hint->SetFontColor(Qt::white);
    hint->SetShadowColor(ColorOf(SystemColor::Grey));
    hint->SetHintStyle(hsRoundRect);
    hint->SetHintPause(500);
    hint->SetHintHidePause(2500);
    hint->SetHintShortPause(0);
    return hint;
}

void captionUnder(QWidget& control, int centreX, const QString& what, const QString& unit)
{
    constexpr int Tops[] = {172, 184};
    const QString lines[] = {what, unit};
    for (int i = 0; i < 2; ++i) {
        auto* label = makeCaption(control.parentWidget(), lines[i], QPoint(0, Tops[i]));
        label->move(centreX - label->width() / 2, Tops[i]);
    }
    control.setAccessibleName(what + unit);
}
