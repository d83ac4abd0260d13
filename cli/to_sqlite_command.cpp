#include "to_sqlite_command.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <memory>

#include "cli_options.h"
#include "jet/database.h"
#include "link_folders.h"
#include "sqlite_export.h"

namespace cli {
namespace {

struct ToSqliteOptions {
    std::vector<std::string> operands;
    std::string password;
    bool force = false;
};

bool parse(const std::vector<std::string>& args, ToSqliteOptions& o, std::string& error) {
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--password") {
            if (i + 1 >= args.size()) {
                error = "--password needs a value";
                return false;
            }
            o.password = args[++i];
        } else if (args[i] == "--force") {
            o.force = true;
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            error = "unknown option '" + args[i] + "' for 'to-sqlite'";
            return false;
        } else {
            o.operands.push_back(args[i]);
        }
    }
    if (o.operands.size() != 2) {
        error = "to-sqlite needs FILE and OUT.sqlite";
        return false;
    }
    return true;
}

volatile std::sig_atomic_t stopSignal = 0;

extern "C" void onStopSignal(int signal) {
    stopSignal = signal;
}

// Ctrl-C, a hang-up or a kill during the copy stops it at the next progress
// call, so the export removes its temporary file instead of leaving it behind.
class StopSignals {
  public:
    StopSignals() {
        stopSignal = 0;
        struct sigaction action {};
        action.sa_handler = onStopSignal;
        sigemptyset(&action.sa_mask);
        for (std::size_t i = 0; i < kSignals.size(); ++i)
            sigaction(kSignals[i], &action, &previous_[i]);
    }
    ~StopSignals() {
        for (std::size_t i = 0; i < kSignals.size(); ++i)
            sigaction(kSignals[i], &previous_[i], nullptr);
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

  private:
    static constexpr std::array<int, 3> kSignals = {SIGINT, SIGTERM, SIGHUP};
    std::array<struct sigaction, 3> previous_{};
};

// One status line on a terminal, rewritten in place at most a few times a
// second; the copy goes on until a stop signal arrives.
SqliteExportProgress progressLine(std::FILE* err) {
    const bool terminal = isatty(fileno(err));
    auto last = std::make_shared<std::chrono::steady_clock::time_point>();
    return [err, terminal, last](const std::string& table, uint64_t rows, uint64_t expected) {
        const auto now = std::chrono::steady_clock::now();
        if (!terminal || (now - *last < std::chrono::milliseconds(200) && rows < expected))
            return stopSignal == 0;
        *last = now;
        std::fprintf(err, "\r\033[K%s: %llu of about %llu rows", table.c_str(),
                     static_cast<unsigned long long>(rows),
                     static_cast<unsigned long long>(std::max(rows, expected)));
        std::fflush(err);
        return stopSignal == 0;
    };
}

void printSummary(const SqliteExportSummary& s, const std::string& outPath, std::FILE* out) {
    std::fprintf(out, "%s: %d tables, %llu rows, %d indexes, %d views\n", outPath.c_str(), s.tables,
                 static_cast<unsigned long long>(s.rows), s.indexes, s.views);
    if (!s.skipped.empty())
        std::fprintf(out, "left out:\n");
    for (const std::string& line : s.skipped)
        std::fprintf(out, "  %s\n", line.c_str());
}

}  // namespace

bool tryRunToSqliteCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err,
                           int& exitCode) {
    if (args.empty() || args[0] != "to-sqlite")
        return false;
    ToSqliteOptions o;
    std::string error;
    if (!parse(args, o, error)) {
        std::fprintf(err, "tablescope-cli: %s (see --help)\n", error.c_str());
        exitCode = kUsage;
        return true;
    }
    auto db = openDatabase(o.operands[0], o.password);
    if (!db) {
        std::fprintf(err, "tablescope-cli: %s\n", db.status().message().c_str());
        exitCode = kCannotOpen;
        return true;
    }
    const bool terminal = isatty(fileno(err));
    jet::Result<SqliteExportSummary> summary = [&] {
        StopSignals stopSignals;
        return exportToSqlite(**db, o.operands[1], o.force, progressLine(err));
    }();
    if (terminal)
        std::fprintf(err, "\r\033[K");
    if (!summary) {
        std::fprintf(err, "tablescope-cli: %s\n", summary.status().message().c_str());
        // A stopped copy ends as the signal's own death would: 128 + its number.
        exitCode = stopSignal != 0 ? 128 + stopSignal : kReadError;
        return true;
    }
    printSummary(*summary, o.operands[1], out);
    exitCode = kOk;
    return true;
}

}  // namespace cli
