// The login request and its answer, without a window: the address byte for
// byte, and which answers are accepted.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "client/windows/login/login_request.h"
#include "tests/client/windows/login/login_fixture.h"

namespace {

TEST(LoginRequestUrl, TheAccountIsAQueryValueAndThePasswordItsDigest) {
    const struct {
        std::wstring account;
        std::string password_utf8;
        const wchar_t* expected;
    } cases[] = {
        {L"kelvora", "secret", L"http://h:81/Userlogin.aspx?user_account=kelvora&user_psw=5EBE2294ECD0E0F08EAB7690D2A6EE69"},
        // Reserved characters, a blank and text outside ASCII: each UTF-8
        // byte as %XX, so nothing is cut off or taken as another key.
        {kSampleAccount, kSamplePasswordUtf8,
         L"http://h:81/Userlogin.aspx?user_account=Zo%C3%AB%20Lin%26Co%2B1%20%23%E4%B8%AD%E6%96%87"
         L"&user_psw=9F705B783607A862DF8BD2F4D655DDAB"},
        {L"a=b&user_psw=x", "", L"http://h:81/Userlogin.aspx?user_account=a%3Db%26user_psw%3Dx"
                                L"&user_psw=D41D8CD98F00B204E9800998ECF8427E"},
        {L"-._~%", "", L"http://h:81/Userlogin.aspx?user_account=-._~%25&user_psw=D41D8CD98F00B204E9800998ECF8427E"},
        // A lone surrogate (typed text is not checked) becomes U+FFFD.
        {L"x\xD800", "\xEF\xBF\xBD",
         L"http://h:81/Userlogin.aspx?user_account=x%EF%BF%BD&user_psw=9B759040321A408A5C7768B4511287A6"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.expected, LoginRequestUrl(L"h:81", c.account, c.password_utf8));
}

TEST(LoadFromJson, AcceptsOnlyACompleteAnswerAndLogsEachRefusal) {
    LogCapture log;
    const struct {
        const char* what;
        std::string answer;
        bool accepted;
        const char* logged;  // for a refusal
    } cases[] = {
        {"complete", R"({"error":"noerror","cookie":"c1","userid":"501","solu_id":"600","collect_id":"601"})", true, ""},
        {"numbers with blanks and a sign", R"({"error":"noerror","cookie":"c","userid":" +7x","solu_id":"-2","collect_id":"3"})",
         true, ""},
        {"another error", R"({"error":"password","cookie":"c","userid":"1","solu_id":"1","collect_id":"1"})", false,
         "LoadFromJson: login error: password"},
        {"no error member", R"({"cookie":"c","userid":"1","solu_id":"1","collect_id":"1"})", false,
         "LoadFromJson: login error: 0"},
        {"error of another type", R"({"error":1,"cookie":"c","userid":"1","solu_id":"1","collect_id":"1"})", false,
         "LoadFromJson: login error: 0"},
        {"cookie 0", R"({"error":"noerror","cookie":"0","userid":"1","solu_id":"1","collect_id":"1"})", false,
         "LoadFromJson: the login answer has no cookie"},
        {"no cookie", R"({"error":"noerror","userid":"1","solu_id":"1","collect_id":"1"})", false,
         "LoadFromJson: the login answer has no cookie"},
        {"userid 0", R"({"error":"noerror","cookie":"c","userid":"0","solu_id":"1","collect_id":"1"})", false,
         "LoadFromJson: the login answer's userid is 0"},
        {"solu_id 0", R"({"error":"noerror","cookie":"c","userid":"1","solu_id":"0","collect_id":"1"})", false,
         "LoadFromJson: the login answer's solu_id is 0"},
        {"collect_id not a number", R"({"error":"noerror","cookie":"c","userid":"1","solu_id":"1","collect_id":"x"})",
         false, "LoadFromJson: the login answer's collect_id is 0"},
        {"ids as JSON numbers", R"({"error":"noerror","cookie":"c","userid":1,"solu_id":1,"collect_id":1})", false,
         "LoadFromJson: the login answer's userid is 0"},
        {"not JSON", "<html>500</html>", false, "LoadFromJson: the login answer is not a JSON object"},
        {"an array", R"([{"error":"noerror"}])", false, "LoadFromJson: the login answer is not a JSON object"},
        {"empty", "", false, "LoadFromJson: the login answer is not a JSON object"},
        {"cut short", R"({"error":"noerror","cookie":"c","userid":"1")", false,
         "LoadFromJson: the login answer is not a JSON object"},
    };
    for (const auto& c : cases) {
        LoginAnswer answer;
        answer.cookie = "before";
        log.Clear();
        EXPECT_EQ(c.accepted, LoadFromJson(c.answer, &answer)) << c.what;
        if (c.accepted) continue;
        EXPECT_EQ("before", answer.cookie) << c.what << ": a refused answer changes nothing";
        EXPECT_TRUE(log.Has(c.logged)) << c.what << "\n" << log.Text();
    }
    LoginAnswer answer;
    ASSERT_TRUE(LoadFromJson(cases[1].answer, &answer));
    EXPECT_EQ("c", answer.cookie);
    EXPECT_EQ(7, answer.user_id);
    EXPECT_EQ(-2, answer.scheme_id);
    EXPECT_EQ(3, answer.favourites_id);
}

}  // namespace
