// The parameters a saved query declares (attribute 2 rows) and the
// PARAMETERS line Access writes for them.
#pragma once

#include <string>
#include <vector>

#include "jet/query_info.h"
#include "queries/query_elements.h"

namespace jet {

// Name, SQL type name and Jet column type of every declared parameter, in
// key order. An unknown type code gives the type name "Value".
std::vector<QueryParameter> queryParameters(const QueryElements& elements);

// "PARAMETERS [Name] Type, ...;" plus CR LF, or empty without parameters.
std::string parametersLine(const std::vector<QueryParameter>& parameters);

}  // namespace jet
