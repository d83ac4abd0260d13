// Parses Access SQL (the ANSI-89 dialect DAO speaks) into a Statement.
// Action and data-definition statements are recognised and refused here, so
// nothing that would change data ever reaches the translator.
#pragma once

#include <string>

#include "jet/status.h"
#include "sql/ast.h"

namespace jet::sql {

// The parsed statement, or a Syntax error naming the position and word, or a
// ReadOnly error for INSERT, UPDATE, DELETE, SELECT ... INTO and DDL.
Result<Statement> parseStatement(const std::string& text);

// Parses a lone expression (used for crosstab pivot values and tests).
Result<ExprPtr> parseExpression(const std::string& text);

// Whether the parser reads `upperWord` (upper case) as a keyword, so that a
// name spelt like it must be bracketed.
bool isReservedWord(const std::string& upperWord);

// The message used when an action query is opened as a record set.
extern const char* const kActionQueryMessage;

}  // namespace jet::sql
