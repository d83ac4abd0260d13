#include "queries/query_elements.h"

#include <algorithm>

namespace jet {
namespace {

// Storage order is not key order (Access appends rows as a query is edited),
// so rows are sorted by attribute and then by the big-endian order counter.
// A Null order sorts first; rows that compare equal keep their stored order.
bool keyLess(const QueryRow& a, const QueryRow& b) {
    if (a.attribute != b.attribute) {
        return a.attribute < b.attribute;
    }
    if (!a.order || !b.order) {
        return !a.order && b.order;
    }
    return std::lexicographical_compare(a.order->begin(), a.order->end(), b.order->begin(),
                                        b.order->end());
}

}  // namespace

QueryElements::QueryElements(const std::vector<QueryRow>& rows) : sorted_(rows) {
    std::stable_sort(sorted_.begin(), sorted_.end(), keyLess);
}

std::vector<const QueryRow*> QueryElements::rows(int attr) const {
    std::vector<const QueryRow*> out;
    for (const QueryRow& row : sorted_) {
        if (row.attribute == attr) {
            out.push_back(&row);
        }
    }
    return out;
}

const QueryRow* QueryElements::first(int attr) const {
    for (const QueryRow& row : sorted_) {
        if (row.attribute == attr) {
            return &row;
        }
    }
    return nullptr;
}

int32_t QueryElements::typeCode() const {
    const QueryRow* row = first(kAttrType);
    return row && row->flag ? *row->flag : 1;
}

int32_t QueryElements::options() const {
    const QueryRow* row = first(kAttrOptions);
    return row && row->flag ? *row->flag : 0;
}

std::string QueryElements::topValue() const {
    const QueryRow* row = first(kAttrOptions);
    return row ? textOf(row->name1) : std::string();
}

std::string textOf(const std::optional<std::string>& value) {
    return value ? *value : std::string();
}

bool hasText(const std::optional<std::string>& value) {
    return value && !value->empty();
}

}  // namespace jet
