// Keeping the name map free of controls that no longer carry a name.
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

void CWindowManagerUI::ForgetName(const wchar_t* name, CControlUI* control) {
  if (!name || !*name || !control) return;
  if (m_names.Lookup(name, false) == control) m_names.Erase(name);
}

}  // namespace UiToolkit
