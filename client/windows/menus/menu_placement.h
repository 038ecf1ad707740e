#pragma once
// Where the popup menus go: plain arithmetic on screen rectangles.
#include <windows.h>

// A menu of `size` whose top-left corner would be at `origin`, kept inside
// `work` (the work area of the monitor nearest the anchor): one that
// passes the bottom (right) edge moves up (left) until it lies on that
// edge, or, when it is taller (wider) than the work area, starts at the
// work area's top (left). Nothing moves it down or right.
POINT KeepMenuInWorkArea(POINT origin, SIZE size, const RECT& work);

// The settings menu: centred under the click point, never starting above
// client row 20 of the main window. `anchor_client_y` is the click's y in
// the main window's client coordinates; `anchor` is the point on screen.
POINT SettingMenuOrigin(POINT anchor, int anchor_client_y, SIZE size, const RECT& work);

// The work area of the monitor nearest `point`.
RECT WorkAreaNear(POINT point);
