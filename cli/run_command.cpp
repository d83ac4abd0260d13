#include "run_command.h"

#include "cli_options.h"
#include "damage_output.h"
#include "jet/database.h"
#include "jet/sql_session.h"
#include "link_folders.h"
#include "row_writer.h"

namespace cli {

namespace {

struct RunOptions {
    std::string command;
    std::vector<std::string> operands;
    std::string password;
    ExportFormat format = ExportFormat::Csv;
    CsvOptions csv;
    jet::ParameterValues parameters;
    bool salvage = false;
};

bool parseRun(const std::vector<std::string>& args, RunOptions& o, std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (takeCsvOption(args, i, o.csv, error)) {
            if (!error.empty())
                return false;
        } else if (a == "--password" || a == "--format" || a == "--param") {
            if (i + 1 >= args.size()) {
                error = a + " needs a value";
                return false;
            }
            const std::string& v = args[++i];
            if (a == "--password") {
                o.password = v;
            } else if (a == "--param") {
                if (!checkParameterOption(v, error))
                    return false;
                const auto eq = v.find('=');
                o.parameters.push_back({v.substr(0, eq), v.substr(eq + 1)});
            } else if (v == "csv" || v == "jsonl") {
                o.format = v == "csv" ? ExportFormat::Csv : ExportFormat::JsonLines;
            } else {
                error = "unknown format '" + v + "' (csv or jsonl)";
                return false;
            }
        } else if (a == "--salvage") {
            o.salvage = true;
        } else if (o.command.empty()) {
            o.command = a;
        } else {
            o.operands.push_back(a);
        }
    }
    if (o.operands.size() != 2) {
        error = "wrong number of arguments for '" + o.command + "'";
        return false;
    }
    if (!o.csv.isDefault() && o.format != ExportFormat::Csv) {
        error = "CSV options only apply to 'export' and 'run' with --format csv";
        return false;
    }
    return true;
}

int report(std::FILE* err, int code, const std::string& message) {
    std::fprintf(err, "tablescope-cli: %s\n", message.c_str());
    return code;
}

// Damage to the file is a read error, as for a table's export; anything
// else is the statement's.
int failed(const jet::Database& db, const jet::Status& why, std::FILE* err) {
    if (why.code() == jet::ErrorCode::Corrupt)
        return reportReadFailure(db, why, err);
    return report(err, kStatementError, why.message());
}

int writeRecordset(const jet::Database& db, jet::Recordset& rs, const RunOptions& o, std::FILE* out,
                   std::FILE* err) {
    std::vector<std::string> names;
    for (const auto& f : rs.fields())
        names.push_back(f.name);
    RowWriter writer(out, o.format, names, o.csv);
    while (rs.next()) {
        writer.beginRow();
        for (const jet::Value& v : rs.row())
            writer.value(v.ref());
        writer.endRow();
    }
    const bool written = writer.flush();
    reportErrorValues(writer, err);
    if (!rs.status())
        return failed(db, rs.status(), err);
    if (!written)
        return report(err, kReadError, writer.failure());
    return kOk;
}

}  // namespace

bool tryRunStatementCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err,
                            int& exitCode) {
    if (args.empty() || (args[0] != "run" && args[0] != "export"))
        return false;
    RunOptions o;
    std::string error;
    const bool parsed = parseRun(args, o, error);
    if (!parsed && o.command == "run") {
        exitCode = report(err, kUsage, error + " (see --help)");
        return true;
    }
    if (!parsed)
        return false;  // let the table export report it
    auto db = openDatabase(o.operands[0], o.password,
                           o.salvage ? jet::ReadMode::Salvage : jet::ReadMode::Strict);
    if (o.command == "export" &&
        (!db || (*db)->findTable(o.operands[1]) || !(*db)->findQuery(o.operands[1]))) {
        return false;  // a table export, or an error the table export reports
    }
    if (!db) {
        exitCode = report(err, kCannotOpen, db.status().message());
        return true;
    }
    auto session = jet::SqlSession::open(**db);
    if (!session) {
        exitCode = report(err, kStatementError, session.status().message());
        return true;
    }
    auto rs = (*session)->openRecordset(o.operands[1], o.parameters);
    exitCode = rs ? writeRecordset(**db, **rs, o, out, err) : failed(**db, rs.status(), err);
    exitCode = reportDamage(**db, err, exitCode);
    return true;
}

}  // namespace cli
