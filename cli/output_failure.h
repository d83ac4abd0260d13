// The command's standard output as a place that can fail: a full disk or a
// closed pipe is a write error the user hears of, never a silent success.
#pragma once

#include <cstdio>
#include <string>

namespace cli {

// "cannot write the output: " and the reason for `error` (an errno value).
std::string outputFailure(int error);

// Flushes `out` at the end of a command. When anything written to it was
// lost and the command meant to succeed, says so on `err` and turns
// `exitCode` into the read-error code (the code for failed output too).
int finishOutput(std::FILE* out, std::FILE* err, int exitCode);

}  // namespace cli
