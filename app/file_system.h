// The few file operations the settings file needs, behind an interface so that
// tests can run with an in-memory folder tree that refuses writes where told.
#pragma once

#include <QByteArray>
#include <QString>

// Through the source root: this header-only type needs no link to the engine.
#include "jet/status.h"

namespace app {

class FileSystem {
  public:
    // Files larger than this are refused by readFile: a settings file is a few
    // hundred bytes, so anything bigger is not one and must not fill memory.
    static constexpr qint64 kMaxReadBytes = 1 << 20;

    virtual ~FileSystem() = default;

    // The whole file. ErrorCode::NotFound when it does not exist; Io when it
    // exists but cannot be read or is larger than kMaxReadBytes.
    virtual jet::Result<QByteArray> readFile(const QString& path) const = 0;

    // Replaces the file's contents with data, creating the file and any missing
    // parent folders. Never leaves a half-written file behind.
    virtual jet::Status writeFile(const QString& path, const QByteArray& data) = 0;

    virtual bool fileExists(const QString& path) const = 0;

    // Files the user opens and saves (grid and text files). readFileUpTo is
    // readFile with the caller's size limit. replaceFile writes a temporary
    // file beside path and renames it over path, so that a failed save never
    // damages an existing file; it creates no folders.
    virtual jet::Result<QByteArray> readFileUpTo(const QString& path, qint64 maxBytes) const = 0;
    virtual jet::Status replaceFile(const QString& path, const QByteArray& data) = 0;

    // Whether new files can be created in folder (which need not exist yet only
    // for implementations that say so).
    virtual bool isWritableFolder(const QString& folder) const = 0;
};

}  // namespace app
