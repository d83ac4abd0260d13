#include "test_files.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "jet/query_writer.h"

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

std::string copyWithHiddenQuery(const std::string& relative, const std::string& name) {
    const std::string file = copy(relative, name);
    if (!jet::createQueryDef(file, "Zsq_fForm1", "SELECT col1 FROM Table1").isOk()) {
        std::fprintf(stderr, "cannot save the query to rename in %s\n", file.c_str());
        std::abort();
    }
    std::string bytes;
    {
        std::ifstream in(file, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const std::string stored(
        "Z\0s\0q\0_\0f\0F\0o\0r\0m\0"
        "1\0",
        20);
    const std::size_t at = bytes.find(stored);
    if (at == std::string::npos || bytes.find(stored, at + 1) != std::string::npos) {
        std::fprintf(stderr, "the saved query's name is not stored once in %s\n", file.c_str());
        std::abort();
    }
    bytes[at] = '~';
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    return file;
}

}  // namespace testfiles
