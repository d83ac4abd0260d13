#include "jet/damage_report.h"

namespace jet {
namespace {

std::string plural(size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

void DamageReport::mapUnreadable(const std::string& table, const std::string& why) {
    tables_[table].mapProblem = why;
}

void DamageReport::page(const std::string& table, uint32_t page, const std::string& why) {
    tables_[table].pages.emplace(TableDamage::Place{page, 0, {}}, why);
}

void DamageReport::row(const std::string& table, uint32_t page, uint32_t slot,
                       const std::string& why) {
    tables_[table].rows.emplace(TableDamage::Place{page, slot, {}}, why);
}

void DamageReport::longValue(const std::string& table, uint32_t page, uint32_t slot,
                             const std::string& column, const std::string& why) {
    tables_[table].longValues.emplace(TableDamage::Place{page, slot, column}, why);
}

std::vector<std::string> DamageReport::lines() const {
    std::vector<std::string> out;
    for (const auto& [name, damage] : tables_) {
        const std::string table = "Table '" + name + "': ";
        if (!damage.mapProblem.empty())
            out.push_back(table + "the list of its pages cannot be read (" + damage.mapProblem +
                          "); its rows were looked for on every page of the file.");
        for (const auto& [place, why] : damage.pages)
            out.push_back(table + "page " + std::to_string(place.page) + " skipped: " + why);
        for (const auto& [place, why] : damage.rows)
            out.push_back(table + "row " + std::to_string(place.slot) + " of page " +
                          std::to_string(place.page) + " skipped: " + why);
        for (const auto& [place, why] : damage.longValues)
            out.push_back(table + "column '" + place.column + "' of row " +
                          std::to_string(place.slot) + " on page " + std::to_string(place.page) +
                          " read as Null: " + why);
    }
    return out;
}

std::vector<std::string> DamageReport::summary() const {
    std::vector<std::string> out;
    for (const auto& [name, damage] : tables_) {
        std::string line = "Table '" + name + "': skipped " +
                           plural(damage.pages.size(), "page", "pages") + ", " +
                           plural(damage.rows.size(), "row slot", "row slots") + ", " +
                           plural(damage.longValues.size(), "long value", "long values");
        if (!damage.mapProblem.empty())
            line += "; its page list was unreadable";
        out.push_back(line + ".");
    }
    return out;
}

std::string describePages(const std::vector<uint32_t>& pages) {
    std::vector<std::string> runs;
    for (size_t i = 0; i < pages.size();) {
        size_t j = i;
        while (j + 1 < pages.size() && pages[j + 1] == pages[j] + 1)
            ++j;
        runs.push_back(j == i ? std::to_string(pages[i])
                              : std::to_string(pages[i]) + " to " + std::to_string(pages[j]));
        i = j + 1;
    }
    std::string out;
    for (size_t k = 0; k < runs.size(); ++k) {
        if (k)
            out += k + 1 == runs.size() ? " and " : ", ";
        out += runs[k];
    }
    return out;
}

}  // namespace jet
