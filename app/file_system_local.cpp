#include "file_system_local.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace app {
namespace {

// A pipe, device or folder in a file's place is refused, never written
// through or replaced.
jet::Status refuseSpecialFile(const QString& path) {
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return jet::Status(jet::ErrorCode::Io,
                           "Cannot write " + path.toStdString() + ": not a regular file");
    return jet::Status::ok();
}

// Writes data into the save file and makes sure it reached the disk before
// the caller commits: a full disk must fail here, while the old file is
// still in place. QFileDevice's write buffer would hold the bytes back and
// commit() would then rename an empty file over the old one, so the file is
// written unbuffered and synced.
bool writeWhole(QSaveFile& file, const QByteArray& data) {
    if (file.write(data) != data.size() || !file.flush()) {
        return false;
    }
    if (::fsync(file.handle()) != 0) {
        file.cancelWriting();
        return false;
    }
    return true;
}

jet::Status cannotWrite(const QString& path, const QSaveFile& file) {
    const QString reason = file.error() != QFileDevice::NoError
                               ? file.errorString()
                               : QString::fromLocal8Bit(std::strerror(errno));
    return jet::Status(jet::ErrorCode::Io,
                       "Cannot write " + path.toStdString() + ": " + reason.toStdString());
}

}  // namespace

jet::Result<QByteArray> LocalFileSystem::readFile(const QString& path) const {
    return readFileUpTo(path, kMaxReadBytes);
}

jet::Result<QByteArray> LocalFileSystem::readFileUpTo(const QString& path, qint64 maxBytes) const {
    const QFileInfo info(path);
    if (!info.exists()) {
        return jet::Status(jet::ErrorCode::NotFound, "File not found: " + path.toStdString());
    }
    // Only regular files: a pipe or device in the file's place would block the
    // read or never end.
    if (!info.isFile()) {
        return jet::Status(jet::ErrorCode::Io,
                           "Cannot read " + path.toStdString() + ": not a regular file");
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return jet::Status(jet::ErrorCode::Io, "Cannot read " + path.toStdString() + ": " +
                                                   file.errorString().toStdString());
    }
    // One byte past the limit tells an oversized file apart, even one that
    // grew after it was looked at.
    QByteArray data = file.read(maxBytes + 1);
    if (data.size() > maxBytes) {
        return jet::Status(jet::ErrorCode::Io,
                           "Cannot read " + path.toStdString() + ": the file is too large");
    }
    if (file.error() != QFileDevice::NoError) {
        return jet::Status(jet::ErrorCode::Io, "Cannot read " + path.toStdString() + ": " +
                                                   file.errorString().toStdString());
    }
    return data;
}

jet::Status LocalFileSystem::writeFile(const QString& path, const QByteArray& data) {
    if (jet::Status s = refuseSpecialFile(path); !s)
        return s;
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        return jet::Status(jet::ErrorCode::Io, "Cannot create the folder " + folder.toStdString());
    }
    QSaveFile file(path);
    // A writable file in a folder that refuses new files can still be
    // rewritten directly; losing atomicity there beats losing the settings.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || !writeWhole(file, data) ||
        !file.commit()) {
        return cannotWrite(path, file);
    }
    return jet::Status::ok();
}

jet::Status LocalFileSystem::replaceFile(const QString& path, const QByteArray& data) {
    if (jet::Status s = refuseSpecialFile(path); !s)
        return s;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || !writeWhole(file, data) ||
        !file.commit()) {
        return cannotWrite(path, file);
    }
    return jet::Status::ok();
}

bool LocalFileSystem::fileExists(const QString& path) const {
    return QFileInfo(path).isFile();
}

bool LocalFileSystem::isWritableFolder(const QString& folder) const {
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

}  // namespace app
