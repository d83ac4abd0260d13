// The real file system: files on disk, written atomically.
#pragma once

#include "file_system.h"

namespace app {

class LocalFileSystem : public FileSystem {
  public:
    jet::Result<QByteArray> readFile(const QString& path) const override;
    jet::Status writeFile(const QString& path, const QByteArray& data) override;
    bool fileExists(const QString& path) const override;
    jet::Result<QByteArray> readFileUpTo(const QString& path, qint64 maxBytes) const override;
    jet::Status replaceFile(const QString& path, const QByteArray& data) override;
    bool isWritableFolder(const QString& folder) const override;
};

}  // namespace app
