// Layout before painting and double-buffered painting of the control tree.
#include "uitoolkit/core/control.h"
#include "uitoolkit/core/ui_render.h"
#include "uitoolkit/core/window_manager.h"

#include <stdlib.h>

#include <vector>

namespace UiToolkit {

extern HPEN g_redPen;

namespace {

// DIB sections start zero-filled, so nothing of an earlier bitmap's memory
// shows through before the first paint or copy.
HBITMAP MakeZeroedBitmap(HDC dc, int w, int h) { return CUiRender::CreateDib32(dc, w, h, true, nullptr); }

// True when the root fills the whole client area with a plain opaque colour
// of its own: a snapshot of what was under the window would be painted over
// entirely, so none is taken (it costs a window-size bitmap and a copy from
// the screen at the first paint).
bool RootHidesBackground(CControlUI* root, const RECT& client) {
  if (!root->IsVisible() || (root->GetBkColor() >> 24) != 0xFF || root->GetBkColor2() != 0)
    return false;
  const SIZE round = root->GetBorderRound();
  if (round.cx > 0 || round.cy > 0) return false;
  RECT covered;
  return ::IntersectRect(&covered, &root->GetBounds(), &client) && ::EqualRect(&covered, &client);
}

}  // namespace

void CWindowManagerUI::ForgetDrawnAhead() {
  if (m_drawnAhead) ::DeleteObject(m_drawnAhead);
  m_drawnAhead = nullptr;
}

bool CWindowManagerUI::BeginScrollMove(const RECT& area, int dx, int dy) {
  if (!m_hwnd || !m_root || !m_hdcOffscreen || !m_bmpOffscreen || !m_offscreenComplete || m_moving ||
      m_firstPaint || m_updateNeeded || m_postPainters.GetSize() > 0)
    return false;
  RECT client, a;
  ::GetClientRect(m_hwnd, &client);
  BITMAP bm = {};
  if (!::GetObjectW(m_bmpOffscreen, sizeof(bm), &bm) || bm.bmWidth != client.right - client.left ||
      bm.bmHeight != client.bottom - client.top)
    return false;
  if (!::IntersectRect(&a, &area, &client)) return false;
  if (abs(dx) >= a.right - a.left || abs(dy) >= a.bottom - a.top) return false;
  // A child window there draws itself: its pixels are not in the image.
  for (HWND child = ::GetWindow(m_hwnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (!::IsWindowVisible(child)) continue;
    RECT box, meet;
    ::GetWindowRect(child, &box);
    ::MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&box), 2);
    if (::IntersectRect(&meet, &box, &a)) return false;
  }
  HRGN area_rgn = ::CreateRectRgnIndirect(&a);
  HRGN stale = ::CreateRectRgn(0, 0, 0, 0);
  if (::GetUpdateRgn(m_hwnd, stale, FALSE) == ERROR) {
    ::DeleteObject(stale);
    ::DeleteObject(area_rgn);
    return false;
  }
  // Pixels waiting for a paint are stale; they move with the rest and stay
  // to be drawn where they land.
  ::CombineRgn(stale, stale, area_rgn, RGN_AND);
  if (m_drawnAhead) ::CombineRgn(stale, stale, m_drawnAhead, RGN_DIFF);
  ::OffsetRgn(stale, dx, dy);
  RECT from = a, to;
  ::OffsetRect(&from, -dx, -dy);
  ::IntersectRect(&from, &from, &a);
  to = from;
  ::OffsetRect(&to, dx, dy);
  HGDIOBJ old = ::SelectObject(m_hdcOffscreen, m_bmpOffscreen);
  ::BitBlt(m_hdcOffscreen, to.left, to.top, to.right - to.left, to.bottom - to.top, m_hdcOffscreen,
           from.left, from.top, SRCCOPY);
  ::SelectObject(m_hdcOffscreen, old);
  HRGN ahead = ::CreateRectRgnIndirect(&to);
  ::CombineRgn(ahead, ahead, stale, RGN_DIFF);
  if (m_drawnAhead) {
    ::CombineRgn(m_drawnAhead, m_drawnAhead, area_rgn, RGN_DIFF);
    ::CombineRgn(ahead, ahead, m_drawnAhead, RGN_OR);
    ::DeleteObject(m_drawnAhead);
  }
  m_drawnAhead = ahead;
  ::DeleteObject(stale);
  ::DeleteObject(area_rgn);
  // The screen shows the whole area anew; only what is not ahead is drawn.
  ::InvalidateRect(m_hwnd, &a, FALSE);
  RecordPendingInvalid(a);
  m_moveArea = a;
  m_moving = true;
  return true;
}

