#include "client/windows/downloads/centre_row_parts.h"

#include <wchar.h>

#include "client/core/catalogue/soft_info_mgr.h"
#include "client/windows/catalogue/soft_list_item.h"
#include "uitoolkit/markup/markup_literal.h"

using namespace UiToolkit;

CentreRowHead MakeCentreRowHead(const Software& soft, int column_width) {
    CentreRowHead head;
    head.icon = new CLabelUI;
    head.icon->SetFixedWidth(48);
    head.icon->SetFixedHeight(48);
    // No icon fetched yet: the catalogue rows' stand-in picture, not a hole.
    const std::wstring icon = SoftInfoMgr::Instance().GetIconPath(soft);
    head.icon->SetBkImage(icon.empty() ? kFallbackSoftIcon : icon.c_str());

    head.name = new CButtonUI;
    head.name->SetFixedHeight(24);
    head.name->ApplyAttribute(L"font", L"4");
    head.name->SetToolTip(soft.soft_name.c_str());
    head.name->SetText(soft.soft_name.c_str());
    head.name->ApplyAttribute(L"align", L"left");
    head.name->ApplyAttribute(L"hottextcolor", L"#FF00BFFF");
    head.name->ApplyAttribute(L"textpadding", L"20,0,0,0");
    head.name->ApplyAttribute(L"endellipsis", L"true");

    // The description is drawn as markup: escaped, a catalogue text is only
    // ever text (no tags reaching for local files or links).
    head.description = new CTextUI;
    head.description->SetFixedHeight(20);
    head.description->ApplyAttribute(L"textcolor", L"#FF8B8989");
    head.description->ApplyAttribute(L"endellipsis", L"true");
    head.description->ApplyAttribute(L"textpadding", L"20,4,0,4");
    head.description->ApplyAttribute(L"showhtml", L"true");
    head.description->SetText(UiToolkit::MarkupLiteral(soft.soft_desc.c_str()));
    head.description->SetToolTip(soft.soft_desc.c_str());

    head.column = new CVerticalLayoutUI;
    head.column->SetFixedWidth(column_width);
    head.column->SetFixedHeight(48);
    head.column->Add(head.name);
    head.column->Add(head.description);
    return head;
}

CVerticalLayoutUI* FrameCentreRow(CHorizontalLayoutUI* line) {
    line->SetFixedHeight(60);
    CControlUI* separator = new CControlUI;
    separator->SetFixedHeight(1);
    separator->SetBkColor(0xFFEAEAEA);
    CVerticalLayoutUI* frame = new CVerticalLayoutUI;
    frame->SetFixedHeight(61);
    frame->Add(line);
    frame->Add(separator);
    return frame;
}

int CentreRowSoftId(const CControlUI* row) {
    const wchar_t* text = row->GetUserData().GetData();
    if (!text || !*text) return -1;
    wchar_t* end = nullptr;
    long id = wcstol(text, &end, 10);
    return (end && *end == 0) ? static_cast<int>(id) : -1;
}
