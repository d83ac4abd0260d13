#include "test_files.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace testfiles {

namespace fs = std::filesystem;

namespace {

const fs::path& scratchFolder() {
    static const fs::path folder = [] {
        fs::path dir =
            fs::temp_directory_path() / ("tablescope-db-tests-" + std::to_string(long(::getpid())));
        fs::create_directories(dir);
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(scratchFolder(), ignored);
        });
        return dir;
    }();
    return folder;
}

}  // namespace

std::string path(const std::string& relative) {
    const fs::path file = fs::path(TABLESCOPE_TESTDATA) / relative;
    if (!fs::exists(file)) {
        std::fprintf(stderr, "missing test file %s (TABLESCOPE_TESTDATA)\n", file.c_str());
        std::abort();
    }
    return file.string();
}

std::string copy(const std::string& relative, const std::string& name) {
    const fs::path target = scratchFolder() / name;
    fs::copy_file(path(relative), target, fs::copy_options::overwrite_existing);
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add);
    return target.string();
}

}  // namespace testfiles
