#include "faulty_file_system.h"

namespace jet::write::testing {

bool FaultyFileSystem::exists(const std::string& path) {
    // A failing existence test answers "exists": the cautious mistake.
    return fails() || real_.exists(path);
}

Result<FileStamp> FaultyFileSystem::stamp(const std::string& path) {
    return fails() ? Result<FileStamp>(injected()) : real_.stamp(path);
}

Result<std::vector<uint8_t>> FaultyFileSystem::readAll(const std::string& path) {
    return fails() ? Result<std::vector<uint8_t>>(injected()) : real_.readAll(path);
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

Status FaultyFileSystem::writeNew(const std::string& path, const std::vector<uint8_t>& bytes,
                                  uint32_t mode) {
    if (fails()) {
        // Fail half-way: a partial temporary file is left for the writer to clean up.
        std::vector<uint8_t> half(bytes.begin(), bytes.begin() + bytes.size() / 2);
        (void)real_.writeNew(path, half, mode);
        return injected();
    }
    return real_.writeNew(path, bytes, mode);
}

Status FaultyFileSystem::keepCopy(const std::string& path, const std::string& link) {
    return fails() ? injected() : real_.keepCopy(path, link);
}

Status FaultyFileSystem::replace(const std::string& from, const std::string& to) {
    return fails() ? injected() : real_.replace(from, to);
}

Status FaultyFileSystem::remove(const std::string& path) {
    return fails() ? injected() : real_.remove(path);
}

}  // namespace jet::write::testing
