#include "row_formatter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "jet/sql_value_text.h"
#include "jet/value_format.h"
#include "text_scan.h"

namespace cli {
namespace {

constexpr std::string_view kErrorText = "#Error";
constexpr std::string_view kJsonErrorText = "{\"error\":\"#Error\"}";

bool isNumber(jet::ValueType t) {
    using T = jet::ValueType;
    return t == T::Byte || t == T::Integer || t == T::Long || t == T::BigInt || t == T::Single ||
           t == T::Double;
}

void putInt(int64_t i, TextBuffer& out) {
    constexpr size_t kMaxDigits = 24;
    char* p = out.room(kMaxDigits);
    out.advanceTo(std::to_chars(p, p + kMaxDigits, i).ptr);
}

// The plain text form of `v`, written straight into `out`.
void putPlainValue(const jet::ValueRef& v, TextBuffer& out) {
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
            putInt(v.i, out);
            break;
        case T::Currency:
            out.advanceTo(jet::writeCurrency(out.room(jet::kMaxNumberText), v.i));
            break;
        case T::Single:
            out.advanceTo(jet::writeSingle(out.room(jet::kMaxNumberText), static_cast<float>(v.d)));
            break;
        case T::Double:
            out.advanceTo(jet::writeDouble(out.room(jet::kMaxNumberText), v.d));
            break;
        case T::DateTime:
            out.advanceTo(jet::writeDateTimeIso(out.room(jet::kMaxNumberText), v.d));
            break;
        case T::Text:
            out.append(v.data);
            break;
        case T::Binary:
        case T::Unsupported:
            out.advanceTo(jet::writeHex(out.room(v.data.size() * 2), v.data));
            break;
        case T::Guid:
            out.append(jet::formatGuid(v.data));
            break;
        case T::Decimal:
            out.append(v.dec.toString());
            break;
    }
}

}  // namespace

void appendPlainValue(const jet::ValueRef& v, std::string& out) {
    TextBuffer text;
    putPlainValue(v, text);
    out.append(text.view());
}

RowFormatter::RowFormatter(ExportFormat format, const std::vector<std::string>& fieldNames,
                           CsvOptions csv)
    : format_(format), csv_(std::move(csv)), plainFormsOnly_(csv_.isDefault()) {
    if (format_ != ExportFormat::JsonLines)
        return;
    for (const std::string& n : fieldNames) {
        text_.push_back(',');
        jsonString(n);
        text_.push_back(':');
        jsonKeys_.emplace_back(text_.view());
        text_.clear();
    }
}

RowFormatter RowFormatter::blank() const {
    RowFormatter copy(format_, {}, csv_);
    copy.jsonKeys_ = jsonKeys_;
    return copy;
}

void RowFormatter::title(const std::vector<std::string>& fieldNames) {
    if (format_ != ExportFormat::Csv)
        return;
    if (csv_.bom)
        text_.append("\xEF\xBB\xBF");
    if (!csv_.header)
        return;
    for (size_t i = 0; i < fieldNames.size(); ++i) {
        if (i)
            text_.push_back(csv_.delimiter);
        csvText(fieldNames[i]);
    }
    text_.append("\r\n");
}

void RowFormatter::beginRow() {
    column_ = 0;
    if (format_ == ExportFormat::JsonLines)
        text_.push_back('{');
}

void RowFormatter::separate() {
    if (format_ == ExportFormat::Csv) {
        if (column_)
            text_.push_back(csv_.delimiter);
    } else {
        const std::string_view key = jsonKeys_[column_ < jsonKeys_.size() ? column_ : 0];
        text_.append(column_ ? key : key.substr(1));
    }
    ++column_;
}

void RowFormatter::value(const jet::ValueRef& v) {
    separate();
    if (v.type == jet::ValueType::Unsupported && jet::isErrorValue(v)) {
        ++errorValues_;
        text_.append(format_ == ExportFormat::Csv ? kErrorText : kJsonErrorText);
    } else if (format_ == ExportFormat::Csv) {
        csvValue(v);
    } else {
        jsonValue(v);
    }
}

