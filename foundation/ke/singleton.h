#pragma once

namespace ke {

// Process-wide single object of T, created on first use. Construction is
// thread-safe (C++11 static initialisation).
template <typename T>
class singleton {
public:
    static T& instance() {
        static T* object = new T();  // never destroyed: detached threads may outlive main
        return *object;
    }

protected:
    singleton() = default;
    ~singleton() = default;
};

}  // namespace ke
