// The pager: its page arithmetic by table, and the control driven by the
// notifications its buttons send, in a window of its own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client/windows/pages/page_switch.h"
#include "tests/client/windows/support/window_test_support.h"
#include "uitoolkit/window/window_impl_base.h"

namespace {

TEST(PagerArithmetic, PageCountByTotal) {
    const struct { int total, pages; } cases[] = {
        {-1, 0}, {0, 0}, {1, 1}, {19, 1}, {20, 1}, {21, 2}, {40, 2}, {41, 3}, {200, 10}, {201, 11},
    };
    for (const auto& c : cases) EXPECT_EQ(c.pages, PagerPageCount(c.total)) << c.total;
}

TEST(PagerArithmetic, WindowShiftsOnlyAtItsEdges) {
    const struct {
        int first, last, page_count, n;
        bool shifted;
        int new_first, new_last;
    } cases[] = {
        {1, 5, 10, 5, true, 5, 9},    // the last visible number starts the next window
        {5, 9, 10, 9, true, 9, 10},   // ... cut at the last page
        {9, 10, 10, 8, true, 5, 9},   // one before the first: four back
        {5, 9, 10, 4, true, 1, 5},
        {3, 7, 10, 2, true, 1, 5},    // not before page 1
        {5, 9, 10, 8, false, 5, 9},   // inside the window: nothing moves
        {5, 9, 10, 5, false, 5, 9},
        {9, 10, 10, 10, false, 9, 10},  // the last page never shifts right
        {1, 3, 3, 3, false, 1, 3},
    };
    for (const auto& c : cases) {
        PagerWindow w;
        w.first = c.first;
        w.last = c.last;
        EXPECT_EQ(c.shifted, ShiftPagerWindow(&w, c.n, c.page_count)) << c.first << ".." << c.last << " n=" << c.n;
        EXPECT_EQ(c.new_first, w.first) << c.first << ".." << c.last << " n=" << c.n;
        EXPECT_EQ(c.new_last, w.last) << c.first << ".." << c.last << " n=" << c.n;
    }
}

// A window whose receiver hands everything to the pager first, as a page
// does, and records the pages the pager asks for.
class PagerWindowHost : public UiToolkit::WindowImplBase, public PageSwitch::PageSwitchDelegate {
public:
    PagerWindowHost() : pager(new PageSwitch(this)) {}
    void OnPageChanged(int page) override { changes.push_back(page); }
    void Notify(UiToolkit::TUiNotify& msg) override {
        if (pager->HandleNotify(msg)) ++consumed;
    }
    PageSwitch* pager;
    std::vector<int> changes;
    int consumed = 0;

protected:
    const wchar_t* WindowClassName() const override { return L"PagerTestWindow"; }
    const wchar_t* SkinFolder() const override { return L""; }
    const wchar_t* SkinFile() const override {
        return L"<Window size=\"420,60\"><HorizontalLayout name=\"plane\" bkcolor=\"#FFFFFFFF\"/></Window>";
    }
    void OnSkinReady() override {
        static_cast<UiToolkit::CContainerUI*>(m_manager.FindControl(L"plane"))->Add(pager);
    }
};

// One window for the suite: showing and destroying a window under Wine
// without a window manager takes seconds.
class PagerControl : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        wintest::UseDistSkin();
        host_ = new PagerWindowHost;
        host_->Create(nullptr, L"pager", WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW, 20, 20, 420, 60);
        wintest::Pump(100);
    }
    static void TearDownTestSuite() {
        if (host_->GetHWND()) ::DestroyWindow(host_->GetHWND());
        delete host_;
    }
    void SetUp() override {
        host_->changes.clear();
        host_->consumed = 0;
    }
    PageSwitch& pager() { return *host_->pager; }

    // The visible numbers, with the selected one in brackets: "5 [6] 7".
    std::string Shown() {
        std::string out;
        for (UiToolkit::COptionUI* b : pager().NumberButtons()) {
            if (!b->IsVisible()) continue;
            std::string text;
            for (const wchar_t* p = b->GetText(); *p; ++p) text += static_cast<char>(*p);
            if (!out.empty()) out += " ";
            out += b->IsSelected() ? "[" + text + "]" : text;
        }
        return out;
    }
    void Click(UiToolkit::CControlUI* c) {
        UiToolkit::TUiNotify msg;
        msg.sType = UI_NOTIFY_CLICK;
        msg.pSender = c;
        host_->Notify(msg);
    }
    // A number button chosen by the user: selecting it sends "selectchanged".
    void ChooseNumber(const char* text) {
        for (UiToolkit::COptionUI* b : pager().NumberButtons()) {
            std::string t;
            for (const wchar_t* p = b->GetText(); *p; ++p) t += static_cast<char>(*p);
            if (b->IsVisible() && t == text) {
                b->Activate();
                return;
            }
        }
        ADD_FAILURE() << "no visible number " << text;
    }

    static PagerWindowHost* host_;
};

