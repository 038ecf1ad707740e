#include "uitoolkit/skin/skin_controls.h"

#include <wchar.h>

#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/container.h"
#include "uitoolkit/controls/label.h"
#include "uitoolkit/controls/option.h"
#include "uitoolkit/controls/scroll_bar.h"
#include "uitoolkit/controls/text.h"
#include "uitoolkit/core/control.h"

namespace UiToolkit {
namespace {

template <class T>
CControlUI* Make() {
  return new T;
}

struct TagEntry {
  const wchar_t* tag;
  CControlUI* (*make)();
};

const TagEntry kTags[] = {
    {L"Control", &Make<CControlUI>},     {L"Container", &Make<CContainerUI>},
    {L"ScrollBar", &Make<CScrollBarUI>}, {L"Label", &Make<CLabelUI>},
    {L"Button", &Make<CButtonUI>},       {L"Option", &Make<COptionUI>},
    {L"CheckBox", &Make<CCheckBoxUI>},   {L"Text", &Make<CTextUI>},
};

}  // namespace

CControlUI* CreateControlForTag(const wchar_t* tag) {
  if (!tag) return nullptr;
  for (const TagEntry& entry : kTags) {
    if (wcscmp(entry.tag, tag) == 0) return entry.make();
  }
  return nullptr;
}

}  // namespace UiToolkit
