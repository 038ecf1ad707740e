#pragma once
// The real main window, logged in as a sample user of a private session of
// the local services, with the schemes page on the home tab.
#include <string>
#include <vector>

#include "client/windows/schemes/my_scheme.h"
#include "client/windows/schemes/my_scheme_item.h"
#include "client/windows/schemes/scheme_soft_item.h"
#include "tests/client/windows/catalogue/catalogue_fixture.h"

class SchemesTest : public CatalogueTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the main window, logs in as "kelvora" and shows the home tab,
    // which loads the schemes; waits for `rows` scheme rows.
    void OpenLoggedIn(int rows = 2);
    MyScheme* Schemes();
    MySchemeItem* SchemeRow(int index);
    SchemeSoftItem* SoftRow(int index);
    int SchemeRows();
    int SoftRows();
    // A scheme row by its name, or none.
    MySchemeItem* SchemeNamed(const std::wstring& name);
    // Hands the page a notification as the main manager would.
    void SendToPage(const wchar_t* type, UiToolkit::CControlUI* sender, WPARAM wParam = 0,
                    LPARAM lParam = 0);
    void ClickOnPage(UiToolkit::CControlUI* sender) { SendToPage(L"click", sender); }
    // Opens the scheme of that row and waits for `softs` program rows.
    void OpenScheme(MySchemeItem* row, int softs);

    // The user service answers the next `count` requests of `mod` with a
    // refusal.
    void Refuse(const std::string& mod, int count = 1);
    // How many user-service requests of that mod were logged.
    int UserRequests(const std::string& mod);
    // The user service's query values of the last request of that mod.
    std::string LastUserQuery(const std::string& mod);
    // The stored schemes of the session as JSON text.
    std::string UserState();

    // The log lines written since the test began.
    std::string LogText();

private:
    size_t log_start_ = 0;
};