void RowFormatter::complexValue(const jet::ComplexCell* cell, const std::vector<uint64_t>& sizes) {
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

void RowFormatter::jsonComplex(const jet::ComplexCell& cell, const std::vector<uint64_t>& sizes) {
    if (cell.kind == jet::ComplexKind::VersionHistory) {
        jsonString(cell.text);
        return;
    }
    text_.push_back('[');
    for (size_t i = 0; i < cell.attachments.size(); ++i) {
        const jet::Attachment& a = cell.attachments[i];
        text_.append(i ? ",{\"name\":" : "{\"name\":");
        jsonString(a.name);
        text_.append(",\"type\":");
        jsonString(a.type);
        text_.append(",\"size\":");
        if (i < sizes.size())
            putInt(static_cast<int64_t>(sizes[i]), text_);
        else
            text_.append("null");
        text_.push_back('}');
    }
    for (size_t i = 0; i < cell.values.size(); ++i) {
        if (i)
            text_.push_back(',');
        jsonValue(cell.values[i].ref());
    }
    text_.push_back(']');
}

void RowFormatter::endRow() {
    text_.append(format_ == ExportFormat::Csv ? "\r\n" : "}\n");
}

void RowFormatter::csvValue(const jet::ValueRef& v) {
    if (v.type == jet::ValueType::Text) {
        // A text that reads like the Null marker is quoted to stay a text.
        if (!csv_.nullText.empty() && v.data == csv_.nullText)
            csvQuoted(v.data);
        else
            csvText(v.data);
        return;
    }
    if (v.type == jet::ValueType::Null) {
        csvText(csv_.nullText);
        return;
    }
    const size_t start = text_.size();
    if (v.type == jet::ValueType::DateTime && !csv_.dateFormat.empty())
        text_.append(formatDate(v.d, csv_.dateFormat));
    else
        putPlainValue(v, text_);
    // Plain forms never hold a comma, but a date format or another
    // delimiter ('.', ':', ...) can meet one.
    if (!plainFormsOnly_)
        quoteFrom(start);
}

void RowFormatter::csvText(std::string_view text) {
    if (holdsCsvSpecial(text, csv_.delimiter))
        csvQuoted(text);
    else
        text_.append(text);
}

void RowFormatter::csvQuoted(std::string_view text) {
    text_.push_back('"');
    for (size_t from = 0; from < text.size();) {
        const size_t quote = std::min(text.find('"', from), text.size());
        text_.append(text.substr(from, quote - from));
        if (quote == text.size())
            break;
        text_.append("\"\"");
        from = quote + 1;
    }
    text_.push_back('"');
}

// Quotes the field that starts at `start` in the text when it holds the
// delimiter, a quote or a line break.
void RowFormatter::quoteFrom(size_t start) {
    const std::string_view field = text_.view().substr(start);
    if (!holdsCsvSpecial(field, csv_.delimiter))
        return;
    const std::string copy(field);
    text_.truncate(start);
    csvQuoted(copy);
}

void RowFormatter::jsonValue(const jet::ValueRef& v) {
    using T = jet::ValueType;
    if (v.type == T::Null) {
        text_.append("null");
    } else if (v.type == T::Boolean) {
        text_.append(v.i ? "true" : "false");
    } else if (v.type == T::Text) {
        jsonString(v.data);
    } else if (isNumber(v.type) &&
               ((v.type != T::Double && v.type != T::Single) || std::isfinite(v.d))) {
        putPlainValue(v, text_);
    } else {
        // The other plain forms (dates, currency, hex, GUIDs, decimals, a
        // number that is not finite) are written by our own formatters from
        // digits, letters and punctuation that JSON never escapes.
        text_.push_back('"');
        putPlainValue(v, text_);
        text_.push_back('"');
    }
}

void RowFormatter::jsonString(std::string_view text) {
    static const char* hex = "0123456789abcdef";
    size_t at = findJsonEscape(text, 0);
    if (at == text.size()) {
        char* p = text_.room(text.size() + 2);
        *p++ = '"';
        if (!text.empty())
            std::memcpy(p, text.data(), text.size());
        p += text.size();
        *p++ = '"';
        text_.advanceTo(p);
        return;
    }
    text_.push_back('"');
    size_t from = 0;
    while (true) {
        text_.append(text.substr(from, at - from));
        if (at == text.size())
            break;
        from = at + 1;
        const auto c = static_cast<unsigned char>(text[at]);
        switch (c) {
            case '"':
                text_.append("\\\"");
                break;
            case '\\':
                text_.append("\\\\");
                break;
            case '\n':
                text_.append("\\n");
                break;
            case '\r':
                text_.append("\\r");
                break;
            case '\t':
                text_.append("\\t");
                break;
            default: {
                const char escape[] = {'\\', 'u', '0', '0', hex[c >> 4], hex[c & 15]};
                text_.append(std::string_view(escape, sizeof escape));
            }
        }
        at = findJsonEscape(text, from);
    }
    text_.push_back('"');
}

}  // namespace cli
