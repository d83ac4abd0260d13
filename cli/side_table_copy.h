// Copies one table into an SQLite file of its own, on a connection and thread
// of its own, while the exporter copies the other tables into the output:
// SQLite writes a file from one thread at a time, so this is how a second
// core stores rows too. The exporter then moves the rows into the output in
// one statement, which SQLite carries out record by record without decoding.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "jet/status.h"
#include "jet/table_cursor.h"
#include "row_feed.h"

namespace cli {

class SideTableCopy {
  public:
    struct Setup {
        std::string path;     // a new empty file of its own, removed with this object
        std::string pragmas;  // the settings of the output connection
        std::string createTable;
        std::string target;  // the table's SQLite name, quoted
        std::vector<size_t> columns;
        std::string feedName;
        uint64_t progressEvery = 0;
        RowFeed::Progress progress;  // called on the copying thread
    };
    struct Outcome {
        jet::Status status;  // ok when every row is in the file
        int sqliteCode = 0;  // SQLite's code when it failed, else 0
        bool stopped = false;
        uint64_t rows = 0;
    };

    // Starts the copy of every row of `cursor`, which belongs to the copying
    // thread from now on (it must be one that may be read beside its
    // database's other cursors: see TableCursor::twin()).
    SideTableCopy(Setup setup, std::unique_ptr<jet::TableCursor> cursor);
    // Stops a copy still running, waits for it and removes the file.
    ~SideTableCopy();
    SideTableCopy(const SideTableCopy&) = delete;
    SideTableCopy& operator=(const SideTableCopy&) = delete;

    // Waits for the copy to end; the file is closed then and complete when
    // the outcome is ok.
    const Outcome& wait();
    const std::string& path() const { return setup_.path; }

  private:
    void run();

    Setup setup_;
    std::unique_ptr<jet::TableCursor> cursor_;
    std::atomic<bool> cancelled_{false};
    Outcome outcome_;
    std::thread thread_;
};

}  // namespace cli
