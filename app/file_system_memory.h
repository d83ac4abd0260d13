// An in-memory file system for tests: files live in a map, and folders can be
// marked read-only (writes below them fail, as on a system-wide install) or a
// single path can be made to fail reads or writes.
#pragma once

#include <QMap>
#include <QSet>

#include "file_system.h"

namespace app {

class MemoryFileSystem : public FileSystem {
  public:
    jet::Result<QByteArray> readFile(const QString& path) const override;
    jet::Status writeFile(const QString& path, const QByteArray& data) override;
    bool fileExists(const QString& path) const override;
    jet::Result<QByteArray> readFileUpTo(const QString& path, qint64 maxBytes) const override;
    jet::Status replaceFile(const QString& path, const QByteArray& data) override;
    bool isWritableFolder(const QString& folder) const override;

    // Writes to files in folder or below it fail with ErrorCode::Io.
    void setReadOnlyFolder(const QString& folder);
    // Reads of path fail with ErrorCode::Io although the file may exist.
    void failReadsOf(const QString& path);
    // Writes of path fail with ErrorCode::Io; the old contents stay.
    void failWritesOf(const QString& path);

    // Direct access for test set-up and checks.
    void putFile(const QString& path, const QByteArray& data);
    void removeFile(const QString& path);
    QByteArray contents(const QString& path) const;
    int writeCount() const { return writeCount_; }

  private:
    bool isBelowReadOnlyFolder(const QString& path) const;

    QMap<QString, QByteArray> files_;
    QSet<QString> readOnlyFolders_;
    QSet<QString> failingReads_;
    QSet<QString> failingWrites_;
    int writeCount_ = 0;
};

}  // namespace app
