// The Access functions a statement may call in this engine, for callers that
// offer them to the user (the SQL box's completion list).
#pragma once

#include <string>
#include <vector>

namespace jet {

// Every function name the engine knows, upper case, in the engine's order.
std::vector<std::string> sqlFunctionNames();

}  // namespace jet
