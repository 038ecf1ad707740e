#include "client/windows/menus/menu_placement.h"

namespace {

// One axis: the start of a span of `length` that begins at `start`.
LONG KeepSpanInside(LONG start, LONG length, LONG low, LONG high) {
    if (start + length <= high) return start;
    return length < high - low ? high - length : low;
}

}  // namespace

POINT KeepMenuInWorkArea(POINT origin, SIZE size, const RECT& work) {
    POINT pt;
    pt.x = KeepSpanInside(origin.x, size.cx, work.left, work.right);
    pt.y = KeepSpanInside(origin.y, size.cy, work.top, work.bottom);
    return pt;
}

POINT SettingMenuOrigin(POINT anchor, int anchor_client_y, SIZE size, const RECT& work) {
    POINT origin;
    origin.x = anchor.x - size.cx / 2;
    origin.y = anchor.y;
    if (anchor_client_y <= 20) origin.y += 20 - anchor_client_y;
    return KeepMenuInWorkArea(origin, size, work);
}

RECT WorkAreaNear(POINT point) {
    MONITORINFO info = {sizeof(info)};
    HMONITOR monitor = ::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST);
    if (!monitor || !::GetMonitorInfoW(monitor, &info)) {
        RECT screen = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
        return screen;
    }
    return info.rcWork;
}
