#pragma once
// The schemes page ("my_scheme.xml"): two views in a tab layout, the list
// of the user's schemes and the programs of one opened scheme. From here
// the user creates, renames, deletes and opens schemes, removes programs
// from the opened one and downloads all of them with "一键安装". Every
// request runs behind a loading window; results that come back through the
// main window arrive as "insert_scheme_item", "insert_scheme_soft" and
// "del_scheme_item".
#include <memory>
#include <vector>

#include "client/core/user_services/scheme_mgr.h"
#include "client/windows/catalogue/soft_list_item.h"
#include "client/windows/pages/notify_observer_list.h"
#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/container.h"
#include "uitoolkit/controls/list.h"
#include "uitoolkit/layouts/tab_layout.h"

struct SchemeSofts;

class MyScheme : public UiToolkit::CContainerUI, public UiToolkit::INotifyUI, public NotifyObserverList {
public:
    // Builds "my_scheme.xml" against the main window's manager.
    MyScheme();
    ~MyScheme() override;

    const wchar_t* ClassName() const override;
    // "MyScheme" gives the page; the main window's receiver lookup gives
    // its notification receiver.
    LPVOID FindInterface(const wchar_t* name) override;

    void Notify(UiToolkit::TUiNotify& msg) override;

    void ShowSchemeList();
    void RefreshSchemes();
    void CreateScheme();
    void InstallAllSchemeSofts();

    // Whether the skin holds all five controls (found on first use).
    bool EnsureControls();
    UiToolkit::CTabLayoutUI* PageSwitch() { return EnsureControls() ? page_switch_ : nullptr; }
    UiToolkit::CListUI* SchemeList() { return EnsureControls() ? scheme_list_ : nullptr; }
    UiToolkit::CListUI* SoftList() { return EnsureControls() ? soft_list_ : nullptr; }
    UiToolkit::CButtonUI* NewSchemeButton() { return EnsureControls() ? new_scheme_btn_ : nullptr; }
    UiToolkit::CButtonUI* InstallButton() { return EnsureControls() ? install_btn_ : nullptr; }
    // What rows join: the page's list, while the page lives.
    RowOwner Owner() const;

private:
    void SwitchView(int page);
    void OnInsertSchemeItems(std::vector<SchemeInfo>* schemes);
    void InsertSchemeItems(std::vector<SchemeInfo>& schemes);
    void OnInsertSchemeSofts(SchemeSofts* softs);
    void OnDelSchemeItem(UiToolkit::CControlUI* row);
    void OnDelSchemeSoft(UiToolkit::CControlUI* row, bool removed);
    void RemoveDoomedSoftRows();
    void ClearSoftList();
    void ClearSchemeList();

    std::shared_ptr<int> lifetime_;
    bool bind_tried_;
    bool bound_;
    UiToolkit::CTabLayoutUI* page_switch_;
    UiToolkit::CListUI* scheme_list_;
    UiToolkit::CListUI* soft_list_;
    UiToolkit::CButtonUI* new_scheme_btn_;
    UiToolkit::CButtonUI* install_btn_;
    // Rows removed from the opened scheme, taken out of the list once the
    // notification that removed them has been handled everywhere.
    std::vector<UiToolkit::CControlUI*> doomed_soft_rows_;
};
