#include "test_files.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace jettest {

namespace fs = std::filesystem;

std::string testFile(const std::string& relative) {
    const fs::path p = fs::path(TABLESCOPE_TESTDATA) / relative;
    if (!fs::exists(p)) {
        ADD_FAILURE() << "test file missing: " << p;
        return "";
    }
    return p.string();
}

std::vector<std::string> allTestFiles() {
    std::vector<std::string> files;
    const fs::path root(TABLESCOPE_TESTDATA);
    if (!fs::exists(root))
        return files;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        const std::string ext = e.path().extension().string();
        if (e.is_regular_file() && (ext == ".mdb" || ext == ".accdb"))
            files.push_back(fs::relative(e.path(), root).string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string passwordFor(const std::string& relative) {
    return relative.find("_with-password") != std::string::npos ? "password" : "";
}

std::string shellQuote(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\'') {
            out += "'\\''";
        } else {
            out += c;
        }
    }
    return out + "'";
}

std::string runCommand(const std::string& command, int& exitCode) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        exitCode = -1;
        return out;
    }
    char buf[1 << 16];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0)
        out.append(buf, n);
    const int status = pclose(pipe);
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

std::string makeTempDir() {
    std::string templ = (fs::temp_directory_path() / "jet_tests_XXXXXX").string();
    const char* made = mkdtemp(templ.data());
    return made ? std::string(made) : std::string();
}

}  // namespace jettest
