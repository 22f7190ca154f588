#include "controls/WindowButton.h"

#include "controls/FadeButton.h"
#include "platform/DesignColors.h"
#include "platform/Fonts.h"

namespace
{

constexpr int FadeStepPerTick = 2;
constexpr int FadeTickMs = 12;
constexpr int CaptionPixels = 12;

} // namespace

void DressWindowButton(FadeButton& button, QColor restColor, bool fades)
{
    button.setFont(Fonts::Pixel(Fonts::UiGothic, CaptionPixels, true));
    button.SetFontColor(Qt::white);
    button.SetCaptionOverColor(DesignColors::Yellow);
    button.SetColor(restColor);
    button.SetDestColor(DesignColors::Olive);
    button.SetBorderColor(DesignColors::Grey);
    button.SetBorderDestColor(Qt::black);
    button.SetStep(FadeStepPerTick);
    button.SetSpeed(FadeTickMs);
    button.SetFadeOnOver(fades);
    button.SetFadeOnLeave(fades);
}
