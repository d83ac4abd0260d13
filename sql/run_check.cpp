#include "sql/run_check.h"

#include "db/modifying_test.h"

namespace sql {

RunCheck::Verdict RunCheck::check(const QString& sql) {
    if (sql.size() < kMinLength) {
        return Verdict::TooShort;
    }
    if (db::ModifyingTest::modifiesData(sql)) {
        return Verdict::Modifying;
    }
    return Verdict::Run;
}

}  // namespace sql
