#include "sql/sql_completer.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTextBlock>

namespace sql {

namespace {

constexpr int kInsertedRole = Qt::UserRole;
constexpr int kVisibleRows = 12;

QString kindText(SqlCompletion::Kind kind) {
    switch (kind) {
        case SqlCompletion::Kind::Table:
            return QStringLiteral("Table");
        case SqlCompletion::Kind::Query:
            return QStringLiteral("Query");
        case SqlCompletion::Kind::Field:
            return QStringLiteral("Field");
        case SqlCompletion::Kind::Function:
            break;
    }
    return QStringLiteral("Function");
}

}  // namespace

SqlCompleter::SqlCompleter(QPlainTextEdit& box, std::function<SqlNames()> names, QObject* parent)
    : QObject(parent),
      box_(box),
      names_(std::move(names)),
      completer_(new QCompleter(this)),
      model_(new QStandardItemModel(this)) {
    completer_->setObjectName(QStringLiteral("cmpSQL"));
    completer_->setModel(model_);
    completer_->setWidget(&box_);
    completer_->setCompletionMode(QCompleter::PopupCompletion);
    completer_->setCaseSensitivity(Qt::CaseInsensitive);
    completer_->setMaxVisibleItems(kVisibleRows);
    completer_->popup()->setObjectName(QStringLiteral("lstSQLCompletion"));
    connect(completer_, QOverload<const QModelIndex&>::of(&QCompleter::activated), this,
            &SqlCompleter::insert);
    connect(&box_, &QPlainTextEdit::textChanged, this, &SqlCompleter::onTextChanged);
    box_.installEventFilter(this);
    // Ahead of the completer's own filter, which would let the box take
    // Enter as a line break before choosing.
    completer_->popup()->installEventFilter(this);
}

bool SqlCompleter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (watched == completer_->popup()) {
        return choose(*key);
    }
    if (watched != &box_) {
        return false;
    }
    if (key->key() == Qt::Key_Space && key->modifiers() == Qt::ControlModifier) {
        open();
        return true;
    }
    // The list opens once the box has taken the character.
    if (key->text() == QLatin1String(".") || key->text() == QLatin1String("[") ||
        key->text() == QLatin1String("!")) {
        openAfterEdit_ = true;
    }
    return false;
}

bool SqlCompleter::choose(const QKeyEvent& key) {
    switch (key.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Tab:
        case Qt::Key_Backtab: {
            const QModelIndex current = completer_->popup()->currentIndex();
            close();
            if (current.isValid()) {
                insert(current);
            }
            return true;
        }
        default:
            return false;
    }
}

void SqlCompleter::onTextChanged() {
    if (openAfterEdit_) {
        openAfterEdit_ = false;
        open();
    } else if (isOpen()) {
        narrow();
    }
}

QString SqlCompleter::textBeforeCaret() const {
    // Document positions count one per paragraph break, as the LF form does.
    return box_.toPlainText().left(box_.textCursor().position());
}

bool SqlCompleter::open() {
    request_ = SqlCompletion::at(textBeforeCaret());
    const std::vector<SqlCompletion::Offer> offers =
        request_.context == SqlCompletion::Context::None
            ? std::vector<SqlCompletion::Offer>()
            : SqlCompletion::offers(request_, names_(), box_.toPlainText());
    if (offers.empty()) {
        close();
        return false;
    }
    fill(offers);
    completer_->setCompletionPrefix(request_.prefix);
    if (completer_->completionCount() == 0) {
        close();
        return false;
    }
    QAbstractItemView* list = completer_->popup();
    list->setCurrentIndex(completer_->completionModel()->index(0, 0));
    QRect place = box_.cursorRect();
    place.setWidth(list->sizeHintForColumn(0) + list->verticalScrollBar()->sizeHint().width() +
                   2 * list->frameWidth());
    completer_->complete(place);
    return true;
}

void SqlCompleter::fill(const std::vector<SqlCompletion::Offer>& offers) {
    model_->clear();
    for (const SqlCompletion::Offer& offer : offers) {
        auto* item = new QStandardItem(offer.shown);
        item->setData(offer.inserted, kInsertedRole);
        item->setToolTip(kindText(offer.kind));
        item->setEditable(false);
        model_->appendRow(item);
    }
}

void SqlCompleter::narrow() {
    const SqlCompletion::Request now = SqlCompletion::at(textBeforeCaret());
    if (now.context != request_.context || now.start != request_.start ||
        now.owner != request_.owner) {
        close();
        return;
    }
    request_ = now;
    completer_->setCompletionPrefix(now.prefix);
    if (completer_->completionCount() == 0) {
        close();
        return;
    }
    completer_->popup()->setCurrentIndex(completer_->completionModel()->index(0, 0));
}

bool SqlCompleter::isOpen() const {
    return completer_->popup()->isVisible();
}

void SqlCompleter::close() {
    completer_->popup()->hide();
}

void SqlCompleter::insert(const QModelIndex& index) {
    const QString inserted = index.data(kInsertedRole).toString();
    if (inserted.isEmpty()) {
        return;
    }
    QTextCursor cursor = box_.textCursor();
    const int caret = cursor.position();
    cursor.setPosition(std::min(request_.start, caret));
    cursor.setPosition(caret, QTextCursor::KeepAnchor);
    cursor.insertText(inserted);
    box_.setTextCursor(cursor);
}

}  // namespace sql
