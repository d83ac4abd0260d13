#include "row_writer.h"

#include <cerrno>
#include <charconv>
#include <cmath>

#include "jet/sql_value_text.h"
#include "jet/value_format.h"
#include "output_failure.h"
#include "text_scan.h"

namespace cli {
namespace {

constexpr size_t kFlushAt = 1 << 16;
constexpr const char* kErrorText = "#Error";

void appendInt(int64_t i, std::string& out) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, i);
    out.append(buf, r.ptr);
}

bool isNumber(jet::ValueType t) {
    using T = jet::ValueType;
    return t == T::Byte || t == T::Integer || t == T::Long || t == T::BigInt || t == T::Single ||
           t == T::Double;
}

}  // namespace

void appendPlainValue(const jet::ValueRef& v, std::string& out) {
    using T = jet::ValueType;
    switch (v.type) {
        case T::Null:
            break;
        case T::Boolean:
            out.append(v.i ? "true" : "false");
            break;
        case T::Byte:
        case T::Integer:
        case T::Long:
        case T::BigInt:
            appendInt(v.i, out);
            break;
        case T::Currency:
            jet::appendCurrency(v.i, out);
            break;
        case T::Single:
            jet::appendSingle(static_cast<float>(v.d), out);
            break;
        case T::Double:
            jet::appendDouble(v.d, out);
            break;
        case T::DateTime:
            jet::appendDateTimeIso(v.d, out);
            break;
        case T::Text:
            out.append(v.data);
            break;
        case T::Binary:
        case T::Unsupported:
            out.append(jet::hexString(v.data));
            break;
        case T::Guid:
            out.append(jet::formatGuid(v.data));
            break;
        case T::Decimal:
            out.append(v.dec.toString());
            break;
    }
}

RowWriter::RowWriter(std::FILE* out, ExportFormat format, std::vector<std::string> fieldNames,
                     CsvOptions csv)
    : out_(out),
      format_(format),
      csv_(std::move(csv)),
      plainFormsOnly_(csv_.isDefault()),
      names_(std::move(fieldNames)) {
    buffer_.reserve(kFlushAt * 2);
    if (format_ == ExportFormat::Csv) {
        if (csv_.bom)
            buffer_.append("\xEF\xBB\xBF");
        for (size_t i = 0; i < names_.size() && csv_.header; ++i) {
            if (i)
                buffer_.push_back(csv_.delimiter);
            csvText(names_[i]);
        }
        if (csv_.header)
            buffer_.append("\r\n");
    } else {
        for (const std::string& n : names_) {
            std::string key;
            std::swap(key, buffer_);
            jsonString(n);
            std::swap(key, buffer_);
            jsonKeys_.push_back(key + ":");
        }
    }
}

RowWriter::~RowWriter() {
    flush();
}

void RowWriter::beginRow() {
    column_ = 0;
    if (format_ == ExportFormat::JsonLines)
        buffer_.push_back('{');
}

void RowWriter::separate() {
    if (format_ == ExportFormat::Csv) {
        if (column_)
            buffer_.push_back(csv_.delimiter);
    } else {
        if (column_)
            buffer_.push_back(',');
        buffer_.append(jsonKeys_[column_ < jsonKeys_.size() ? column_ : 0]);
    }
    ++column_;
}

void RowWriter::value(const jet::ValueRef& v) {
    separate();
    if (jet::isErrorValue(v)) {
        ++errorValues_;
        buffer_.append(format_ == ExportFormat::Csv ? kErrorText : "{\"error\":\"#Error\"}");
    } else if (format_ == ExportFormat::Csv) {
        csvValue(v);
    } else {
        jsonValue(v);
    }
}

void RowWriter::complexValue(const jet::ComplexCell* cell, const std::vector<uint64_t>& sizes) {
    if (!cell || format_ == ExportFormat::Csv) {
        jet::ValueRef text;
        if (cell) {
            text.type = jet::ValueType::Text;
            text.data = cell->text;
        }
        value(text);
        return;
    }
    separate();
    jsonComplex(*cell, sizes);
}

