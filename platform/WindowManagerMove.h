#pragma once

class QWindow;

// Moving a window by the window manager, which follows the pointer until the button comes up.
namespace WindowManagerMove
{

// Hands the move of `window` to the window manager from where the pointer is now, with the left
// button held; false where the window manager cannot take it.
bool Start(QWindow& window);

// Tells the window manager to end a move it may not have begun yet. A button that comes up
// before the window manager takes the pointer would leave it waiting for a release that has
// already happened, the window following the pointer until the next click.
void Cancel(QWindow& window);

} // namespace WindowManagerMove
