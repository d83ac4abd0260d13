#include "jet/sql_functions.h"

#include "sql/function_registry.h"

namespace jet {

std::vector<std::string> sqlFunctionNames() {
    return sql::functionNames();
}

}  // namespace jet
