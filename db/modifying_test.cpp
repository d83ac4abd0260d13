#include "db/modifying_test.h"

namespace db {

bool ModifyingTest::modifiesData(const QString& sql) {
    const QString upper = sql.toUpper();
    for (const char* keyword : {" INSERT ", " DELETE ", " SET ", " UPDATE "}) {
        if (upper.contains(QLatin1String(keyword))) {
            return true;
        }
    }
    return false;
}

}  // namespace db
