#pragma once
// The words clients act on: the error code of a refused move, and each of
// the table's events as its message.

#include <nlohmann/json.hpp>

#include "table/Table.h"

namespace daro::server {

const char* refusalCode(Refusal r);
nlohmann::json eventJson(const TableEvent& e);

}  // namespace daro::server
