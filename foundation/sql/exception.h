#pragma once
#include <string>

namespace sql {

// The one exception of the SQL object layer, thrown by value. It carries a
// single message: a prefix naming the operation ("RecordSet::query: ",
// "Database::open: ", ...) followed by the detail, usually SQLite's text.
class Exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& message() const { return message_; }

private:
    std::string message_;
};

}  // namespace sql