namespace {

// The rectangles of `region`, or its box when they are many.
void RegionParts(HRGN region, RECT* parts, int* count, int most) {
  *count = 0;
  DWORD size = ::GetRegionData(region, 0, nullptr);
  if (size == 0) return;
  std::vector<BYTE> bytes(size);
  RGNDATA* data = reinterpret_cast<RGNDATA*>(bytes.data());
  if (::GetRegionData(region, size, data) == 0) return;
  const int n = static_cast<int>(data->rdh.nCount);
  if (n == 0) return;
  if (n > most) {
    parts[0] = data->rdh.rcBound;
    *count = 1;
    return;
  }
  const RECT* rects = reinterpret_cast<const RECT*>(data->Buffer);
  for (int i = 0; i < n; ++i) parts[i] = rects[i];
  *count = n;
}

}  // namespace

void CWindowManagerUI::DeleteOffscreen() {
  ForgetDrawnAhead();
  m_offscreenComplete = false;
  if (m_hdcOffscreen) ::DeleteDC(m_hdcOffscreen);
  if (m_bmpOffscreen) ::DeleteObject(m_bmpOffscreen);
  if (m_hdcBackground) ::DeleteDC(m_hdcBackground);
  if (m_bmpBackground) ::DeleteObject(m_bmpBackground);
  m_hdcOffscreen = m_hdcBackground = nullptr;
  m_bmpOffscreen = m_bmpBackground = nullptr;
}

