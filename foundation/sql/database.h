#pragma once
#include <string>

struct sqlite3;

namespace sql {

// One SQLite connection, opened read-write (created when missing) and closed
// by the destructor or the next open().
class Database {
public:
    Database() = default;
    ~Database() { close(); }
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // `path` is UTF-8 and handed to SQLite byte for byte. True on success; a
    // failure throws sql::Exception ("Database::open: " + SQLite's message).
    bool open(const std::string& path);
    void close();

    sqlite3* handle() const { return db_; }
    std::string errorText() const { return error_; }
    int resultCode() const { return result_; }

private:
    sqlite3* db_ = nullptr;
    std::string error_;
    int result_ = 1;
};

}  // namespace sql
