// Copies some tables into an SQLite file of their own, on a connection and
// thread of their own, while the exporter copies the other tables into the
// output: SQLite writes a file from one thread at a time, so this is how a
// second core stores rows too. The exporter then moves the rows into the
// output one statement a table, which SQLite carries out record by record
// without decoding.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "jet/status.h"
#include "jet/table_cursor.h"
#include "row_feed.h"

namespace cli {

class SideCopy {
  public:
    struct Table {
        // Read on the copying thread only from construction on: one that
        // may be read beside its database's other cursors (see
        // TableCursor::twin()).
        std::unique_ptr<jet::TableCursor> cursor;
        std::string createTable;
        std::string target;  // the table's SQLite name, quoted
        std::vector<size_t> columns;
        std::optional<size_t> rowidColumn;  // in `columns`: the INTEGER PRIMARY KEY
        // CREATE INDEX statements, each run after the rows are stored.
        std::vector<std::string> indexes;
        RowFeed::Progress progress;  // called on the copying thread
    };
    struct Setup {
        std::string path;          // a new empty file of its own, removed with this object
        std::string pragmas;       // the settings of the output connection
        std::string indexPragmas;  // and those it builds indexes with
        std::string feedName;
        uint64_t progressEvery = 0;
        std::vector<Table> tables;  // copied in this order, each in a transaction
    };
    struct Outcome {
        jet::Status status;  // ok when every row of the table is in the file
        int sqliteCode = 0;  // SQLite's code when it failed, else 0
        bool stopped = false;
        uint64_t rows = 0;
        std::vector<jet::Status> indexes;  // one a statement: ok, or why it failed
    };

    // Starts the copy.
    explicit SideCopy(Setup setup);
    // Stops a copy still running, waits for it and removes the file.
    ~SideCopy();
    SideCopy(const SideCopy&) = delete;
    SideCopy& operator=(const SideCopy&) = delete;

    // Waits for the copy to end; the file is closed then. One outcome a
    // table, in the setup's order; a table after a stop or after a failure
    // of the file itself is not copied, its outcome says so.
    const std::vector<Outcome>& wait();
    // Whether the copy has ended (wait() would not wait).
    bool finished() const { return finished_; }
    const std::string& path() const { return setup_.path; }

  private:
    void run();

    Setup setup_;
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> finished_{false};
    std::vector<Outcome> outcomes_;
    std::thread thread_;
};

}  // namespace cli
