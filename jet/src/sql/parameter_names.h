// One name for every spelling of a parameter. Outside Access a form or report
// reference ("[Forms]![Orders]![OrderID]", "Forms!Orders!OrderID") resolves
// to nothing and is a parameter; declared and used spellings must meet.
#pragma once

#include <string>
#include <vector>

namespace jet::sql {

// "[Forms]![Orders]![OrderID]" from the parts of a reference.
std::string referenceName(const std::vector<std::string>& parts);

// A name as written in PARAMETERS or met as an unknown bracketed name: a form
// or report reference in any spelling becomes referenceName's form; any other
// name is kept.
std::string parameterName(const std::string& name);

// True for the first part of a form or report reference.
bool isFormOrReport(const std::string& part);

}  // namespace jet::sql
