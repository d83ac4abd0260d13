// Where the tests find their data: the shared Access files, the independent
// reader, the benchmark database. A missing file fails the test loudly.
#pragma once

#include <string>
#include <vector>

namespace jettest {

// Absolute path of `relative` under the shared test data; fails the current
// test (and returns "") when the file is missing.
std::string testFile(const std::string& relative);
// Every .mdb / .accdb under the test data, sorted, as paths relative to it.
std::vector<std::string> allTestFiles();
// The password the test data uses for a file ("" when it has none).
std::string passwordFor(const std::string& relative);
// Runs a shell command; returns its standard output, sets `exitCode`.
std::string runCommand(const std::string& command, int& exitCode);
// Single-quotes `s` for the shell.
std::string shellQuote(const std::string& s);
// A fresh temporary folder for one test.
std::string makeTempDir();

}  // namespace jettest
