#include "app/json_lines_file.h"

#include <string>
#include <string_view>
#include <vector>

#include "app/sheet_export_columns.h"

namespace app {

namespace {

// A JSON string (RFC 8259): quotes, backslashes and control characters
// escaped; every other character, Unicode included, goes as its UTF-8.
// Runs of plain characters are copied whole.
void appendJsonString(std::string_view text, QByteArray& out) {
    static const char kHex[] = "0123456789abcdef";
    out.append('"');
    std::size_t plain = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x20 && byte != '"' && byte != '\\') {
            continue;
        }
        out.append(text.data() + plain, qsizetype(i - plain));
        plain = i + 1;
        switch (byte) {
            case '"':
                out.append("\\\"");
                break;
            case '\\':
                out.append("\\\\");
                break;
            case '\n':
                out.append("\\n");
                break;
            case '\r':
                out.append("\\r");
                break;
            case '\t':
                out.append("\\t");
                break;
            default:
                out.append("\\u00");
                out.append(kHex[byte >> 4]);
                out.append(kHex[byte & 15]);
        }
    }
    out.append(text.data() + plain, qsizetype(text.size() - plain));
    out.append('"');
}

void appendCell(const SheetExportColumns::Cell& cell, QByteArray& out) {
    using Cell = SheetExportColumns::Cell;
    switch (cell.type) {
        case Cell::Null:
            out.append("null");
            break;
        case Cell::Boolean:
            out.append(cell.truth ? "true" : "false");
            break;
        case Cell::Number:
        case Cell::Integer:
            out.append(cell.text.data(), qsizetype(cell.text.size()));  // the sheet's own digits
            break;
        case Cell::Text:
            appendJsonString(cell.text, out);
            break;
    }
}

}  // namespace

QByteArray JsonLinesFile::save(const sheet::Grid& sheet) {
    const SheetExportColumns columns(sheet);
    std::vector<QByteArray> keys;
    for (const QString& name : columns.names()) {
        QByteArray key;
        appendJsonString(name.toStdString(), key);
        keys.push_back(key + ':');
    }
    QByteArray out;
    std::string scratch;
    for (int r = 1; r <= columns.rows(); ++r) {
        out.append('{');
        for (int c = 0; c < columns.count(); ++c) {
            if (c > 0) {
                out.append(',');
            }
            out.append(keys[std::size_t(c)]);
            appendCell(columns.cell(r, c, scratch), out);
        }
        out.append("}\n");
    }
    return out;
}

}  // namespace app
