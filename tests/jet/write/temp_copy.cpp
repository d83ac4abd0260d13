#include "temp_copy.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace jet::write::testing {

std::string testDataPath(const std::string& relative) {
    const std::string path = std::string(TABLESCOPE_TESTDATA) + "/" + relative;
    if (!std::filesystem::exists(path)) {
        ADD_FAILURE() << "test file missing: " << path;
    }
    return path;
}

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "jetwrite-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::copyIn(const std::string& relative, const std::string& as) {
    const std::string source = testDataPath(relative);
    const auto target =
        path_ / (as.empty() ? std::filesystem::path(source).filename().string() : as);
    std::filesystem::copy_file(source, target, std::filesystem::copy_options::overwrite_existing);
    std::filesystem::permissions(
        target, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    return target.string();
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

}  // namespace jet::write::testing
