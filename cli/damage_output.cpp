#include "damage_output.h"

#include "cli_options.h"

namespace cli {

void reportErrorValues(const RowWriter& writer, std::FILE* err) {
    if (writer.errorValues() == 0)
        return;
    std::fprintf(err, "tablescope-cli: %llu %s could not be computed on its row (#Error)\n",
                 static_cast<unsigned long long>(writer.errorValues()),
                 writer.errorValues() == 1 ? "value" : "values");
}

int reportReadFailure(const jet::Database& db, const jet::Status& failure, std::FILE* err) {
    std::fprintf(err, "tablescope-cli: %s\n", failure.message().c_str());
    if (db.readMode() == jet::ReadMode::Strict && db.salvageable(failure))
        std::fprintf(err, "tablescope-cli: --salvage writes the rows that can be read\n");
    return kReadError;
}

int reportDamage(const jet::Database& db, std::FILE* err, int exitCode) {
    const jet::DamageReport& damage = db.damage();
    if (damage.empty())
        return exitCode;
    for (const std::string& line : damage.lines())
        std::fprintf(err, "tablescope-cli: salvage: %s\n", line.c_str());
    for (const std::string& line : damage.summary())
        std::fprintf(err, "tablescope-cli: salvage: %s\n", line.c_str());
    return exitCode == kOk ? kReadError : exitCode;
}

}  // namespace cli
