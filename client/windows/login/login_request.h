#pragma once
// The login request that both roads send (the dialog and the auto-login
// worker) and the reading of its answer. No window: the dialog and the
// worker decide the state and what is shown.
#include <stdint.h>

#include <string>

// What an accepted answer carries.
struct LoginAnswer {
    std::string cookie;
    int32_t user_id = 0;
    int32_t scheme_id = 0;
    int32_t favourites_id = 0;
};

// A login request gives up after this long without progress: the dialog
// waits for it behind a modal loading window.
const unsigned long kLoginTimeoutMs = 5000;

// "http://" + host + "/Userlogin.aspx?user_account=" + the account's UTF-8
// bytes as a query value + "&user_psw=" + Md5Hex of the password bytes.
std::wstring LoginRequestUrl(const std::wstring& host, const std::wstring& account,
                             const std::string& password_utf8);

// Reads a login answer. Accepted only when it is a JSON object whose
// "error" is "noerror", whose "cookie" is not "0" and whose "userid",
// "solu_id" and "collect_id" are not 0; each refusal is logged.
bool LoadFromJson(const std::string& answer, LoginAnswer* out);

enum class LoginResult {
    kFailed,    // no answer: the host was not reached, the status was not 200, the time-out passed
    kAccepted,  // the session now holds the answer's cookie and ids and the account
    kRefused,   // answered, but the answer was refused
};

// Sends the login request to the login host and reads the answer. On
// acceptance the session receives the cookie, the ids and the account
// (texts and ids only: the caller sets the state last).
LoginResult RequestLogin(const std::wstring& account, const std::string& password_utf8);
