#include "sheet/text_matcher.h"

#include <algorithm>

namespace sheet {

namespace {

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

}  // namespace

TextMatcher::TextMatcher(const QString& wanted, Options options)
    : wanted_(wanted), options_(options) {
    // Without regard to case, what counts is the folded text: a needle that
    // folds to ASCII ("K" is "k") is searched as ASCII bytes.
    const QString folded = options_.matchCase ? wanted_ : wanted_.toCaseFolded();
    wantedUtf8_ = folded.toStdString();
    wantedAscii_ = isAscii(wantedUtf8_);
    if (options_.matchCase || !wantedAscii_) {
        wantedUtf8_ = wanted_.toStdString();
    }
}

bool TextMatcher::matches(std::string_view cell) const {
    if (options_.matchCase) {
        // UTF-8 bytes compare exactly when the texts do.
        if (options_.wholeCell) {
            return cell == wantedUtf8_;
        }
        return cell.find(wantedUtf8_) != std::string_view::npos;
    }
    if (isAscii(cell)) {
        // An ASCII cell folds to ASCII: it cannot hold a needle that does not.
        return wantedAscii_ && matchesAscii(cell);
    }
    return matchesUnicode(cell);
}

bool TextMatcher::matchesAscii(std::string_view cell) const {
    const std::size_t size = wantedUtf8_.size();
    if (options_.wholeCell) {
        return cell.size() == size && std::equal(cell.begin(), cell.end(), wantedUtf8_.begin(),
                                                 [](char a, char b) { return lowerAscii(a) == b; });
    }
    if (size == 0) {
        return true;
    }
    const char first = wantedUtf8_[0];
    for (std::size_t i = 0; i + size <= cell.size(); ++i) {
        if (lowerAscii(cell[i]) != first) {
            continue;
        }
        std::size_t k = 1;
        while (k < size && lowerAscii(cell[i + k]) == wantedUtf8_[k]) {
            ++k;
        }
        if (k == size) {
            return true;
        }
    }
    return false;
}

bool TextMatcher::matchesUnicode(std::string_view cell) const {
    const QString text = QString::fromUtf8(cell.data(), static_cast<qsizetype>(cell.size()));
    if (options_.wholeCell)
        return text.compare(wanted_, Qt::CaseInsensitive) == 0;
    return text.contains(wanted_, Qt::CaseInsensitive);
}

}  // namespace sheet
