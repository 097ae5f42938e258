#pragma once
// Shapes, stacking and moves of our own X windows, through Qt's connection to the
// server. The requests go out at the next flush: FlushX11, or Qt's event loop's before
// it waits. The forms that name no connection look Qt's up and belong to the GUI
// thread; the others may be called from any thread (libxcb is thread-safe).
#include <cstdint>
#include <vector>

#include "platform/qt/alpha_shape.h"

struct xcb_connection_t;

// Qt's own connection to the X server; null on other Qt platforms.
xcb_connection_t* QtX11Connection();
// The same as the GUI thread last found it (every window is made there after asking),
// for the frame thread, which must not call into Qt.
xcb_connection_t* QtX11ConnectionAnyThread();

// Whether the session runs on X11 with the SHAPE extension; false on other Qt platforms,
// where windows keep their full rectangle.
bool X11ShapesAvailable();
// Sets the window's input shape to `rects` (clicks elsewhere reach what lies below) and,
// when `bounding`, its bounding shape too (nothing of the window shows elsewhere);
// otherwise the bounding shape is reset to the whole window.
void ApplyX11Shape(uint32_t window, const std::vector<SShapeRect>& rects, bool bounding);
void ApplyX11Shape(xcb_connection_t* connection, uint32_t window, const std::vector<SShapeRect>& rects,
                   bool bounding);
// Stacks `window` directly below `sibling`; both must be children of the root.
void StackX11WindowBelow(uint32_t window, uint32_t sibling);
// Moves the window without Qt's geometry handling, which would also rewrite its size
// hints (a property change and an event more for every move); Qt learns the new place
// from the server's notification.
void MoveX11Window(uint32_t window, int x, int y);
void MoveX11Window(xcb_connection_t* connection, uint32_t window, int x, int y);
// The window's constant alpha as the compositor reads it (_NET_WM_WINDOW_OPACITY, as Qt
// sets it; none at 255). Prepare looks the property's atom up once (a round trip, GUI
// thread); Set then costs one request from any thread.
void PrepareX11WindowOpacity(xcb_connection_t* connection);
void SetX11WindowOpacity(xcb_connection_t* connection, uint32_t window, uint8_t alpha);
void FlushX11();
void FlushX11(xcb_connection_t* connection);
// The events Qt's connection selected on the window (a round trip); 0 when unknown.
uint32_t QtX11EventMask(uint32_t window);
// Whether the window's moves reach Qt: Qt needs the server's structure notifications for
// showing, hiding and resizing, but not for the moves we make ourselves, which would
// otherwise cost an event (and a wake-up of two threads) each, thirty times a second for
// every walking character. `qtMask` is what QtX11EventMask answered.
void SetX11StructureEvents(uint32_t window, uint32_t qtMask, bool on);
