#include "uitoolkit/controls/option.h"

#include <wchar.h>

#include "uitoolkit/core/attribute_values.h"
#include "uitoolkit/core/ui_render.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

COptionUI::COptionUI()
    : m_selected(false), m_quiet(false), m_selectedBkColor(0), m_selectedTextColor(0) {}

COptionUI::~COptionUI() {
  if (!m_group.IsEmpty() && m_manager) m_manager->LeaveOptionGroup(m_group, this);
}

const wchar_t* COptionUI::ClassName() const { return L"OptionUI"; }

LPVOID COptionUI::FindInterface(const wchar_t* name) {
  if (name && wcscmp(name, L"Option") == 0) return this;
  return CButtonUI::FindInterface(name);
}

void COptionUI::AttachManager(CWindowManagerUI* manager, CControlUI* parent, bool initialize) {
  // A manager that is let go of must not keep this option in a group: the
  // option may be deleted while it belongs to no window.
  if (m_manager && m_manager != manager && !m_group.IsEmpty())
    m_manager->LeaveOptionGroup(m_group, this);
  m_manager = manager;
  m_parent = parent;
  if (!initialize) return;
  if (m_parent) CControlUI::Initialize();
  if (!m_group.IsEmpty() && m_manager) m_manager->JoinOptionGroup(m_group, this);
}

void COptionUI::SetGroup(const wchar_t* group) {
  if (m_group == (group ? group : L"")) return;
  if (!m_group.IsEmpty() && m_manager) m_manager->LeaveOptionGroup(m_group, this);
  m_group = group;
  if (!m_group.IsEmpty() && m_manager) m_manager->JoinOptionGroup(m_group, this);
}

void COptionUI::SetSelected(bool selected) {
  // A removed option (its click ran a loop that replaced it) changes
  // neither itself nor the members of its group any more.
  if (m_selected == selected || IsRemoved()) return;
  m_selected = selected;
  if (selected)
    m_state |= UISTATE_SELECTED;
  else
    m_state &= ~UISTATE_SELECTED;
  if (m_manager) {
    if (m_group.IsEmpty()) {
      if (!m_quiet) Emit(UI_NOTIFY_SELECTCHANGED);
    } else if (selected) {
      if (CUiPtrArray* members = m_manager->OptionGroup(m_group)) {
        // Copied: a member's handler may change the group while we walk it.
        CUiPtrArray others(*members);
        for (int i = 0; i < others.GetSize(); ++i) {
          COptionUI* other = static_cast<COptionUI*>(others.GetAt(i));
          if (other != this) other->SetSelected(false);
        }
      }
      if (!m_quiet) Emit(UI_NOTIFY_SELECTCHANGED);
    }
  }
  Invalidate();
}

void COptionUI::SetSelectedQuietly(bool selected) {
  const bool was_quiet = m_quiet;
  m_quiet = true;
  SetSelected(selected);
  m_quiet = was_quiet;
}

bool COptionUI::Activate() {
  if (!CControlUI::Activate()) return false;
  Emit(UI_NOTIFY_CLICK);
  SetSelected(m_group.IsEmpty() ? !m_selected : true);
  return true;
}

void COptionUI::SetEnabled(bool enabled) {
  CControlUI::SetEnabled(enabled);
  if (!IsEnabled()) m_state &= UISTATE_SELECTED;
}

void COptionUI::SetSelectedImage(const wchar_t* image) {
  m_selectedImage = image;
  Invalidate();
}
void COptionUI::SetSelectedHotImage(const wchar_t* image) {
  m_selectedHotImage = image;
  Invalidate();
}
void COptionUI::SetOptionForeImage(const wchar_t* image) {
  m_optionForeImage = image;
  Invalidate();
}

void COptionUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  if (wcscmp(name, L"group") == 0) {
    SetGroup(value);
  } else if (wcscmp(name, L"selected") == 0) {
    SetSelected(ParseBoolValue(value));
  } else if (wcscmp(name, L"selectedimage") == 0) {
    SetSelectedImage(value);
  } else if (wcscmp(name, L"selectedhotimage") == 0) {
    SetSelectedHotImage(value);
  } else if (wcscmp(name, L"foreimage") == 0) {
    SetOptionForeImage(value);
  } else if (wcscmp(name, L"selectedbkcolor") == 0) {
    m_selectedBkColor = ParseColorValue(value, false);
  } else if (wcscmp(name, L"selectedtextcolor") == 0) {
    m_selectedTextColor = ParseColorValue(value, false);
  } else {
    CButtonUI::ApplyAttribute(name, value);
  }
}

void COptionUI::PaintStateImage(HDC hdc) {
  // Options never show a pushed image.
  m_state &= ~UISTATE_PUSHED;
  if ((m_state & UISTATE_HOT) && m_selected && !m_selectedHotImage.IsEmpty()) {
    if (!DrawOrClear(hdc, m_selectedHotImage)) PaintButtonStateImage(hdc);
  } else if (m_selected) {
    if (!m_selectedImage.IsEmpty()) {
      if (!DrawOrClear(hdc, m_selectedImage)) PaintButtonStateImage(hdc);
    } else if (m_selectedBkColor != 0) {
      CUiRender::FillColor(AdjustColor(m_selectedBkColor), hdc, m_paintRect);
      return;
    } else {
      PaintButtonStateImage(hdc);
    }
  } else {
    PaintButtonStateImage(hdc);
  }
  if (!m_optionForeImage.IsEmpty()) DrawOrClear(hdc, m_optionForeImage);
}

void COptionUI::PaintText(HDC hdc) {
  if (!m_selected) {
    CButtonUI::PaintText(hdc);
    return;
  }
  RefreshFocusAndDisabled();
  ResolveDefaultColors();
  if (m_text.IsEmpty()) return;
  DWORD color = m_selectedTextColor != 0 ? m_selectedTextColor : m_textColor;
  DrawCaption(hdc, IsEnabled() ? color : m_disabledTextColor);
}

const wchar_t* CCheckBoxUI::ClassName() const { return L"CheckBoxUI"; }

}  // namespace UiToolkit
