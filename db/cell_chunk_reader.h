// CellChunkReader: reads a record set's rows on a worker thread and hands them
// over in chunks of sheet cells (texts, and typed values for sorting), so
// that decoding the file and filling the sheet run side by side. While the
// reader lives, the record set belongs to its worker; destroying the reader
// stops the worker and gives the record set back.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
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

    // `records` must stand on its first row (next() returned true).
    // `payloads` makes the payloads of binary and attachment cells.
    CellChunkReader(jet::Recordset& records, CellPayloads payloads);
    ~CellChunkReader();
    CellChunkReader(const CellChunkReader&) = delete;
    CellChunkReader& operator=(const CellChunkReader&) = delete;

    // The next chunk, valid until the next call; nullptr after the last.
    // Then status() tells whether the rows ended or reading failed.
    const CellChunk* next();
    const jet::Status& status() const { return status_; }

  private:
    void run(std::stop_token stop);
    void fill(CellChunk& chunk, bool& more);
    void addCell(CellChunk& chunk, std::size_t field, const jet::Value& v);
    CellChunk* takeFree(const std::stop_token& stop);
    void publish(CellChunk* chunk, bool last);

    jet::Recordset& records_;
    const std::size_t columns_;
    CellPayloads payloads_;  // used by the worker only

    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::vector<CellChunk> chunks_;
    std::deque<CellChunk*> free_;
    std::deque<CellChunk*> full_;
    CellChunk* handedOut_ = nullptr;
    bool finished_ = false;
    jet::Status status_;
    std::jthread worker_;  // last: started after everything it uses exists
};

}  // namespace db
