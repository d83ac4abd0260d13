#include "sheet/find_bar.h"

#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace sheet {

namespace {
constexpr int kMargin = 4;
constexpr int kBoxWidth = 180;
}  // namespace

FindBar::FindBar(QWidget& grid) : QFrame(&grid), grid_(grid) {
    setObjectName(QStringLiteral("fraFind"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    text_ = new QLineEdit(this);
    text_->setObjectName(QStringLiteral("txtFind"));
    text_->setPlaceholderText(QStringLiteral("Find"));
    text_->setMinimumWidth(kBoxWidth);
    text_->setClearButtonEnabled(true);
    text_->installEventFilter(this);
    previous_ = button("cmdFindPrevious", QStringLiteral("\u25B2"),
                       QStringLiteral("Find Previous (Shift+Enter)"));
    next_ = button("cmdFindNext", QStringLiteral("\u25BC"), QStringLiteral("Find Next (Enter)"));
    matchCase_ = new QCheckBox(QStringLiteral("Match case"), this);
    matchCase_->setObjectName(QStringLiteral("chkMatchCase"));
    wholeCell_ = new QCheckBox(QStringLiteral("Whole cell"), this);
    wholeCell_->setObjectName(QStringLiteral("chkWholeCell"));
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("lblFindCount"));
    close_ = button("cmdFindClose", QStringLiteral("\u2715"), QStringLiteral("Close (Esc)"));

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    row->setSpacing(kMargin);
    for (QWidget* part : std::initializer_list<QWidget*>{text_, previous_, next_, matchCase_,
                                                         wholeCell_, count_, close_}) {
        row->addWidget(part);
    }
    connect(text_, &QLineEdit::textChanged, this, &FindBar::wantedChanged);
    connect(matchCase_, &QCheckBox::toggled, this, &FindBar::wantedChanged);
    connect(wholeCell_, &QCheckBox::toggled, this, &FindBar::wantedChanged);
    connect(next_, &QToolButton::clicked, this, &FindBar::findNext);
    connect(previous_, &QToolButton::clicked, this, &FindBar::findPrevious);
    connect(close_, &QToolButton::clicked, this, &FindBar::dismiss);
    grid_.installEventFilter(this);
    hide();
}

QToolButton* FindBar::button(const char* name, const QString& caption, const QString& tip) {
    auto* b = new QToolButton(this);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(caption);
    b->setToolTip(tip);
    b->setAutoRaise(true);
    return b;
}

void FindBar::open() {
    atBottom_ = false;
    place();
    show();
    raise();
    text_->setFocus(Qt::ShortcutFocusReason);
    text_->selectAll();
}

void FindBar::dismiss() {
    if (isHidden()) {
        return;
    }
    hide();
    grid_.setFocus(Qt::OtherFocusReason);
    emit closed();
}

QString FindBar::text() const {
    return text_->text();
}

TextMatcher::Options FindBar::options() const {
    return {matchCase_->isChecked(), wholeCell_->isChecked()};
}

void FindBar::showCount(const QString& text) {
    count_->setText(text);
    if (isVisible()) {
        place();
    }
}

void FindBar::keepClearOf(const QRect& area) {
    if (isHidden() || !geometry().intersects(area)) {
        return;
    }
    atBottom_ = !atBottom_;
    place();
}

// Top right, below the titles, so the first column and the current cell at
// the left stay in view.
void FindBar::place() {
    adjustSize();
    const int width = std::min(sizeHint().width(), grid_.width());
    const int height = sizeHint().height();
    QRect cells = grid_.rect();
    if (auto* table = qobject_cast<QAbstractScrollArea*>(&grid_)) {
        cells = table->viewport()->geometry();
    }
    const int top = atBottom_ ? std::max(cells.top(), cells.bottom() - height - kMargin)
                              : cells.top() + kMargin;
    setGeometry(grid_.width() - width - kMargin * 4, top, width, height);
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &grid_ && event->type() == QEvent::Resize && isVisible()) {
        place();
    } else if (watched == text_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (key->modifiers() & Qt::ShiftModifier) {
                emit findPrevious();
            } else {
                emit findNext();
            }
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            dismiss();
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

}  // namespace sheet
