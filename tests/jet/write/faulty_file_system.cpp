#include "faulty_file_system.h"

namespace jet::write::testing {

bool FaultyFileSystem::exists(const std::string& path) {
    // A failing existence test answers "exists": the cautious mistake.
    return fails() || real_.exists(path);
}

Result<FileStamp> FaultyFileSystem::stamp(const std::string& path) {
    return fails() ? Result<FileStamp>(injected()) : real_.stamp(path);
}

std::vector<std::string> FaultyFileSystem::listFolder(const std::string& folder) {
    // A failing listing shows nothing: the check after it must still hold.
    return fails() ? std::vector<std::string>() : real_.listFolder(folder);
}

Result<std::vector<uint8_t>> FaultyFileSystem::readAll(const std::string& path, size_t limit) {
    return fails() ? Result<std::vector<uint8_t>>(injected()) : real_.readAll(path, limit);
}

Status FaultyFileSystem::checkWritable(const std::string& path) {
    if (fails())
        return injected();
    if (readOnlyFile)
        return {ErrorCode::Io, "The database is read-only: '" + path + "'"};
    return real_.checkWritable(path);
}

Status FaultyFileSystem::checkFolderWritable(const std::string& folder) {
    if (fails())
        return injected();
    if (readOnlyFolder)
        return {ErrorCode::Io, "Cannot create files in the folder '" + folder + "'"};
    return real_.checkFolderWritable(folder);
}

Result<std::unique_ptr<FileLock>> FaultyFileSystem::lock(const std::string& path) {
    return fails() ? Result<std::unique_ptr<FileLock>>(injected()) : real_.lock(path);
}

Status FaultyFileSystem::writeCopy(const std::string& source, const std::string& path,
                                   const PagePatch& patch, uint32_t mode) {
    if (fails()) {
        // Fail half-way: a partial temporary file is left for the writer to clean up.
        PagePatch half = patch;
        half.pageCount /= 2;
        half.pages.clear();
        (void)real_.writeCopy(source, path, half, mode);
        return injected();
    }
    return real_.writeCopy(source, path, patch, mode);
}

Status FaultyFileSystem::exchange(const std::string& a, const std::string& b) {
    return fails() ? injected() : real_.exchange(a, b);
}

Status FaultyFileSystem::renameNoReplace(const std::string& from, const std::string& to) {
    return fails() ? injected() : real_.renameNoReplace(from, to);
}

Status FaultyFileSystem::remove(const std::string& path) {
    return fails() ? injected() : real_.remove(path);
}

}  // namespace jet::write::testing
