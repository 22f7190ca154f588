#pragma once

class QWidget;

// What assistive technology (screen readers, through AT-SPI) learns of the controls that paint
// themselves, where Qt cannot tell by itself: a digit bar is a spin box with its value, a track
// bar a slider whose value is what its step stands for (48000 Hz, not step 0), a browse edit a
// group holding its folder, and a gradient progress bar a progress bar that reads its percentage
// and cannot be set; a panel is a pane, and a window made of a plain widget is a window. (A fade
// button is Qt's own button.) Names come from the control's accessible name; descriptions from
// its hint.
namespace Accessibility
{

// Makes the interfaces known to Qt; each control calls it as it is made, so it is never too late.
void Install();

// Tells assistive technology that the value `widget` shows is now `value`.
void ValueChanged(QWidget* widget, int value);

// Tells assistive technology that what `widget` reads as (its description) has changed.
void DescriptionChanged(QWidget* widget);

} // namespace Accessibility
