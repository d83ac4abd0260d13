// libFuzzer target: any text given to the query decomposer, the step that
// cuts a statement into the stored query rows before anything is written.
// It must answer with rows or a refusal, never crash or throw; and rows it
// gives must come with a rebuilt text that decomposes again into the same
// rows (what is saved reads back as what was meant).
#include <cstddef>
#include <cstdint>
#include <string>

#include "write/query_decomposer.h"

namespace {

bool sameRows(const std::vector<jet::QueryRow>& a, const std::vector<jet::QueryRow>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].attribute != b[i].attribute || a[i].expression != b[i].expression ||
            a[i].name1 != b[i].name1 || a[i].name2 != b[i].name2 || a[i].flag != b[i].flag ||
            a[i].lvExtra != b[i].lvExtra) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const bool jet3 : {false, true}) {
        auto first = jet::write::decomposeSelect(text, jet3);
        if (!first) {
            (void)first.status().message().size();
            continue;
        }
        auto again = jet::write::decomposeSelect(first->rebuiltSql, jet3);
        if (!again || !sameRows(first->rows, again->rows)) {
            __builtin_trap();  // the saved text would not read back as these rows
        }
    }
    return 0;
}
