// The schemes page in the real main window, logged in against a private
// session of the local services: the list, the dialogs' outcomes, and the
// user-service failures, each of which changes nothing and logs a line.
#include <functional>

#include "client/core/downloads/download_task_registry.h"
#include "client/windows/main_frame_messages.h"
#include "client/windows/schemes/add_scheme_soft.h"
#include "client/windows/schemes/add_scheme_wnd.h"
#include "tests/client/windows/schemes/schemes_fixture.h"
#include "tests/support/test_support.h"
#include "uitoolkit/core/window_manager.h"

namespace {

using UiToolkit::WindowImplBase;

// What the user does in the name-and-description dialog.
enum class Answer { kOk, kCancel, kEscape, kClose };

void AnswerSchemeDialog(Answer answer, const std::wstring& name, const std::wstring& desc,
                        std::wstring* shown_name = nullptr) {
    wintest::WhenWindowAppears(L"add_scheme_wnd", [=](HWND hwnd, WindowImplBase* w) {
        AddSchemeWnd* dialog = static_cast<AddSchemeWnd*>(w);
        if (shown_name) *shown_name = dialog->NameEdit()->GetText().GetData();
        dialog->NameEdit()->SetText(name.c_str());
        dialog->DescEdit()->SetText(desc.c_str());
        switch (answer) {
        case Answer::kOk: wintest::ClickNamed(w, L"ok_btn"); break;
        case Answer::kCancel: wintest::ClickNamed(w, L"cancel_btn"); break;
        case Answer::kEscape: wintest::PressKey(hwnd, VK_ESCAPE); break;
        case Answer::kClose: wintest::ClickNamed(w, L"closebtn"); break;
        }
    });
}

std::wstring LabelText(UiToolkit::CLabelUI* label) { return label ? label->GetText().GetData() : L"?"; }

TEST_F(SchemesTest, HomeTabListsTheSchemesWithTheirTexts) {
    OpenLoggedIn(2);
    MyScheme* page = Schemes();
    EXPECT_EQ(0, page->PageSwitch()->GetCurSel());
    EXPECT_TRUE(page->NewSchemeButton()->IsVisible());
    EXPECT_FALSE(page->InstallButton()->IsVisible());
    MySchemeItem* office = SchemeRow(0);
    MySchemeItem* games = SchemeRow(1);
    ASSERT_TRUE(office && games);
    EXPECT_LT(office->SchemeId(), games->SchemeId());
    EXPECT_EQ(L"办公必备", LabelText(office->NameLabel()));
    EXPECT_EQ(L"上班用", LabelText(office->DescLabel()));
    EXPECT_EQ(L"2", LabelText(office->CountLabel()));
    EXPECT_EQ(L"Games", LabelText(games->NameLabel()));
    EXPECT_EQ(L"0", LabelText(games->CountLabel()));
    // Shown again while the list has rows: no second request.
    const int lists = UserRequests("scheme");
    frame_->ShowTab(MainFrameWnd::kNecessaryTab);
    frame_->ShowTab(MainFrameWnd::kHomeTab);
    Drain(200);
    EXPECT_EQ(lists, UserRequests("scheme"));
    EXPECT_EQ(2, SchemeRows());
}

TEST_F(SchemesTest, CreateAddsARowOnlyWhenConfirmedAndAccepted) {
    OpenLoggedIn(2);
    // Cancel, Escape and the close button send nothing.
    for (Answer answer : {Answer::kCancel, Answer::kEscape, Answer::kClose}) {
        std::wstring shown = L"?";
        AnswerSchemeDialog(answer, L"never", L"sent", &shown);
        ClickOnPage(Schemes()->NewSchemeButton());
        Drain(100);
        EXPECT_EQ(L"", shown);  // a new scheme starts empty
        EXPECT_EQ(0, UserRequests("addscheme"));
        EXPECT_EQ(2, SchemeRows());
    }
    // A refusal changes nothing and says so in the log.
    Refuse("addscheme");
    AnswerSchemeDialog(Answer::kOk, L"Refused", L"");
    ClickOnPage(Schemes()->NewSchemeButton());
    Drain(100);
    EXPECT_EQ(1, UserRequests("addscheme"));
    EXPECT_EQ(2, SchemeRows());
    EXPECT_NE(std::string::npos, LogText().find("MyScheme::CreateScheme: add scheme failed"));

    // Markup in a name or description is plain text.
    const std::wstring name = L"{i c:\\secret.png}<b>Mine</b> & co";
    const std::wstring desc = L"{f 1}两行\r描述";
    AnswerSchemeDialog(Answer::kOk, name, desc);
    ClickOnPage(Schemes()->NewSchemeButton());
    ASSERT_TRUE(wintest::PumpUntil([&] { return SchemeRows() == 3; }, 5000));
    MySchemeItem* mine = SchemeNamed(name);
    ASSERT_NE(nullptr, mine);
    EXPECT_EQ(name, LabelText(mine->NameLabel()));
    EXPECT_FALSE(mine->NameLabel()->IsShowHtml());
    EXPECT_EQ(desc, LabelText(mine->DescLabel()));
    EXPECT_EQ(L"0", LabelText(mine->CountLabel()));
    EXPECT_EQ(2, UserRequests("addscheme"));
    const std::string query = LastUserQuery("addscheme");
    EXPECT_NE(std::string::npos, query.find("scheme_name=")) << query;
    // The service stored the name as typed.
    EXPECT_NE(std::string::npos, UserState().find("<b>Mine</b> & co")) << UserState();
}

TEST_F(SchemesTest, RenameSendsOnlyARealChangeAndKeepsTheRowOnFailure) {
    OpenLoggedIn(2);
    MySchemeItem* games = SchemeNamed(L"Games");
    ASSERT_NE(nullptr, games);
    struct Step {
        Answer answer;
        const wchar_t* name;
        const wchar_t* desc;
        bool refused;
        int requests_after;
        const wchar_t* name_after;
        const wchar_t* desc_after;
    } steps[] = {
        {Answer::kCancel, L"X", L"Y", false, 0, L"Games", L""},
        {Answer::kEscape, L"X", L"Y", false, 0, L"Games", L""},
        {Answer::kOk, L"GAMES", L"", false, 0, L"Games", L""},  // letter case only
        {Answer::kOk, L"Spiele", L"Zeit", true, 1, L"Games", L""},
        {Answer::kOk, L"Spiele", L"Zeit & {b}", false, 2, L"Spiele", L"Zeit & {b}"},
    };
    for (const Step& s : steps) {
        if (s.refused) Refuse("schememodify");
        std::wstring shown;
        AnswerSchemeDialog(s.answer, s.name, s.desc, &shown);
        ClickOnPage(games->ModifyButton());
        Drain(100);
        EXPECT_EQ(s.requests_after, UserRequests("schememodify")) << Narrow(s.name);
        EXPECT_EQ(s.name_after, LabelText(games->NameLabel()));
        EXPECT_EQ(s.desc_after, LabelText(games->DescLabel()));
        EXPECT_EQ(s.name_after, games->Name());
    }
    EXPECT_NE(std::string::npos, LogText().find("MySchemeItem::RenameScheme: scheme=611 modify failed"))
        << LogText();
}

TEST_F(SchemesTest, DeleteRemovesTheRowOnlyWhenTheServiceAgrees) {
    OpenLoggedIn(2);
    MySchemeItem* games = SchemeNamed(L"Games");
    ASSERT_NE(nullptr, games);
    Refuse("delscheme");
    ClickOnPage(games->DeleteButton());
    Drain(200);
    EXPECT_EQ(2, SchemeRows());
    EXPECT_NE(std::string::npos, LogText().find("MySchemeItem::DeleteScheme: scheme=611 delete failed"));

    ClickOnPage(games->DeleteButton());
    ASSERT_TRUE(wintest::PumpUntil([&] { return SchemeRows() == 1; }, 5000));
    EXPECT_EQ(nullptr, SchemeNamed(L"Games"));
    EXPECT_EQ(2, UserRequests("delscheme"));
}

TEST_F(SchemesTest, OpeningASchemeShowsItsProgramsOrNothing) {
    OpenLoggedIn(2);
    OpenScheme(SchemeNamed(L"办公必备"), 2);
    MyScheme* page = Schemes();
    EXPECT_FALSE(page->NewSchemeButton()->IsVisible());
    EXPECT_TRUE(page->InstallButton()->IsVisible());
    EXPECT_EQ(1010, SoftRow(0)->SoftId());
    EXPECT_EQ(1011, SoftRow(1)->SoftId());
    EXPECT_FALSE(SoftRow(0)->StripShown());
    EXPECT_TRUE(SoftRow(0)->Tree().detail->IsVisible());

    // Back on the list, then a scheme whose programs cannot be fetched.
    SendToPage(L"home_switch_page_scheme", nullptr);
    EXPECT_EQ(0, page->PageSwitch()->GetCurSel());
    Refuse("schemesoft");
    SchemeMgr::Instance().ClearCache();
    OpenScheme(SchemeNamed(L"Games"), 0);
}

TEST_F(SchemesTest, RemovingAProgramReloadsTheSchemesOnceAndOnlyOnSuccess) {
    OpenLoggedIn(2);
    OpenScheme(SchemeNamed(L"办公必备"), 2);
    const int lists = UserRequests("scheme");

    Refuse("delschemesoft");
    ClickOnPage(SoftRow(0)->Tree().del);
    Drain(300);
    EXPECT_EQ(2, SoftRows());
    EXPECT_EQ(lists, UserRequests("scheme"));
    EXPECT_NE(std::string::npos,
              LogText().find("SchemeSoftItem::RemoveFromScheme: scheme=610 soft=1010 remove failed"));

    // Removed: the row goes after the click has been handled, and the
    // scheme list is reloaded once with the new count.
    ClickOnPage(SoftRow(0)->Tree().del);
    ASSERT_TRUE(wintest::PumpUntil([&] { return SoftRows() == 1; }, 5000));
    ASSERT_TRUE(wintest::PumpUntil([&] { return UserRequests("scheme") == lists + 1; }, 5000));
    Drain(300);
    EXPECT_EQ(lists + 1, UserRequests("scheme"));
    EXPECT_EQ(1011, SoftRow(0)->SoftId());
    MySchemeItem* office = SchemeNamed(L"办公必备");
    ASSERT_NE(nullptr, office);
    EXPECT_EQ(L"1", LabelText(office->CountLabel()));
    EXPECT_EQ(1, Schemes()->PageSwitch()->GetCurSel());  // the view stays
}

TEST_F(SchemesTest, LogoutEmptiesBothLists) {
    OpenLoggedIn(2);
    OpenScheme(SchemeNamed(L"办公必备"), 2);
    ::PostMessageW(frame_->GetHWND(), WM_LOGOUT, 0, 0);
    ASSERT_TRUE(wintest::PumpUntil([&] { return SchemeRows() == 0 && SoftRows() == 0; }, 5000));
}

// The catalogue row's menu posts WM_ADD_TO_SCHEME; the main window runs the
// flow for a logged-in user.
TEST_F(SchemesTest, AddToSchemeSendsOneRequestPerTickedScheme) {
    OpenLoggedIn(2);
    struct Case {
        const char* what;
        std::function<void(HWND, WindowImplBase*)> act;
        int added;
    } cases[] = {
        {"cancel", [](HWND, WindowImplBase* w) { wintest::ClickNamed(w, L"cancel_btn"); }, 0},
        {"nothing ticked",
         [](HWND, WindowImplBase* w) { wintest::ClickNamed(w, L"ok_btn"); }, 0},
        {"both ticked, one refused",
         [this](HWND, WindowImplBase* w) {
             Refuse("addschemesoft");
             AddSchemeSoft* dialog = static_cast<AddSchemeSoft*>(w);
             for (int i = 0; i < dialog->SchemeList()->GetCount(); ++i)
                 static_cast<SchemeSelectListItem*>(dialog->SchemeList()->GetItemAt(i))
                     ->CheckBox()->SetSelected(true);
             wintest::ClickNamed(w, L"ok_btn");
         },
         2},
    };
    int expected = 0;
    for (const Case& c : cases) {
        int rows = -1;
        wintest::WhenWindowAppears(L"add_scheme_soft", [&, c](HWND hwnd, WindowImplBase* w) {
            rows = static_cast<AddSchemeSoft*>(w)->SchemeList()->GetCount();
            c.act(hwnd, w);
        });
        ::PostMessageW(frame_->GetHWND(), WM_ADD_TO_SCHEME, 0, 1005);
        Drain(300);
        expected += c.added;
        EXPECT_EQ(2, rows) << c.what;
        ASSERT_TRUE(wintest::PumpUntil([&] { return UserRequests("addschemesoft") == expected; }, 5000))
            << c.what;
    }
    // One scheme took the program: the list reloads with the new count.
    ASSERT_TRUE(wintest::PumpUntil(
        [&] {
            MySchemeItem* games = SchemeNamed(L"Games");
            return games && LabelText(games->CountLabel()) == L"1";
        },
        5000));
    EXPECT_NE(std::string::npos, LogText().find("AddSoftToSchemes: soft=1005 not added to 1 of 2 schemes"));
}

// Skins that lack a control, or are no skin at all: a log line each, and
// the page, the row and the dialogs do nothing instead of crashing.
TEST_F(SchemesTest, BrokenSkinsAreLoggedAndLeftAlone) {
    Open();
    const std::wstring skin = test_support::MakeTempDir(L"broken_scheme_skin");
    struct File {
        const wchar_t* name;
        const char* text;
    } files[] = {
        {L"my_scheme.xml",
         "<Window><VerticalLayout><Button name=\"new_scheme_btn\"/><Button name=\"install_scheme_softs_btn\"/>"
         "<TabLayout name=\"my_scheme_page_switch\"><List name=\"my_scheme_list\"/><Label name=\"my_scheme_soft_list\"/>"
         "</TabLayout></VerticalLayout></Window>"},
        {L"scheme_item.xml",
         "<Window><HorizontalLayout><Button name=\"scheme_soft_item_look\"/><Button name=\"scheme_soft_item_del\"/>"
         "<Button name=\"scheme_soft_item_modiy\"/><Label name=\"scheme_soft_item_name\"/>"
         "<Label name=\"scheme_soft_item_desc\"/></HorizontalLayout></Window>"},
        {L"add_scheme_wnd.xml",
         "<Window size=\"410,191\"><VerticalLayout><Edit name=\"scheme_name_edit\"/><Edit name=\"scheme_desc_edit\"/>"
         "<Button name=\"ok_btn\"/><Button name=\"cancel_btn\"/></VerticalLayout></Window>"},
        {L"add_scheme_soft.xml", "this is { not a skin"},
    };
    for (const File& f : files) ASSERT_TRUE(test_support::WriteFileBytes(skin + L"\\" + f.name, f.text));
    UiToolkit::CWindowManagerUI::SetResourceFolder(skin.c_str());

    {
        MyScheme page;
        EXPECT_FALSE(page.EnsureControls());
        UiToolkit::TUiNotify msg;
        msg.sType = L"home_switch_page_scheme";
        page.Notify(msg);  // ignored: no loading window, no request
        msg.sType = L"logout";
        page.Notify(msg);
    }
    {
        SchemeInfo scheme;
        scheme.scheme_id = 610;
        scheme.scheme_name = L"x";
        MySchemeItem row(RowOwner(), scheme);
        EXPECT_FALSE(row.Usable());
        UiToolkit::TUiNotify msg;
        msg.sType = L"set_schme_item_name";
        row.Notify(msg);
        EXPECT_EQ(nullptr, row.NameLabel());
    }
    std::wstring name = L"kept", desc = L"as given";
    ShowAddSchemeWnd(&name, &desc);
    EXPECT_EQ(L"kept", name);
    EXPECT_EQ(L"as given", desc);
    std::vector<int32_t> chosen;
    std::vector<SchemeInfo> schemes(2);
    ShowAddSchemeSoft(&chosen, schemes);
    EXPECT_TRUE(chosen.empty());

    UiToolkit::CWindowManagerUI::SetResourceFolder((folder_ + L"\\skin").c_str());
    test_support::RemoveTree(skin);
    const std::string log = LogText();
    for (const char* line : {"my_scheme.xml has no List my_scheme_soft_list",
                             "scheme_item.xml has no Label scheme_soft_item_amout",
                             "AddSchemeWnd::OnSkinReady: add_scheme_wnd.xml cannot be shown",
                             "AddSchemeSoft::OnSkinReady: add_scheme_soft.xml cannot be shown"})
        EXPECT_NE(std::string::npos, log.find(line)) << line << "\n" << log;
    EXPECT_EQ(0, UserRequests("scheme"));
}

}  // namespace
