#include "row_writer.h"

#include <cerrno>

#include "output_failure.h"

namespace cli {
namespace {

constexpr size_t kFlushAt = 1 << 16;

}  // namespace

RowWriter::RowWriter(std::FILE* out, ExportFormat format, std::vector<std::string> fieldNames,
                     CsvOptions csv)
    : out_(out), formatter_(format, fieldNames, std::move(csv)) {
    formatter_.text().room(kFlushAt * 2);
    formatter_.title(fieldNames);
}

RowWriter::~RowWriter() {
    flush();
}

void RowWriter::endRow() {
    formatter_.endRow();
    if (formatter_.text().size() >= kFlushAt)
        flush();
}

void RowWriter::failed() {
    if (ok_)
        writeErrno_ = errno;
    ok_ = false;
}

bool RowWriter::flush() {
    TextBuffer& text = formatter_.text();
    if (!text.empty() && std::fwrite(text.view().data(), 1, text.size(), out_) != text.size())
        failed();
    text.clear();
    if (std::fflush(out_) != 0)
        failed();
    return ok_;
}

bool RowWriter::write(std::string_view text, uint64_t errorValues) {
    otherErrorValues_ += errorValues;
    TextBuffer& own = formatter_.text();
    if (!own.empty() && std::fwrite(own.view().data(), 1, own.size(), out_) != own.size())
        failed();
    own.clear();
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), out_) != text.size())
        failed();
    return ok_;
}

RowFormatter RowWriter::formatter() const {
    return formatter_.blank();
}

std::string RowWriter::failure() const {
    return outputFailure(writeErrno_);
}

}  // namespace cli
