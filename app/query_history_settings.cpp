#include "app/query_history_settings.h"

#include <QHash>
#include <QUrl>

#include "sql/query_history.h"

namespace app {

namespace {

const QString kSection = QStringLiteral("SQLHISTORY");
// Room under the settings value limit; a piece never ends inside an escape.
constexpr int kPieceLength = 240;

QString databaseKey(int d) {
    return QStringLiteral("DB%1").arg(d + 1);
}

QString statementKey(int d, int s, int piece) {
    const QString first = QStringLiteral("DB%1.%2").arg(d + 1).arg(s + 1);
    return piece == 0 ? first : QStringLiteral("%1+%2").arg(first).arg(piece + 1);
}

// Letters, digits and the usual punctuation of a statement stay readable in
// the file; spaces, line breaks, "%" and anything beyond ASCII are escaped.
QString encodeStatement(const QString& statement) {
    return QString::fromLatin1(statement.toUtf8().toPercentEncoding(
        QByteArrayLiteral("!\"#$&'()*+,-./:;<=>?@[\\]^_`{|}~")));
}

QString decodeStatement(const QString& encoded) {
    return QString::fromUtf8(QByteArray::fromPercentEncoding(encoded.toLatin1()));
}

QStringList pieces(const QString& encoded) {
    QStringList list;
    int from = 0;
    while (from < encoded.size()) {
        int length = std::min(kPieceLength, int(encoded.size()) - from);
        const int escape = int(encoded.lastIndexOf(u'%', from + length - 1));
        if (escape >= from && escape + 3 > from + length) {
            length = escape - from;
        }
        list.append(encoded.mid(from, length));
        from += length;
    }
    return list;
}

}  // namespace

SettingsEntries QueryHistorySettings::encode(const sql::QueryHistory& history) {
    SettingsEntries entries;
    const QStringList databases = history.databases();
    for (int d = 0; d < databases.size(); ++d) {
        if (databases[d].size() > SettingsFile::kMaxValueLength) {
            continue;  // a name the file could not give back whole
        }
        entries.emplace_back(databaseKey(d), databases[d]);
        int kept = 0;
        for (const QString& statement : history.statements(databases[d])) {
            if (statement.size() > kMaxStoredLength) {
                continue;
            }
            const QStringList parts = pieces(encodeStatement(statement));
            for (int p = 0; p < parts.size(); ++p) {
                entries.emplace_back(statementKey(d, kept, p), parts[p]);
            }
            ++kept;
        }
    }
    return entries;
}

void QueryHistorySettings::decode(const SettingsEntries& entries, sql::QueryHistory& history) {
    QHash<QString, QString> values;
    for (const auto& [key, value] : entries) {
        values.insert(key.toUpper(), value);
    }
    for (int d = 0; d < sql::QueryHistory::kMaxDatabases; ++d) {
        const QString database = values.value(databaseKey(d));
        if (database.isEmpty()) {
            continue;
        }
        QStringList statements;
        for (int s = 0; s < sql::QueryHistory::kMaxStatements; ++s) {
            QString encoded;
            for (int p = 0;; ++p) {
                const QString part = values.value(statementKey(d, s, p));
                if (part.isEmpty()) {
                    break;
                }
                encoded += part;
            }
            if (!encoded.isEmpty()) {
                statements.append(decodeStatement(encoded));
            }
        }
        history.restore(database, statements);
    }
}

void QueryHistorySettings::read(const SettingsFile& settings, sql::QueryHistory& history) {
    decode(settings.readSection(kSection), history);
}

jet::Status QueryHistorySettings::write(SettingsFile& settings, const sql::QueryHistory& history) {
    return settings.replaceSection(kSection, encode(history));
}

}  // namespace app
