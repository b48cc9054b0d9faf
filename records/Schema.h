#pragma once
// The records' tables, the same on SQLite and PostgreSQL, and the steps that bring an older
// database up to date. Version numbers only grow; a database newer than this program is left
// untouched.
#include <span>
#include <string_view>

namespace records {

struct Migration {
    int version;  // the schema version once applied
    std::span<const std::string_view> statements;
};

std::span<const Migration> migrations();
int latestSchemaVersion();

}  // namespace records
