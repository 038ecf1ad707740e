// Tree search and clipped painting of the container's children.
#include "uitoolkit/controls/container.h"

#include "uitoolkit/controls/scroll_bar.h"
#include "uitoolkit/core/ui_clip.h"

namespace UiToolkit {

namespace {

bool Meets(const RECT& a, const RECT& b) {
  RECT tmp;
  return ::IntersectRect(&tmp, &a, &b) != FALSE;
}

// The clip region of a DC as it stands, to put back later (none: no clip).
class SavedClip {
 public:
  explicit SavedClip(HDC hdc) : m_region(::CreateRectRgn(0, 0, 0, 0)) {
    if (::GetClipRgn(hdc, m_region) != 1) {
      ::DeleteObject(m_region);
      m_region = nullptr;
    }
  }
  ~SavedClip() {
    if (m_region) ::DeleteObject(m_region);
  }
  void SelectInto(HDC hdc) const { ::SelectClipRgn(hdc, m_region); }

 private:
  SavedClip(const SavedClip&) = delete;
  SavedClip& operator=(const SavedClip&) = delete;
  HRGN m_region;
};

}  // namespace

CControlUI* CContainerUI::Search(FindControlProc proc, LPVOID data, UINT flags) {
  if ((flags & UIFIND_VISIBLE) && !IsVisible()) return nullptr;
  if ((flags & UIFIND_ENABLED) && !IsEnabled()) return nullptr;
  const bool hit_test = (flags & UIFIND_HITTEST) != 0;
  if (hit_test) {
    if (!::PtInRect(&m_bounds, *static_cast<const POINT*>(data))) return nullptr;
    if (!m_mouseChildEnabled) {
      CControlUI* found = nullptr;
      if (m_verticalScrollBar) found = m_verticalScrollBar->Search(proc, data, flags);
      if (!found && m_horizontalScrollBar) found = m_horizontalScrollBar->Search(proc, data, flags);
      return found ? found : CControlUI::Search(proc, data, flags);
    }
  }
  if (m_verticalScrollBar) {
    if (CControlUI* found = m_verticalScrollBar->Search(proc, data, flags)) return found;
  }
  if (m_horizontalScrollBar) {
    if (CControlUI* found = m_horizontalScrollBar->Search(proc, data, flags)) return found;
  }
  if (flags & UIFIND_ME_FIRST) {
    if (CControlUI* found = CControlUI::Search(proc, data, flags)) return found;
  }
  const int count = GetCount();
  const RECT area = hit_test ? ChildArea() : RECT{0, 0, 0, 0};
  for (int k = 0; k < count; ++k) {
    int i = (flags & UIFIND_TOP_FIRST) ? count - 1 - k : k;
    CControlUI* found = GetItemAt(i)->Search(proc, data, flags);
    if (!found) continue;
    if (!hit_test) return found;
    // Over the inset margin or a bar, only floating children are hit.
    if (found->IsFloat() || ::PtInRect(&area, *static_cast<const POINT*>(data))) return found;
  }
  if (flags & UIFIND_ME_FIRST) return nullptr;
  return CControlUI::Search(proc, data, flags);
}

void CContainerUI::Paint(HDC hdc, const RECT& dirty) {
  RECT paint;
  if (!::IntersectRect(&paint, &dirty, &m_bounds)) return;
  CUiClip clip;
  CUiClip::ClipRect(clip, hdc, paint);
  CControlUI::Paint(hdc, dirty);
  if (GetCount() > 0) {
    const RECT area = ChildArea();
    RECT inner_dirty;
    if (::IntersectRect(&inner_dirty, &dirty, &area)) {
      // Floating children may reach over the inset: they are painted with
      // the outer clip, everything else inside the inner area only.
      SavedClip outer(hdc);
      CUiClip inner_clip;
      CUiClip::ClipRect(inner_clip, hdc, inner_dirty);
      SavedClip inner(hdc);
      for (int i = 0; i < GetCount(); ++i) {
        CControlUI* child = GetItemAt(i);
        if (!child->IsVisible() || !Meets(dirty, child->GetBounds())) continue;
        if (child->IsFloat()) {
          if (!Meets(m_bounds, child->GetBounds())) continue;
          outer.SelectInto(hdc);
          child->Paint(hdc, dirty);
          inner.SelectInto(hdc);
        } else if (Meets(area, child->GetBounds())) {
          child->Paint(hdc, dirty);
        }
      }
    } else {
      for (int i = 0; i < GetCount(); ++i) {
        CControlUI* child = GetItemAt(i);
        if (!child->IsVisible() || !child->IsFloat()) continue;
        if (!Meets(dirty, child->GetBounds()) || !Meets(m_bounds, child->GetBounds())) continue;
        child->Paint(hdc, dirty);
      }
    }
  }
  if (m_verticalScrollBar && m_verticalScrollBar->IsVisible() &&
      Meets(dirty, m_verticalScrollBar->GetBounds()))
    m_verticalScrollBar->Paint(hdc, dirty);
  if (m_horizontalScrollBar && m_horizontalScrollBar->IsVisible() &&
      Meets(dirty, m_horizontalScrollBar->GetBounds()))
    m_horizontalScrollBar->Paint(hdc, dirty);
}

}  // namespace UiToolkit
