// Test helpers: a fresh temporary folder per test holding copies of test
// databases, and the path of a test file (a missing one fails the test).
#pragma once

#include <filesystem>
#include <string>

namespace jet::write::testing {

std::string testDataPath(const std::string& relative);

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    const std::filesystem::path& path() const { return path_; }
    // Copies test file `relative` in and returns the copy's path.
    std::string copyIn(const std::string& relative, const std::string& as = {});

  private:
    std::filesystem::path path_;
};

std::string fileBytes(const std::string& path);

}  // namespace jet::write::testing
