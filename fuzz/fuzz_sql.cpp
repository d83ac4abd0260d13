// libFuzzer target: any text typed into the SQL box, run the way the window
// runs it against the bundled sample database: parameters asked for, fields
// named, then the first rows read value by value. Error results are the
// expected outcome for most inputs; crashes, hangs and runaway memory are
// findings.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "jet/database.h"
#include "jet/sql_session.h"
#include "jet/sql_value_text.h"

namespace {

constexpr size_t kMaxRows = 200;

struct Sample {
    std::unique_ptr<jet::Database> db;
    std::unique_ptr<jet::SqlSession> session;
};

Sample& sample() {
    static Sample s = [] {
        Sample opened;
        auto db = jet::Database::open(TABLESCOPE_FUZZ_SQL_DATABASE);
        if (!db) {
            __builtin_trap();  // the fuzzer cannot work without its database
        }
        opened.db = std::move(*db);
        auto session = jet::SqlSession::open(*opened.db);
        if (!session) {
            __builtin_trap();
        }
        opened.session = std::move(*session);
        return opened;
    }();
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    jet::SqlSession& session = *sample().session;
    jet::ParameterValues values;
    if (auto asked = session.parameters(text)) {
        for (const jet::QueryParameter& parameter : *asked) {
            values.emplace_back(parameter.name, "1");
        }
    }
    (void)session.fields(text);
    auto recordset = session.openRecordset(text, values);
    if (!recordset) {
        (void)recordset.status().message().size();
        return 0;
    }
    jet::Recordset& rows = **recordset;
    for (size_t row = 0; row < kMaxRows && rows.next(); ++row) {
        for (const jet::Value& value : rows.row()) {
            (void)jet::displayText(value).size();
        }
    }
    (void)rows.status().message().size();
    return 0;
}
