#include "foundation/sql/database.h"
#include <sqlite3.h>
#include "foundation/sql/exception.h"

namespace sql {

void Database::close() {
    if (db_) sqlite3_close(db_);
    db_ = nullptr;
    error_.clear();
    result_ = 1;
}

bool Database::open(const std::string& path) {
    close();
    result_ = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (result_ == SQLITE_OK) return true;
    // The handle (if SQLite made one) stays until close() or the destructor.
    error_ = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(result_);
    throw Exception("Database::open: " + error_);
}

}  // namespace sql
