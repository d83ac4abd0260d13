#include "ui/size_boxes.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "ui/spin_buttons.h"

namespace ui {

SizeBoxes::SizeBoxes(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("SSPanel2"));
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 1, 4, 1);
    row->setSpacing(3);
    addBox(rowsLabel, "SSPanel1(0)", QStringLiteral("Rows"), rowsBox, "txtRow", rowsSpin,
           "UpDownRow", 8);
    row->addSpacing(6);
    addBox(colsLabel, "SSPanel1(1)", QStringLiteral("Cols"), colsBox, "txtCol", colsSpin,
           "UpDownCol", 5);
}

void SizeBoxes::addBox(QLabel*& label, const char* name, const QString& caption, QLineEdit*& box,
                       const char* boxName, SpinButtons*& spin, const char* spinName, int chars) {
    auto* row = static_cast<QHBoxLayout*>(layout());
    label = new QLabel(caption, this);
    label->setObjectName(QString::fromLatin1(name));
    box = new QLineEdit(this);
    box->setObjectName(QString::fromLatin1(boxName));
    box->setAlignment(Qt::AlignRight);
    box->setMaxLength(9);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QString(chars, QLatin1Char('0'))) + 10);
    spin = new SpinButtons(this);
    spin->setObjectName(QString::fromLatin1(spinName));
    row->addWidget(label);
    row->addWidget(box);
    row->addWidget(spin);
}

}  // namespace ui