void CWindowManagerUI::Paint() {
  RECT update;
  if (!::GetUpdateRect(m_hwnd, &update, FALSE)) return;
  if (!m_root) {
    PAINTSTRUCT ps;
    ::BeginPaint(m_hwnd, &ps);
    ::EndPaint(m_hwnd, &ps);
    return;
  }
  RECT client;
  ::GetClientRect(m_hwnd, &client);
  if (m_updateNeeded) {
    m_updateNeeded = false;
    if (!::IsRectEmpty(&client)) {
      if (!m_root->IsUpdateNeeded()) {
        CControlUI* previous = nullptr;
        for (;;) {
          CControlUI* marked =
              m_root->Search(&FindVisitNeedsUpdate, nullptr, UIFIND_VISIBLE | UIFIND_ME_FIRST);
          // A control that stays marked after its layout would loop here.
          if (!marked || marked == previous) break;
          marked->SetBounds(marked->GetBounds());
          previous = marked;
        }
      } else {
        m_root->SetBounds(client);
        DeleteOffscreen();
      }
      if (m_firstPaint) {
        m_firstPaint = false;
        EmitNotify(m_root, UI_NOTIFY_WINDOWINIT);
      }
    }
  }
  if (m_focusNeeded) {
    if (m_updateNeeded) {
      InvalidateAll();
    } else {
      CControlUI* next = FindTabStop(m_focus, true);
      if (next) SetFocusControl(next);
      m_focusNeeded = false;
    }
  }
  int w = client.right - client.left, h = client.bottom - client.top;
  if (!m_bmpOffscreen && w > 0 && h > 0) {
    m_hdcOffscreen = ::CreateCompatibleDC(m_hdcWindow);
    m_bmpOffscreen = MakeZeroedBitmap(m_hdcWindow, w, h);
    m_offscreenComplete = false;
  }
  // After a scroll, only what the image does not hold yet is drawn.
  enum { kMostParts = 8 };
  RECT parts[kMostParts];
  int part_count = -1;  // none known: the whole paint rectangle
  if (m_drawnAhead) {
    HRGN to_draw = ::CreateRectRgn(0, 0, 0, 0);
    if (m_postPainters.GetSize() == 0 && ::GetUpdateRgn(m_hwnd, to_draw, FALSE) != ERROR) {
      ::CombineRgn(to_draw, to_draw, m_drawnAhead, RGN_DIFF);
      RegionParts(to_draw, parts, &part_count, kMostParts);
    }
    ::DeleteObject(to_draw);
    ForgetDrawnAhead();
  }
  PAINTSTRUCT ps;
  HDC paint_dc = ::BeginPaint(m_hwnd, &ps);
  // Whatever is invalidated from here on belongs to the next paint.
  ForgetPendingInvalid();
  const RECT& rc = ps.rcPaint;
  if (part_count < 0) {
    parts[0] = rc;
    part_count = 1;
  }
  if (m_hdcOffscreen && m_bmpOffscreen) {
    HGDIOBJ old = ::SelectObject(m_hdcOffscreen, m_bmpOffscreen);
    int saved = ::SaveDC(m_hdcOffscreen);
    const bool snapshot = m_backgroundSnapshot && !RootHidesBackground(m_root, client);
    if (snapshot && !m_bmpBackground) {
      m_hdcBackground = ::CreateCompatibleDC(m_hdcWindow);
      m_bmpBackground = MakeZeroedBitmap(m_hdcWindow, w, h);
      ::SelectObject(m_hdcBackground, m_bmpBackground);
      ::BitBlt(m_hdcBackground, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, paint_dc,
               rc.left, rc.top, SRCCOPY);
    }
    for (int p = 0; p < part_count; ++p) {
      const RECT& part = parts[p];
      const bool one = part_count == 1 && ::EqualRect(&part, &rc);
      int clipped = one ? 0 : ::SaveDC(m_hdcOffscreen);
      if (!one) ::IntersectClipRect(m_hdcOffscreen, part.left, part.top, part.right, part.bottom);
      if (snapshot)
        ::BitBlt(m_hdcOffscreen, part.left, part.top, part.right - part.left, part.bottom - part.top,
                 m_hdcBackground, part.left, part.top, SRCCOPY);
      m_root->Paint(m_hdcOffscreen, part);
      for (int i = 0; i < m_postPainters.GetSize(); ++i) {
        CControlUI* painter = static_cast<CControlUI*>(m_postPainters.GetAt(i));
        painter->PaintOverlay(m_hdcOffscreen, part);
      }
      if (!one) ::RestoreDC(m_hdcOffscreen, clipped);
    }
    ::RestoreDC(m_hdcOffscreen, saved);
    if (rc.left <= 0 && rc.top <= 0 && rc.right >= w && rc.bottom >= h) m_offscreenComplete = true;
    ::BitBlt(paint_dc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, m_hdcOffscreen,
             rc.left, rc.top, SRCCOPY);
    ::SelectObject(m_hdcOffscreen, old);
  }
  if (m_showDirty) {
    HGDIOBJ old_pen = ::SelectObject(paint_dc, g_redPen);
    HGDIOBJ old_brush = ::SelectObject(paint_dc, ::GetStockObject(NULL_BRUSH));
    ::Rectangle(paint_dc, rc.left, rc.top, rc.right, rc.bottom);
    ::SelectObject(paint_dc, old_brush);
    ::SelectObject(paint_dc, old_pen);
  }
  ::EndPaint(m_hwnd, &ps);
  if (m_updateNeeded) InvalidateAll();
}

}  // namespace UiToolkit
