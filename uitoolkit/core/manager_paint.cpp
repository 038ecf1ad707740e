// Layout before painting and double-buffered painting of the control tree.
#include "uitoolkit/core/control.h"
#include "uitoolkit/core/ui_render.h"
#include "uitoolkit/core/window_manager.h"

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

void CWindowManagerUI::DeleteOffscreen() {
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
  }
  PAINTSTRUCT ps;
  HDC paint_dc = ::BeginPaint(m_hwnd, &ps);
  // Whatever is invalidated from here on belongs to the next paint.
  ForgetPendingInvalid();
  const RECT& rc = ps.rcPaint;
  if (m_hdcOffscreen && m_bmpOffscreen) {
    HGDIOBJ old = ::SelectObject(m_hdcOffscreen, m_bmpOffscreen);
    int saved = ::SaveDC(m_hdcOffscreen);
    if (m_backgroundSnapshot && !RootHidesBackground(m_root, client)) {
      if (!m_bmpBackground) {
        m_hdcBackground = ::CreateCompatibleDC(m_hdcWindow);
        m_bmpBackground = MakeZeroedBitmap(m_hdcWindow, w, h);
        ::SelectObject(m_hdcBackground, m_bmpBackground);
        ::BitBlt(m_hdcBackground, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                 paint_dc, rc.left, rc.top, SRCCOPY);
      }
      ::BitBlt(m_hdcOffscreen, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
               m_hdcBackground, rc.left, rc.top, SRCCOPY);
    }
    m_root->Paint(m_hdcOffscreen, rc);
    for (int i = 0; i < m_postPainters.GetSize(); ++i) {
      CControlUI* painter = static_cast<CControlUI*>(m_postPainters.GetAt(i));
      painter->PaintOverlay(m_hdcOffscreen, rc);
    }
    ::RestoreDC(m_hdcOffscreen, saved);
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
