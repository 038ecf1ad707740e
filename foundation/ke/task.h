#pragma once
#include <functional>

namespace ke {

// A unit of work: copyable, takes nothing, returns nothing. May be empty.
typedef std::function<void()> task;

// A task loop's idle step: returns whether the loop goes on. May be empty.
typedef std::function<bool()> idle_step;

}  // namespace ke
