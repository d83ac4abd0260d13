#include "cli_options.h"

#include <set>

namespace cli {
namespace {

// FILE plus the command's own operands: minimum and maximum counts.
struct Arity {
    size_t min, max;
};

std::optional<Arity> arityOf(const std::string& command) {
    if (command == "tables" || command == "queries")
        return Arity{1, 1};
    if (command == "sql")
        return Arity{2, 2};
    if (command == "schema")
        return Arity{1, 2};
    if (command == "export")
        return Arity{2, 2};
    if (command == "check")
        return Arity{1, 1};
    return std::nullopt;
}

}  // namespace

bool checkParameterOption(const std::string& value, std::string& error) {
    const size_t eq = value.find('=');
    if (eq == std::string::npos || eq == 0) {
        error = "--param needs NAME=VALUE, not '" + value + "'" +
                (eq == std::string::npos ? " (the '=' is missing)" : " (the name is missing)");
        return false;
    }
    return true;
}

const char* usageText() {
    return "usage: tablescope-cli tables FILE [-S]\n"
           "       tablescope-cli queries FILE\n"
           "       tablescope-cli sql FILE QUERY\n"
           "       tablescope-cli schema FILE [TABLE]\n"
           "       tablescope-cli export FILE TABLE|QUERY [--format csv|jsonl] [--salvage]\n"
           "                             [--param NAME=VALUE ...] [CSV options]\n"
           "       tablescope-cli run FILE \"SQL\" [--format csv|jsonl] [--salvage]\n"
           "                             [--param NAME=VALUE ...] [CSV options]\n"
           "       tablescope-cli attachments FILE TABLE [--out DIR] [--force]\n"
           "       tablescope-cli check FILE\n"
           "       tablescope-cli to-sqlite FILE OUT.sqlite [--force]\n"
           "       tablescope-cli save-query FILE NAME \"SQL\" [--no-backup]\n"
           "       tablescope-cli delete-query FILE NAME [--no-backup]\n"
           "options: --password PW   password of a protected database\n"
           "         --link-dir DIR  a folder to look in for the databases linked tables\n"
           "                         and FROM ... IN name (repeatable); first come the\n"
           "                         stored path and the database's own folder\n"
           "to-sqlite copies every table (rows, primary key, indexes) and every saved select\n"
           "  query that plain SQLite can run (as a view) into a new file, then lists what\n"
           "  it left out. Yes/No is stored as 1/0, dates as \"YYYY-MM-DD HH:MM:SS\" text,\n"
           "  Currency and Decimal as exact text (\"12.3400\"). --force replaces OUT.\n"
           "save-query and delete-query keep the database as it was in FILE.bak (unless\n"
           "  one exists or --no-backup is given).\n"
           "attachments lists each attachment of TABLE (row key, column, name, type, size)\n"
           "  or, with --out, writes the files into DIR; --force replaces existing files.\n"
           "--salvage writes every row that can be read from a damaged file and reports on\n"
           "  stderr which pages, rows and long values it skipped (exit status 3 if any).\n"
           "check reads every table, long value, index definition and saved query and\n"
           "  reports what is damaged (exit status 0 when sound, 3 when not).\n";
}

std::optional<Options> parseOptions(const std::vector<std::string>& args, std::string& error) {
    Options o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (takeCsvOption(args, i, o.csv, error)) {
            if (!error.empty())
                return std::nullopt;
        } else if (a == "--password" || a == "--format") {
            if (i + 1 >= args.size()) {
                error = a + " needs a value";
                return std::nullopt;
            }
            const std::string& v = args[++i];
            if (a == "--password") {
                o.password = v;
            } else if (v == "csv") {
                o.format = ExportFormat::Csv;
            } else if (v == "jsonl") {
                o.format = ExportFormat::JsonLines;
            } else {
                error = "unknown format '" + v + "' (csv or jsonl)";
                return std::nullopt;
            }
        } else if (a == "-S") {
            o.systemTables = true;
        } else if (a == "--salvage") {
            o.salvage = true;
        } else if (a == "--param") {
            // Saved-query exports take parameters; a table has none.
            if (i + 1 >= args.size() || !checkParameterOption(args[i + 1], error)) {
                if (error.empty())
                    error = "--param needs a value: NAME=VALUE";
                return std::nullopt;
            }
            ++i;
        } else if (a.size() > 1 && a[0] == '-') {
            error = "unknown option '" + a + "'";
            return std::nullopt;
        } else if (o.command.empty()) {
            o.command = a;
        } else {
            o.operands.push_back(a);
        }
    }
    if (o.command.empty()) {
        error = "no command given";
        return std::nullopt;
    }
    const std::optional<Arity> arity = arityOf(o.command);
    if (!arity) {
        error = "unknown command '" + o.command + "'";
        return std::nullopt;
    }
    if (o.operands.size() < arity->min || o.operands.size() > arity->max) {
        error = "wrong number of arguments for '" + o.command + "'";
        return std::nullopt;
    }
    if (!o.csv.isDefault() && (o.command != "export" || o.format != ExportFormat::Csv)) {
        error = "CSV options only apply to 'export' and 'run' with --format csv";
        return std::nullopt;
    }
    if (o.salvage && o.command != "export") {
        error = "--salvage only applies to 'export' and 'run'";
        return std::nullopt;
    }
    if (o.systemTables && o.command != "tables") {
        error = "-S only applies to 'tables'";
        return std::nullopt;
    }
    return o;
}

}  // namespace cli
