// What a salvaging read left out: for each table the pages it could not read,
// the row slots whose rows failed a check and the long values it could not
// follow. Filled by the cursors of a Database opened with ReadMode::Salvage;
// reading the same page or row again does not count it twice.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace jet {

// How a Database treats damage to a table's rows.
enum class ReadMode {
    Strict,   // a page or row that cannot be read is the cursor's error
    Salvage,  // it is skipped and recorded in the DamageReport; the read goes on
};

struct TableDamage {
    struct Place {
        uint32_t page = 0;
        uint32_t slot = 0;   // row slot on the page; unused for whole pages
        std::string column;  // long values: the column
        bool operator<(const Place& o) const {
            return page != o.page   ? page < o.page
                   : slot != o.slot ? slot < o.slot
                                    : column < o.column;
        }
    };
    std::string mapProblem;                   // why the list of its pages could not be read
    std::map<Place, std::string> pages;       // unreadable pages and why
    std::map<Place, std::string> rows;        // skipped row slots and why
    std::map<Place, std::string> longValues;  // long values read as Null and why
    bool empty() const {
        return mapProblem.empty() && pages.empty() && rows.empty() && longValues.empty();
    }
};

class DamageReport {
  public:
    void mapUnreadable(const std::string& table, const std::string& why);
    void page(const std::string& table, uint32_t page, const std::string& why);
    void row(const std::string& table, uint32_t page, uint32_t slot, const std::string& why);
    void longValue(const std::string& table, uint32_t page, uint32_t slot,
                   const std::string& column, const std::string& why);

    bool empty() const { return tables_.empty(); }
    // Per table, in name order.
    const std::map<std::string, TableDamage>& tables() const { return tables_; }
    // One line a finding, for people ("Table 'Orders': page 12 skipped: ...").
    std::vector<std::string> lines() const;
    // The counts in one line per damaged table ("3 pages, 2 row slots, 1 long value").
    std::vector<std::string> summary() const;

  private:
    std::map<std::string, TableDamage> tables_;
};

// "12, 14 and 20 to 25": page numbers, ascending, runs shortened.
std::string describePages(const std::vector<uint32_t>& ascendingPages);

}  // namespace jet
