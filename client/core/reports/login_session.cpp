#include "client/core/reports/login_session.h"

LoginSession& LoginSession::Instance() {
    // A function-local static: the compiler guards its construction, so two
    // threads that ask first at once get the same object. Never destroyed,
    // as detached workers may still read it while the process ends.
    static LoginSession* instance = new LoginSession();
    return *instance;
}

LoginSession::LoginSession()
    : state_(kNotLoggedIn), cookie_(std::string()), account_(std::wstring()), user_id_(0),
      scheme_id_(0), favourites_id_(0) {}
