// libFuzzer target: any text given to the query decomposer, the step that
// cuts a statement into the stored query rows before anything is written.
// It must answer with rows or a refusal, never crash or throw; and rows it
// gives must come with a rebuilt text that decomposes again into the same
// rows, in any order (what is saved reads back as what was meant).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "write/query_decomposer.h"

namespace {

// The rows as a sorted list: the rebuilt text may name the inputs in
// another order (cross-joined tables first), which stores the same query.
std::vector<std::string> rowTexts(const std::vector<jet::QueryRow>& rows) {
    std::vector<std::string> out;
    for (const jet::QueryRow& row : rows) {
        out.push_back(std::to_string(row.attribute) + '\x1f' + row.name1.value_or("\x1e") + '\x1f' +
                      row.name2.value_or("\x1e") + '\x1f' + row.expression.value_or("\x1e") +
                      '\x1f' + std::to_string(row.flag.value_or(-1)) + '\x1f' +
                      std::to_string(row.lvExtra.value_or(-1)));
    }
    std::sort(out.begin(), out.end());
    return out;
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
        if (!again || rowTexts(first->rows) != rowTexts(again->rows)) {
            __builtin_trap();  // the saved text would not read back as these rows
        }
    }
    return 0;
}