PagerWindowHost* PagerControl::host_ = nullptr;

TEST_F(PagerControl, TotalsBuildTheButtons) {
    const struct {
        int total, pages;
        size_t numbers;
        const char* shown;
        int width;
    } cases[] = {
        {-1, 0, 0, "", 0},
        {0, 0, 0, "", 0},
        {19, 1, 0, "", 0},
        {20, 1, 0, "", 0},
        {21, 2, 2, "[1] 2", 50 + 2 + 2 * 25 + 50},
        {200, 10, 5, "[1] 2 3 4 5", 50 + 2 + 5 * 25 + 50},
    };
    for (const auto& c : cases) {
        pager().SetTotal(c.total);
        EXPECT_EQ(c.pages, pager().PageCount()) << c.total;
        EXPECT_EQ(c.total > 0 ? 1 : 0, pager().CurrentPage()) << c.total;
        EXPECT_EQ(c.numbers, pager().NumberButtons().size()) << c.total;
        EXPECT_EQ(c.numbers ? 4 : 0, pager().GetCount()) << c.total;
        EXPECT_EQ(c.shown, Shown()) << c.total;
        if (c.numbers) EXPECT_EQ(c.width, pager().GetFixedWidth()) << c.total;
        EXPECT_EQ(c.numbers != 0, pager().PreviousButton() != nullptr) << c.total;
    }
}

TEST_F(PagerControl, TheWalkOfTwoHundredItems) {
    pager().SetTotal(200);
    struct Step {
        const char* action;  // "n<number>", "prev", "next"
        const char* shown;
        int current;
        int delegate_calls;  // calls so far
    } steps[] = {
        {"n5", "[5] 6 7 8 9", 5, 1},
        {"n9", "[9] 10", 9, 2},
        {"prev", "5 6 7 [8] 9", 8, 3},
        {"n5", "[5] 6 7 8 9", 5, 4},
        {"prev", "1 2 3 [4] 5", 4, 5},
        {"n2", "1 [2] 3 4 5", 2, 6},   // inside the window nothing moves
        {"n2", "1 [2] 3 4 5", 2, 6},   // the current number again: no call
        {"next", "1 2 [3] 4 5", 3, 7},
    };
    for (const Step& s : steps) {
        std::string action = s.action;
        if (action == "prev")
            Click(pager().PreviousButton());
        else if (action == "next")
            Click(pager().NextButton());
        else
            ChooseNumber(action.c_str() + 1);
        EXPECT_EQ(s.shown, Shown()) << action;
        EXPECT_EQ(s.current, pager().CurrentPage()) << action;
        EXPECT_EQ(s.delegate_calls, static_cast<int>(host_->changes.size())) << action;
        if (!host_->changes.empty()) EXPECT_EQ(s.current, host_->changes.back()) << action;
    }
}

TEST_F(PagerControl, NextAndPreviousAtTheEndsAreConsumedAndChangeNothing) {
    pager().SetTotal(45);  // 3 pages
    int consumed = host_->consumed;
    Click(pager().PreviousButton());
    EXPECT_EQ(consumed + 1, host_->consumed);
    EXPECT_EQ(1, pager().CurrentPage());
    EXPECT_TRUE(host_->changes.empty());

    Click(pager().NextButton());
    Click(pager().NextButton());
    EXPECT_EQ(3, pager().CurrentPage());
    size_t calls = host_->changes.size();
    Click(pager().NextButton());
    EXPECT_EQ(3, pager().CurrentPage());
    EXPECT_EQ(calls, host_->changes.size());
    EXPECT_EQ("1 2 [3]", Shown());

    // Clicks on anything else are left to the owner.
    UiToolkit::CButtonUI other;
    consumed = host_->consumed;
    Click(&other);
    EXPECT_EQ(consumed, host_->consumed);
}

TEST_F(PagerControl, RealClicksOnTheButtons) {
    pager().SetTotal(200);
    wintest::Pump(100);
    wintest::ClickControl(host_->GetHWND(), pager().NumberButtons()[4]);
    ASSERT_TRUE(wintest::PumpUntil([&] { return !host_->changes.empty(); }, 3000));
    EXPECT_EQ(5, host_->changes.back());
    EXPECT_EQ("[5] 6 7 8 9", Shown());
    wintest::ClickControl(host_->GetHWND(), pager().NextButton());
    ASSERT_TRUE(wintest::PumpUntil([&] { return host_->changes.size() == 2; }, 3000));
    EXPECT_EQ("5 [6] 7 8 9", Shown());
}

}  // namespace
