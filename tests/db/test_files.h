// Paths of the shared test databases, and writable copies of them for tests
// that store queries. A file that is missing fails the test loudly.
#pragma once

#include <string>

namespace testfiles {

// TABLESCOPE_TESTDATA + "/" + relative; aborts the test program when absent.
std::string path(const std::string& relative);
// A fresh copy of a test file in a temporary folder that lives until the
// program ends.
std::string copy(const std::string& relative, const std::string& name);
// A copy holding one more saved query, "~sq_fForm1" (SELECT col1 FROM Table1),
// the kind Access keeps for a form. Our writer refuses names beginning with
// "~", so the query is saved as "Zsq_fForm1" and renamed in the file's bytes
// (the catalog stores the name as UTF-16).
std::string copyWithHiddenQuery(const std::string& relative, const std::string& name);

}  // namespace testfiles
