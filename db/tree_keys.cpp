#include "db/tree_keys.h"

namespace db {

QString TreeKeys::table(int i) {
    return QStringLiteral("T%1").arg(i);
}

QString TreeKeys::tableField(int i, int j) {
    return QStringLiteral("TF%1-%2").arg(i).arg(j);
}

QString TreeKeys::query(int i) {
    return QStringLiteral("Q%1").arg(i);
}

QString TreeKeys::queryField(int i, int j) {
    return QStringLiteral("QF%1-%2").arg(i).arg(j);
}

TreeKeys::Kind TreeKeys::kindOf(const QString& key) {
    if (key.startsWith(QLatin1Char('N'))) {
        return Kind::Branch;
    }
    if (key.size() > 1 && key.at(1) == QLatin1Char('F')) {
        return Kind::Field;
    }
    if (key.startsWith(QLatin1Char('T'))) {
        return Kind::Table;
    }
    return Kind::Query;
}

}  // namespace db
