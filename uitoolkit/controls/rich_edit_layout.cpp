// Placement and painting of the rich edit: the text area the engine draws
// in, the bars beside it, and the children over it.
#include "uitoolkit/controls/rich_edit.h"

#include "uitoolkit/controls/scroll_bar.h"
#include "uitoolkit/controls/text_host.h"
#include "uitoolkit/core/ui_clip.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

namespace {

int Height(const RECT& rc) { return rc.bottom - rc.top; }

}  // namespace

bool CRichEditUI::NaturalHeight(int width, LONG* height) const {
  if (!m_host) return false;
  const RECT area = GetTextArea();
  return m_host->NaturalHeight(width, Height(area), height);
}

void CRichEditUI::SetBounds(RECT rc) {
  CControlUI::SetBounds(rc);
  m_inLayout = true;
  RECT area = GetTextArea();
  CScrollBarUI* vbar = m_verticalScrollBar;
  const bool vbar_was_visible = vbar && vbar->IsVisible();
  if (m_host) m_host->SetClientRect(area);
  if (m_host && vbar_was_visible && (!vbar->IsVisible() || m_autoVScroll)) {
    // Measured as if the bar were not there: text taller than the box
    // keeps a bar of the control's own; text that fits loses one.
    LONG natural = 0;
    if (NaturalHeight(area.right - area.left + vbar->GetFixedWidth(), &natural)) {
      if (natural > Height(area)) {
        // A bar that stayed keeps its position: it is the engine's.
        if (!vbar->IsVisible()) {
          vbar->SetVisible(true);
          vbar->SetScrollPos(0);
        }
        m_autoVScroll = true;
      } else if (m_autoVScroll) {
        vbar->SetVisible(false);
        m_autoVScroll = false;
      }
    }
  }
  // A bar that came or went changes the text area; the engine is told
  // once more (it may answer with bars again, which this layout keeps).
  const RECT now = GetTextArea();
  if (!EqualRect(&now, &area)) {
    area = now;
    if (m_host) m_host->SetClientRect(area);
    area = GetTextArea();
  }
  PlaceChildrenAndBars(area);
  m_inLayout = false;
}

void CRichEditUI::PlaceChildrenAndBars(const RECT& area) {
  if (m_verticalScrollBar && m_verticalScrollBar->IsVisible())
    m_verticalScrollBar->SetBounds(RECT{area.right, area.top,
                                        area.right + m_verticalScrollBar->GetFixedWidth(),
                                        area.bottom});
  if (m_horizontalScrollBar && m_horizontalScrollBar->IsVisible())
    m_horizontalScrollBar->SetBounds(RECT{area.left, area.bottom, area.right,
                                          area.bottom + m_horizontalScrollBar->GetFixedHeight()});
  PlaceChildrenOver(area);
}

// The container paints the back colour, images and border around this, the
// children clipped to the text area and then the bars.
void CRichEditUI::PaintText(HDC hdc) {
  if (!m_host) return;
  const RECT area = GetTextArea();
  RECT text_dirty;
  if (::IntersectRect(&text_dirty, &m_paintRect, &area)) {
    // Into the DC being painted (the manager's offscreen copy), and never
    // outside the text area.
    CUiClip text_clip;
    CUiClip::ClipRect(text_clip, hdc, text_dirty);
    m_host->Draw(hdc, area, m_paintRect);
  }
  if (m_autoVScroll && m_verticalScrollBar && m_verticalScrollBar->IsVisible()) {
    LONG natural = 0;
    if (NaturalHeight(area.right - area.left + m_verticalScrollBar->GetFixedWidth(), &natural) &&
        natural <= Height(area))
      RequestRelayout();
  }
}

}  // namespace UiToolkit
