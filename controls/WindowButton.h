#pragma once

#include <QColor>

class FadeButton;

// Dresses `button` as every button of the program's windows is dressed: a white bold caption that
// turns yellow under the pointer, a grey outline that turns black, and a fill that fades from
// `restColor` to the title strip's olive. With `fades` false the colours jump instead of fading.
void DressWindowButton(FadeButton& button, QColor restColor, bool fades);
