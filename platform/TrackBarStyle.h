#pragma once

class QSlider;

// Gives `bar` the classic track bar's proportions on the application's style: a thumb `length`
// pixels across the groove and about half that along it, and a channel that stops half a thumb
// short of each end, so that the first and last positions (and their ticks) stand clear of the
// bar's edges. While the bar has the keyboard focus, a dotted frame runs round it.
void SetThumbLength(QSlider& bar, int length);

// Gives `bar` the dotted focus frame alone, keeping the style's own proportions.
void ShowFocusFrame(QSlider& bar);
