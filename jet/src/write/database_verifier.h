// Re-reads a database file the writer produced, from scratch, and checks it
// against what was planned: the file's size, the header page and every
// changed or added page as planned, every system row decodable, all indexes
// of MSysObjects / MSysQueries / MSysACEs walked and matching their rows key
// for key, row counts moved by the planned amounts, new pages taken out of
// the free map, the new query rebuilt to the expected text and every other
// query unchanged. Pages the change did not touch are copied, not compared,
// so a save costs about one copy of the file.
#pragma once

#include <array>
#include <map>
#include <set>
#include <string>

#include "jet/status.h"
#include "write/page_image.h"

namespace jet::write {

struct VerifyPlan {
    std::string createdName;                              // empty when nothing was created
    std::string createdSql;                               // the text the new query must rebuild to
    std::string deletedName;                              // empty when nothing was deleted
    std::map<std::string, std::string> untouchedQueries;  // name -> SQL before the change
    std::array<int, 3> rowDeltas{};                       // MSysObjects, MSysQueries, MSysACEs
    std::array<uint32_t, 3> storedRowCounts{};
};

// `planned` is the image the change produced (reading the original file).
Status verifyDatabase(const std::string& path, const std::string& password,
                      const PageImage& planned, const VerifyPlan& plan);

}  // namespace jet::write
