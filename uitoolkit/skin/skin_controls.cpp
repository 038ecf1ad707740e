#include "uitoolkit/skin/skin_controls.h"

#include <wchar.h>

#include "uitoolkit/activex/activex_ui.h"
#include "uitoolkit/activex/web_browser_ui.h"
#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/container.h"
#include "uitoolkit/controls/combo.h"
#include "uitoolkit/controls/combo_box.h"
#include "uitoolkit/controls/date_time.h"
#include "uitoolkit/controls/edit.h"
#include "uitoolkit/controls/gif_button.h"
#include "uitoolkit/controls/list.h"
#include "uitoolkit/controls/list_container_element.h"
#include "uitoolkit/controls/list_element.h"
#include "uitoolkit/controls/list_header.h"
#include "uitoolkit/controls/list_header_item.h"
#include "uitoolkit/controls/list_text_element.h"
#include "uitoolkit/controls/progress.h"
#include "uitoolkit/controls/rich_edit.h"
#include "uitoolkit/controls/slider.h"
#include "uitoolkit/controls/label.h"
#include "uitoolkit/controls/option.h"
#include "uitoolkit/controls/scroll_bar.h"
#include "uitoolkit/controls/text.h"
#include "uitoolkit/controls/tree_view.h"
#include "uitoolkit/core/control.h"
#include "uitoolkit/layouts/child_layout.h"
#include "uitoolkit/layouts/horizontal_layout.h"
#include "uitoolkit/layouts/tab_layout.h"
#include "uitoolkit/layouts/tile_layout.h"
#include "uitoolkit/layouts/vertical_layout.h"

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
    {L"VerticalLayout", &Make<CVerticalLayoutUI>},
    {L"HorizontalLayout", &Make<CHorizontalLayoutUI>},
    {L"TabLayout", &Make<CTabLayoutUI>},
    {L"TileLayout", &Make<CTileLayoutUI>},
    {L"ChildLayout", &Make<CChildLayoutUI>},
    {L"Progress", &Make<CProgressUI>},
    {L"Slider", &Make<CSliderUI>},
    {L"ButtonGif", &Make<CButtonGifUI>},
    {L"Edit", &Make<CEditUI>},
    {L"RichEdit", &Make<CRichEditUI>},
    {L"DateTime", &Make<CDateTimeUI>},
    {L"Combo", &Make<CComboUI>},
    {L"ComboBox", &Make<CComboBoxUI>},
    {L"TreeView", &Make<CTreeViewUI>},
    {L"List", &Make<CListUI>},
    {L"ListHeader", &Make<CListHeaderUI>},
    {L"ListHeaderItem", &Make<CListHeaderItemUI>},
    {L"ListLabelElement", &Make<CListLabelElementUI>},
    {L"ListTextElement", &Make<CListTextElementUI>},
    {L"ListContainerElement", &Make<CListContainerElementUI>},
    {L"ActiveX", &Make<CActiveXUI>},
    {L"WebBrowser", &Make<CWebBrowserUI>},
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
