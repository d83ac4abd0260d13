#include "app/open_file_kind.h"

#include <QStringList>

namespace app {

OpenFileKind::Kind OpenFileKind::of(const QString& fileName) {
    const QString end = fileName.right(3).toUpper();
    if (end == QLatin1String("MDB") || fileName.right(5).toUpper() == QLatin1String("ACCDB")) {
        return Database;
    }
    if (end == QLatin1String("PRS")) {
        return GridFile;
    }
    if (end == QLatin1String("CSV")) {
        return CommaText;
    }
    if (end == QLatin1String("TXT")) {
        return TabText;
    }
    return NotRecognised;
}

OpenFileKind::Kind OpenFileKind::forSave(const QString& fileName) {
    if (fileName.endsWith(QLatin1String("jsonl"), Qt::CaseInsensitive)) {
        return JsonLines;
    }
    if (fileName.endsWith(QLatin1String("sqlite"), Qt::CaseInsensitive)) {
        return SqliteDatabase;
    }
    const Kind kind = of(fileName);
    return kind == Database ? NotRecognised : kind;
}

OpenFileType OpenFileKind::openFileType(Kind kind) {
    switch (kind) {
        case Database:
            return OpenFileType::Database;
        case GridFile:
            return OpenFileType::GridFile;
        case CommaText:
            return OpenFileType::CommaText;
        case TabText:
            return OpenFileType::TabText;
        case JsonLines:
        case SqliteDatabase:
        case NotRecognised:
            break;
    }
    return OpenFileType::None;
}

QString OpenFileKind::qtFilter(const QString& writtenFilter) {
    const QStringList parts = writtenFilter.split(QLatin1Char('|'));
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            pattern =
                pattern.trimmed() == QLatin1String("*.*") ? QStringLiteral("*") : pattern.trimmed();
        }
        QString description = parts[i];
        const int open = description.lastIndexOf(QLatin1Char('('));
        if (open > 0 && description.endsWith(QLatin1Char(')'))) {
            description = description.left(open).trimmed();
        }
        entries << QStringLiteral("%1 (%2)").arg(description, patterns.join(QLatin1Char(' ')));
    }
    return entries.join(QStringLiteral(";;"));
}

}  // namespace app
