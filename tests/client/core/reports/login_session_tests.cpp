#include <gtest/gtest.h>
#include <thread>
#include <vector>
#include "client/core/reports/login_session.h"

namespace {

TEST(LoginSession, StartsLoggedOutWithEmptyFieldsAndKeepsValuesAfterLogout) {
    LoginSession session;
    EXPECT_EQ(LoginSession::kNotLoggedIn, session.state());
    EXPECT_EQ("", session.cookie());
    EXPECT_EQ(L"", session.account());
    EXPECT_EQ(0, session.user_id());
    EXPECT_EQ(0, session.scheme_id());
    EXPECT_EQ(0, session.favourites_id());

    std::string cookie = "abc";
    session.SwapCookie(&cookie);
    EXPECT_EQ("", cookie);  // the old value comes back
    std::wstring account = L"user1";
    session.SwapAccount(&account);
    EXPECT_EQ(L"", account);
    session.set_user_id(42);
    session.set_scheme_id(7);
    session.set_favourites_id(9);
    session.set_state(LoginSession::kLoggedIn);

    session.set_state(LoginSession::kLoggedOut);
    EXPECT_EQ(2, session.state());
    EXPECT_EQ("abc", session.cookie());
    EXPECT_EQ(L"user1", session.account());
    EXPECT_EQ(42, session.user_id());
    EXPECT_EQ(7, session.scheme_id());
    EXPECT_EQ(9, session.favourites_id());

    cookie = "new";
    session.SwapCookie(&cookie);
    EXPECT_EQ("abc", cookie);
    EXPECT_EQ("new", session.cookie());
}

TEST(LoginSession, OneInstanceWhenThreadsRaceForIt) {
    std::vector<LoginSession*> seen(8, nullptr);
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i) threads.emplace_back([&seen, i]() { seen[i] = &LoginSession::Instance(); });
    for (std::thread& t : threads) t.join();
    for (LoginSession* p : seen) EXPECT_EQ(seen[0], p);
}

TEST(LoginSession, ConcurrentSwapsNeverTearAText) {
    LoginSession session;
    const std::string a(300, 'a'), b(500, 'b');
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t]() {
            for (int i = 0; i < 2000; ++i) {
                std::string value = (i + t) % 2 ? a : b;
                session.SwapCookie(&value);
                EXPECT_TRUE(value.empty() || value == a || value == b);
                std::string copy = session.cookie();
                EXPECT_TRUE(copy.empty() || copy == a || copy == b);
            }
        });
    }
    for (std::thread& t : threads) t.join();
}

}  // namespace
