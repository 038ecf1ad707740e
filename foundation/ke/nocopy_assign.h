#pragma once

namespace ke {

// Base for classes that must never be copied or assigned: thread owners,
// task loops, icon stores, catalogue rows.
class nocopy_assign {
protected:
    nocopy_assign() = default;
    ~nocopy_assign() = default;

public:
    nocopy_assign(const nocopy_assign&) = delete;
    nocopy_assign& operator=(const nocopy_assign&) = delete;
};

}  // namespace ke