void RowWriter::jsonComplex(const jet::ComplexCell& cell, const std::vector<uint64_t>& sizes) {
    if (cell.kind == jet::ComplexKind::VersionHistory) {
        jsonString(cell.text);
        return;
    }
    buffer_.push_back('[');
    for (size_t i = 0; i < cell.attachments.size(); ++i) {
        const jet::Attachment& a = cell.attachments[i];
        buffer_.append(i ? ",{\"name\":" : "{\"name\":");
        jsonString(a.name);
        buffer_.append(",\"type\":");
        jsonString(a.type);
        buffer_.append(",\"size\":");
        if (i < sizes.size())
            appendInt(static_cast<int64_t>(sizes[i]), buffer_);
        else
            buffer_.append("null");
        buffer_.push_back('}');
    }
    for (size_t i = 0; i < cell.values.size(); ++i) {
        if (i)
            buffer_.push_back(',');
        jsonValue(cell.values[i].ref());
    }
    buffer_.push_back(']');
}

void RowWriter::endRow() {
    buffer_.append(format_ == ExportFormat::Csv ? "\r\n" : "}\n");
    if (buffer_.size() >= kFlushAt)
        flush();
}

bool RowWriter::flush() {
    const auto failed = [this] {
        if (ok_)
            writeErrno_ = errno;
        ok_ = false;
    };
    if (!buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), out_) != buffer_.size())
        failed();
    buffer_.clear();
    if (std::fflush(out_) != 0)
        failed();
    return ok_;
}

std::string RowWriter::failure() const {
    return outputFailure(writeErrno_);
}

void RowWriter::csvValue(const jet::ValueRef& v) {
    if (v.type == jet::ValueType::Text) {
        // A text that reads like the Null marker is quoted to stay a text.
        if (!csv_.nullText.empty() && v.data == csv_.nullText) {
            buffer_.push_back('"');
            for (char c : v.data) {
                if (c == '"')
                    buffer_.push_back('"');
                buffer_.push_back(c);
            }
            buffer_.push_back('"');
            return;
        }
        csvText(v.data);
        return;
    }
    if (v.type == jet::ValueType::Null) {
        csvText(csv_.nullText);
        return;
    }
    const size_t start = buffer_.size();
    if (v.type == jet::ValueType::DateTime && !csv_.dateFormat.empty())
        buffer_.append(formatDate(v.d, csv_.dateFormat));
    else
        appendPlainValue(v, buffer_);
    // Plain forms never hold a comma, but a date format or another
    // delimiter ('.', ':', ...) can meet one.
    if (!plainFormsOnly_)
        quoteFrom(start);
}

void RowWriter::csvText(std::string_view text) {
    const size_t start = buffer_.size();
    buffer_.append(text);
    quoteFrom(start);
}

// Quotes the field that starts at `start` in the buffer when it holds the
// delimiter, a quote or a line break.
void RowWriter::quoteFrom(size_t start) {
    if (!holdsCsvSpecial(std::string_view(buffer_).substr(start), csv_.delimiter))
        return;
    const std::string field = buffer_.substr(start);
    buffer_.resize(start);
    buffer_.push_back('"');
    for (char c : field) {
        if (c == '"')
            buffer_.push_back('"');
        buffer_.push_back(c);
    }
    buffer_.push_back('"');
}

void RowWriter::jsonValue(const jet::ValueRef& v) {
    using T = jet::ValueType;
    if (v.type == T::Null) {
        buffer_.append("null");
    } else if (v.type == T::Boolean) {
        buffer_.append(v.i ? "true" : "false");
    } else if (v.type == T::Text) {
        jsonString(v.data);
    } else if (isNumber(v.type) &&
               ((v.type != T::Double && v.type != T::Single) || std::isfinite(v.d))) {
        appendPlainValue(v, buffer_);
    } else {
        std::string plain;
        appendPlainValue(v, plain);
        jsonString(plain);
    }
}

void RowWriter::jsonString(std::string_view text) {
    static const char* hex = "0123456789abcdef";
    buffer_.push_back('"');
    size_t from = 0;
    while (from < text.size()) {
        const size_t at = findJsonEscape(text, from);
        buffer_.append(text.substr(from, at - from));
        if (at == text.size())
            break;
        from = at + 1;
        const auto c = static_cast<unsigned char>(text[at]);
        switch (c) {
            case '"':
                buffer_.append("\\\"");
                break;
            case '\\':
                buffer_.append("\\\\");
                break;
            case '\n':
                buffer_.append("\\n");
                break;
            case '\r':
                buffer_.append("\\r");
                break;
            case '\t':
                buffer_.append("\\t");
                break;
            default:
                buffer_.append("\\u00");
                buffer_.push_back(hex[c >> 4]);
                buffer_.push_back(hex[c & 15]);
        }
    }
    buffer_.push_back('"');
}

}  // namespace cli
