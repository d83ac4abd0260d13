#include "file_system_memory.h"

#include <QDir>

namespace app {

namespace {

QString clean(const QString& path) {
    return QDir::cleanPath(path);
}

}  // namespace

jet::Result<QByteArray> MemoryFileSystem::readFile(const QString& path) const {
    return readFileUpTo(path, kMaxReadBytes);
}

jet::Result<QByteArray> MemoryFileSystem::readFileUpTo(const QString& path, qint64 maxBytes) const {
    const QString key = clean(path);
    if (failingReads_.contains(key)) {
        return jet::Status(jet::ErrorCode::Io, "Cannot read " + key.toStdString());
    }
    const auto it = files_.constFind(key);
    if (it == files_.constEnd()) {
        return jet::Status(jet::ErrorCode::NotFound, "File not found: " + key.toStdString());
    }
    if (it->size() > maxBytes) {
        return jet::Status(jet::ErrorCode::Io,
                           "Cannot read " + key.toStdString() + ": the file is too large");
    }
    return *it;
}

jet::Status MemoryFileSystem::writeFile(const QString& path, const QByteArray& data) {
    const QString key = clean(path);
    if (failingWrites_.contains(key) || isBelowReadOnlyFolder(key)) {
        return jet::Status(jet::ErrorCode::Io, "Cannot write " + key.toStdString());
    }
    files_.insert(key, data);
    ++writeCount_;
    return jet::Status::ok();
}

jet::Status MemoryFileSystem::replaceFile(const QString& path, const QByteArray& data) {
    return writeFile(path, data);
}

bool MemoryFileSystem::fileExists(const QString& path) const {
    return files_.contains(clean(path));
}

bool MemoryFileSystem::isWritableFolder(const QString& folder) const {
    return !isBelowReadOnlyFolder(clean(folder) + "/x");
}

void MemoryFileSystem::setReadOnlyFolder(const QString& folder) {
    readOnlyFolders_.insert(clean(folder));
}

void MemoryFileSystem::failReadsOf(const QString& path) {
    failingReads_.insert(clean(path));
}

void MemoryFileSystem::failWritesOf(const QString& path) {
    failingWrites_.insert(clean(path));
}

void MemoryFileSystem::putFile(const QString& path, const QByteArray& data) {
    files_.insert(clean(path), data);
}

void MemoryFileSystem::removeFile(const QString& path) {
    files_.remove(clean(path));
}

QByteArray MemoryFileSystem::contents(const QString& path) const {
    return files_.value(clean(path));
}

bool MemoryFileSystem::isBelowReadOnlyFolder(const QString& path) const {
    for (const QString& folder : readOnlyFolders_) {
        if (path.startsWith(folder + "/")) {
            return true;
        }
    }
    return false;
}

}  // namespace app
