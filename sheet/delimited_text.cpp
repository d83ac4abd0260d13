#include "sheet/delimited_text.h"

#include "sheet/cell_store.h"
#include "sheet/grid.h"
#include "sheet/grid_model.h"

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace sheet {

namespace {

constexpr char kQuote = '"';

bool endsCell(char ch, char separator) {
    return ch == separator || ch == '\r' || ch == '\n';
}

// A cell's bytes: straight from the text, or from the row's own buffer when
// quotes had to be undone.
struct Piece {
    bool own;
    std::size_t offset;
    std::size_t length;
};

class RowSplitter {
  public:
    RowSplitter(const QByteArray& text, char separator)
        : s_(text.constData()), n_(std::size_t(text.size())), separator_(separator) {}

    bool atEnd() const { return i_ >= n_; }

    // Reads one row; the views stay valid until the next call.
    std::span<const std::string_view> next() {
        pieces_.clear();
        buffer_.clear();
        for (;;) {
            if (i_ < n_ && s_[i_] == kQuote) {
                quotedCell();
            } else {
                const std::size_t start = i_;
                skipToCellEnd();
                pieces_.push_back({false, start, i_ - start});
            }
            if (i_ < n_ && s_[i_] == separator_) {
                ++i_;
                continue;
            }
            skipLineEnd();
            break;
        }
        views_.clear();
        for (const Piece& p : pieces_) {
            views_.emplace_back((p.own ? buffer_.data() : s_) + p.offset, p.length);
        }
        return views_;
    }

  private:
    void skipToCellEnd() {
        while (i_ < n_ && !endsCell(s_[i_], separator_)) {
            ++i_;
        }
    }

    void skipLineEnd() {
        if (i_ < n_ && s_[i_] == '\r') {
            ++i_;
        }
        if (i_ < n_ && s_[i_] == '\n') {
            ++i_;
        }
    }

    // A quote ends the cell's quoted part unless it is doubled; text after
    // the closing quote, up to the cell's end, is kept as it stands. A
    // missing closing quote takes the rest of the file.
    void quotedCell() {
        const std::size_t start = buffer_.size();
        ++i_;
        while (i_ < n_) {
            if (s_[i_] == kQuote) {
                if (i_ + 1 < n_ && s_[i_ + 1] == kQuote) {
                    buffer_.push_back(kQuote);
                    i_ += 2;
                    continue;
                }
                ++i_;
                break;
            }
            const void* quote = std::memchr(s_ + i_, kQuote, n_ - i_);
            const std::size_t end = quote ? std::size_t(static_cast<const char*>(quote) - s_) : n_;
            buffer_.append(s_ + i_, end - i_);
            i_ = end;
        }
        const std::size_t rest = i_;
        skipToCellEnd();
        buffer_.append(s_ + rest, i_ - rest);
        pieces_.push_back({true, start, buffer_.size() - start});
    }

    const char* s_;
    std::size_t n_;
    char separator_;
    std::size_t i_ = 0;
    std::vector<Piece> pieces_;
    std::string buffer_;
    std::vector<std::string_view> views_;
};

}  // namespace

void DelimitedText::appendCell(QByteArray& out, std::string_view text, char separator) {
    const char special[] = {separator, kQuote, '\r', '\n'};
    if (text.find_first_of(std::string_view(special, sizeof special)) == std::string_view::npos) {
        out.append(text.data(), qsizetype(text.size()));
        return;
    }
    out.append(kQuote);
    for (const char ch : text) {
        if (ch == kQuote) {
            out.append(kQuote);
        }
        out.append(ch);
    }
    out.append(kQuote);
}

QByteArray DelimitedText::save(const Grid& grid, char separator, bool withFixedCells) {
    const CellStore& store = grid.gridModel()->store();
    QByteArray out;
    // Texts, separators and line ends: sized once rather than regrown.
    out.reserve(qsizetype(store.writtenSizeEstimate() + 2 * std::size_t(store.rows())));
    const int first = withFixedCells ? 0 : grid.fixedRows();
    for (int r = first; r < store.rows(); ++r) {
        for (int c = 0; c < store.cols(); ++c) {
            if (c > 0) {
                out.append(separator);
            }
            appendCell(out, store.text(r, c), separator);
        }
        out.append("\r\n");
    }
    return out;
}

QByteArray DelimitedText::toUtf8(const QByteArray& bytes) {
    static const QByteArray kBom("\xEF\xBB\xBF");
    if (bytes.startsWith(kBom)) {
        const QByteArray rest = bytes.mid(kBom.size());
        // Declared UTF-8: broken sequences become replacement characters.
        return QByteArrayView(rest).isValidUtf8() ? rest : QString::fromUtf8(rest).toUtf8();
    }
    if (QByteArrayView(bytes).isValidUtf8()) {
        return bytes;
    }
    QStringDecoder decoder("windows-1252");
    if (!decoder.isValid()) {
        return QString::fromLatin1(bytes).toUtf8();
    }
    const QString text = decoder.decode(bytes);
    return text.toUtf8();
}

void DelimitedText::parse(const QByteArray& utf8, char separator, const RowHandler& onRow) {
    RowSplitter splitter(utf8, separator);
    while (!splitter.atEnd()) {
        onRow(splitter.next());
    }
}

jet::Status DelimitedText::load(Grid& grid, const QByteArray& bytes, char separator,
                                const ProgressHandler& onProgress) {
    constexpr std::size_t kProgressStep = 4096;
    const QByteArray text = toUtf8(bytes);
    std::size_t lines = 0;
    std::size_t widest = 1;
    parse(text, separator, [&](std::span<const std::string_view> cells) {
        ++lines;
        widest = std::max(widest, cells.size());
    });
    // The title row takes one of the sheet's rows.
    if (lines >= std::size_t(CellStore::kMaxRows)) {
        return {jet::ErrorCode::Invalid, "The file has " + std::to_string(lines) +
                                             " lines; a sheet holds at most " +
                                             std::to_string(CellStore::kMaxRows - 1) + "."};
    }
    if (widest > std::size_t(CellStore::kMaxCols)) {
        return {jet::ErrorCode::Invalid, "A line of the file has " + std::to_string(widest) +
                                             " cells; a sheet holds at most " +
                                             std::to_string(CellStore::kMaxCols) + " columns."};
    }
    // The rows are read beside the sheet, which takes them only once all are
    // in: a load stopped half way leaves the sheet as it was.
    CellStore store;
    store.beginFill(int(widest), lines + 1);
    const std::vector<std::string_view> titles(widest);
    store.appendTextRow(titles);
    std::vector<CellInput> row(widest);
    std::size_t done = 0;
    bool goOn = true;
    parse(text, separator, [&](std::span<const std::string_view> cells) {
        if (!goOn) {
            return;
        }
        for (std::size_t c = 0; c < widest; ++c) {
            row[c].text = c < cells.size() ? cells[c] : std::string_view();
        }
        store.appendRow(row);
        if (++done % kProgressStep == 0 && onProgress) {
            goOn = onProgress(done, lines);
        }
    });
    if (!goOn) {
        return {jet::ErrorCode::Invalid, "The load was stopped."};
    }
    grid.adoptFill(std::move(store));
    return jet::Status::ok();
}

}  // namespace sheet
