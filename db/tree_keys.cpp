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

QString TreeKeys::relationship(int i) {
    return QStringLiteral("R%1").arg(i);
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
    if (key.startsWith(QLatin1Char('R'))) {
        return Kind::Relationship;
    }
    return Kind::Query;
}

}  // namespace db
