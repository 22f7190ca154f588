#pragma once

class QWidget;

// What assistive technology (screen readers, through AT-SPI) learns of the controls that paint
// themselves: a digit bar is a spin box with its value, a fade button a push button named by its
// caption that can be pressed, a browse edit a group holding its folder, and a gradient progress
// bar a progress bar with its percentage; a panel is a pane, and a window made of a plain widget
// is a window. Names come from the control's accessible name where the window gives one;
// descriptions from its hint.
namespace Accessibility
{

// Makes the interfaces known to Qt; each control calls it as it is made, so it is never too late.
void Install();

// Tells assistive technology that the value `widget` shows is now `value`.
void ValueChanged(QWidget* widget, int value);

// Tells assistive technology that the name of `widget` (a caption) has changed.
void NameChanged(QWidget* widget);

} // namespace Accessibility
