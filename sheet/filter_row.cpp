#include "sheet/filter_row.h"

#include "sheet/grid_header.h"

#include <QLineEdit>

namespace sheet {

namespace {
// Typing pauses shorter than this run one filter for several keystrokes.
constexpr int kSettleMs = 150;
}  // namespace

FilterRow::FilterRow(GridHeader& header) : QObject(&header), header_(header) {
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, &FilterRow::typed);
    connect(&header_, &QHeaderView::sectionResized, this, &FilterRow::place);
    connect(&header_, &QHeaderView::sectionMoved, this, &FilterRow::place);
    connect(&header_, &QHeaderView::sectionCountChanged, this, [this] {
        if (shown_) {
            matchColumns();
        }
    });
    connect(&header_, &QHeaderView::geometriesChanged, this, &FilterRow::place);
}

int FilterRow::bandHeight() const {
    return header_.fontMetrics().height() + 8;
}

void FilterRow::setShown(bool shown) {
    if (shown == shown_) {
        return;
    }
    shown_ = shown;
    header_.setBandHeight(shown ? bandHeight() : 0);
    if (shown) {
        matchColumns();
    } else {
        qDeleteAll(boxes_);
        boxes_.clear();
        settle_.stop();
    }
}

QLineEdit* FilterRow::box(int col) const {
    return col >= 0 && col < int(boxes_.size()) ? boxes_[std::size_t(col)] : nullptr;
}

QString FilterRow::text(int col) const {
    const QLineEdit* edit = box(col);
    return edit ? edit->text() : QString();
}

void FilterRow::clearTexts() {
    settle_.stop();
    for (QLineEdit* edit : boxes_) {
        const QSignalBlocker quiet(edit);
        edit->clear();
    }
}

void FilterRow::matchColumns() {
    const int count = header_.count();
    while (int(boxes_.size()) > count) {
        delete boxes_.back();
        boxes_.pop_back();
    }
    while (int(boxes_.size()) < count) {
        const int col = int(boxes_.size());
        auto* edit = new QLineEdit(header_.viewport());
        edit->setObjectName(QStringLiteral("txtFilter(%1)").arg(col));
        edit->setPlaceholderText(QStringLiteral("Filter"));
        edit->setClearButtonEnabled(true);
        edit->setToolTip(
            QStringLiteral("Text to find, or =, <>, <, <=, >, >= a value, or a pattern "
                           "with * and ? (or Like and a pattern)"));
        connect(edit, &QLineEdit::textEdited, &settle_, qOverload<>(&QTimer::start));
        connect(edit, &QLineEdit::returnPressed, this, [this] {
            settle_.stop();
            emit typed();
        });
        edit->show();
        boxes_.push_back(edit);
    }
    place();
}

void FilterRow::place() {
    if (!shown_) {
        return;
    }
    const int band = header_.bandHeight();
    const int top = header_.viewport()->height() - band;
    for (std::size_t col = 0; col < boxes_.size(); ++col) {
        const int logical = int(col);
        QLineEdit* edit = boxes_[col];
        if (header_.isSectionHidden(logical)) {
            edit->hide();
            continue;
        }
        edit->setGeometry(header_.sectionViewportPosition(logical), top,
                          header_.sectionSize(logical), band);
        edit->show();
    }
}

}  // namespace sheet
