#pragma once

class QCheckBox;

// Gives `box` the application's style with a check indicator no taller than the box, so that a
// box laid out lower than the style's indicator still shows all four of its edges.
void FitCheckIndicator(QCheckBox& box);
