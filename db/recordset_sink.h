// What a data control hands its record set to on refresh: the bound sheet.
#pragma once

#include "jet/recordset.h"
#include "jet/status.h"

namespace db {

class RecordsetSink {
  public:
    virtual ~RecordsetSink() = default;

    struct Outcome {
        // Why the rows could not all be shown; ok when they were.
        jet::Status status;
        // Whether the sink's earlier contents were replaced. False when the
        // record set failed before its first row: the sink is unchanged.
        bool replaced = false;
        // Whether the user stopped the load: the sink holds the rows read
        // until then, and status is ok.
        bool stopped = false;
    };

    // Takes every row of `records`. `expectedRows` is an estimate for
    // progress (0 when unknown).
    virtual Outcome load(jet::Recordset& records, uint64_t expectedRows) = 0;
};

}  // namespace db
