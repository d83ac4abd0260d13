// What tablescope-cli says on stderr about values and rows it could not give:
// #Error values in the output, and what a --salvage read skipped.
#pragma once

#include <cstdio>

#include "jet/database.h"
#include "row_writer.h"

namespace cli {

// "N values could not be computed ..." when the writer wrote any #Error.
void reportErrorValues(const RowWriter& writer, std::FILE* err);

// A read of `db` that failed: its message, and for damage to pages that
// --salvage reads past, that it does. Returns the read-error exit code.
int reportReadFailure(const jet::Database& db, const jet::Status& failure, std::FILE* err);

// Prints what a salvaging read skipped, line by line and in counts; returns
// the read-error exit code when anything was skipped, else `exitCode`.
int reportDamage(const jet::Database& db, std::FILE* err, int exitCode);

}  // namespace cli
