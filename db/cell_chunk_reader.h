// CellChunkReader: reads a record set's rows on worker threads and hands them
// over in chunks of sheet cells (texts, and typed values for sorting), so
// that decoding the file and filling the sheet run side by side. A table read
// straight from the file is shared out by its data pages: each worker reads
// whole parts of consecutive pages and the chunks are handed over in page
// order, which is the table's stored order. Anything else goes on one worker
// in chunks of kChunkRows. While the reader lives, the record set belongs to
// its workers; destroying the reader stops them and gives the record set back.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "db/cell_payloads.h"
#include "jet/recordset.h"
#include "sheet/cell_input.h"

namespace db {

// Rows of cells, row after row; each text points into the chunk's own bytes.
struct CellChunk {
    std::size_t rows = 0;
    std::vector<sheet::CellInput> cells;  // rows * the record set's field count
    std::string bytes;
    std::vector<std::size_t> offsets;  // of each cell's text in bytes while filling
};

class CellChunkReader {
  public:
    static constexpr std::size_t kChunkRows = 2048;
    // Data pages a worker reads at a time when a table is shared out: one
    // read of the scanner's, about a chunk of rows of a typical table.
    static constexpr std::size_t kPartPages = 32;

    // Two where the machine has two cores or more: the sheet's own thread
    // spends much of a load waiting, so a third thread would find no core.
    static std::size_t defaultWorkers();

    // `records` must stand on its first row (next() returned true).
    // `payloads` makes the payloads of binary and attachment cells; a record
    // set with binary fields is read on one worker, since which values the
    // payloads keep whole depends on the order they come in. A shared-out
    // table is read in parts of `partPages` data pages.
    CellChunkReader(jet::Recordset& records, CellPayloads payloads,
                    std::size_t workers = defaultWorkers(), std::size_t partPages = kPartPages);
    ~CellChunkReader();
    CellChunkReader(const CellChunkReader&) = delete;
    CellChunkReader& operator=(const CellChunkReader&) = delete;

    // The next chunk, valid until the next call; nullptr after the last.
    // Then status() tells whether the rows ended or reading failed.
    const CellChunk* next();
    const jet::Status& status() const { return status_; }
    // How many workers read the rows (1 unless the table was shared out).
    std::size_t workers() const { return threads_.size(); }

  private:
    // One worker's loop: takes parts in turn until none is left.
    void run(jet::Recordset& records, const std::stop_token& stop);
    // Reads the rows of `part` into `chunk`; `more` says whether the record
    // set stands on a row after them.
    void readPart(jet::Recordset& records, std::size_t part, CellChunk& chunk, bool& more);
    void fill(jet::Recordset& records, CellChunk& chunk, std::size_t maxRows, bool& more);
    void addCell(jet::Recordset& records, CellChunk& chunk, std::size_t field,
                 const jet::ValueRef& v);
    bool takePart(const std::stop_token& stop, std::size_t& part, CellChunk*& chunk);
    // `chunk` holds part `part`; a part after which nothing is read (the
    // last one, or one that failed) ends the rows with `status`.
    void publish(std::size_t part, CellChunk* chunk, bool last, const jet::Status& status);
    bool shared() const { return pages_ > 0; }

    jet::Recordset& records_;
    const std::size_t columns_;
    CellPayloads payloads_;  // used by the workers only
    std::size_t pages_ = 0;  // the table's data pages when shared out, else 0
    std::size_t partPages_;
    std::size_t parts_ = 0;  // and the parts of partPages_ they make
    std::vector<std::unique_ptr<jet::Recordset>> twins_;

    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::vector<CellChunk> chunks_;
    std::deque<CellChunk*> free_;
    std::map<std::size_t, CellChunk*> ready_;  // read parts, by part
    std::size_t nextPart_ = 0;                 // the next part a worker takes
    std::size_t wanted_ = 0;                   // the next part next() hands over
    std::size_t endPart_ = SIZE_MAX;           // no part from here on is read
    CellChunk* handedOut_ = nullptr;
    jet::Status status_;
    std::vector<std::jthread> threads_;  // last: started after everything they use exists
};

}  // namespace db
