// Stands in for the home page's software-row tree until it is built: the
// name alone, and no icon.
#include "client/windows/favourites/soft_row_tree.h"

class RowWaits {};

RowWaits& CollectIconWaits() {
    static RowWaits waits;
    return waits;
}

RowWaits& SchemeSoftIconWaits() { return CollectIconWaits(); }

SoftRowTree BuildSoftRowTree(UiToolkit::CContainerUI* row, const SoftwarePtr& soft, SoftRowKind) {
    SoftRowTree tree;
    tree.name = new UiToolkit::CButtonUI;
    if (soft) tree.name->SetText(soft->soft_name.c_str());
    row->Add(tree.name);
    tree.add_scheme = new UiToolkit::CButtonUI;
    tree.detail = new UiToolkit::CButtonUI;
    tree.del = new UiToolkit::CButtonUI;
    row->Add(tree.add_scheme);
    row->Add(tree.detail);
    row->Add(tree.del);
    return tree;
}

SoftRowIcon::SoftRowIcon(RowWaits& waits, unsigned ready_message, const char* log_name)
    : waits_(waits), ready_message_(ready_message), log_name_(log_name), soft_id_(0), identity_(0) {}
SoftRowIcon::~SoftRowIcon() {}
void SoftRowIcon::Show(int32_t soft_id, UiToolkit::CLabelUI*) { soft_id_ = soft_id; }
bool SoftRowIcon::Waiting() const { return false; }
