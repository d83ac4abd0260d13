// The CSV options of `export` and `run`: field delimiter, byte-order mark,
// the text written for Null, the date form and whether a title line is
// written. Defaults give RFC 4180 with ISO dates.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace cli {

struct CsvOptions {
    char delimiter = ',';
    bool bom = false;          // UTF-8 byte-order mark first, for spreadsheet programs
    std::string nullText{};    // written for Null; a text equal to it is quoted
    std::string dateFormat{};  // strftime-style; empty: YYYY-MM-DDTHH:MM:SS
    bool header = true;

    bool isDefault() const;
};

// When args[i] is a CSV option, reads it (and its value, advancing `i`) into
// `o` and returns true; `error` is set when its value is missing or wrong.
// False for any other argument.
bool takeCsvOption(const std::vector<std::string>& args, size_t& i, CsvOptions& o,
                   std::string& error);

// `format` applied to one Access date, rounded to the second: %Y %m %d %H
// %M %S and the other strftime conversions, in the C locale.
std::string formatDate(double accessDate, const std::string& format);

// The option lines for --help.
const char* csvOptionsHelp();

}  // namespace cli
