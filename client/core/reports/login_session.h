#pragma once
#include <stdint.h>
#include <string>
#include "foundation/ke/critical_section.h"

// The signed-in user, process-wide. Each field has a lock of its own: a
// reader copies one field at a time, and no lock is held across two fields
// or during a request. The login code writes texts and ids before the state,
// so a reader that sees kLoggedIn sees the new values.
class LoginSession {
public:
    enum State {
        kLoggedIn = 0,
        kNotLoggedIn = 1,
        kLoggedOut = 2,
        kRejected = 4,
    };

    // Created on first use (safe when two threads race for it), never destroyed.
    static LoginSession& Instance();
    LoginSession();

    int32_t state() { return state_.get(); }
    void set_state(int32_t value) { state_.set(value); }

    std::string cookie() { return cookie_.get(); }
    // Exchanges the stored cookie with `value`: pass the new, receive the old.
    void SwapCookie(std::string* value) { cookie_.swap(value); }

    std::wstring account() { return account_.get(); }
    void SwapAccount(std::wstring* value) { account_.swap(value); }

    int32_t user_id() { return user_id_.get(); }
    void set_user_id(int32_t value) { user_id_.set(value); }
    int32_t scheme_id() { return scheme_id_.get(); }
    void set_scheme_id(int32_t value) { scheme_id_.set(value); }
    int32_t favourites_id() { return favourites_id_.get(); }
    void set_favourites_id(int32_t value) { favourites_id_.set(value); }

private:
    // One field with its own critical section.
    template <typename T>
    class Locked {
    public:
        explicit Locked(T initial) : value_(initial) {}
        T get() {
            ke::scoped_lock guard(lock_);
            return value_;
        }
        void set(const T& value) {
            ke::scoped_lock guard(lock_);
            value_ = value;
        }
        void swap(T* other) {
            ke::scoped_lock guard(lock_);
            std::swap(value_, *other);
        }

    private:
        ke::critical_section lock_;
        T value_;
    };

    Locked<int32_t> state_;
    Locked<std::string> cookie_;
    Locked<std::wstring> account_;
    Locked<int32_t> user_id_;
    Locked<int32_t> scheme_id_;
    Locked<int32_t> favourites_id_;
};
