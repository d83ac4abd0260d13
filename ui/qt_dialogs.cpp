#include "ui/qt_dialogs.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>

namespace ui {

namespace {

QMessageBox::Icon toQtIcon(Dialogs::Icon icon) {
    switch (icon) {
        case Dialogs::Icon::Critical:
            return QMessageBox::Critical;
        case Dialogs::Icon::Exclamation:
            return QMessageBox::Warning;
        case Dialogs::Icon::Question:
            return QMessageBox::Question;
        case Dialogs::Icon::Information:
            break;
    }
    return QMessageBox::Information;
}

}  // namespace

Dialogs::Answer QtDialogs::messageBox(const QString& text, const QString& title, Icon icon,
                                      Buttons buttons) {
    QMessageBox box(toQtIcon(icon), title, text, QMessageBox::NoButton, parent_);
    if (buttons == Buttons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return Answer::Ok;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
    }
}

QString QtDialogs::inputBox(const QString& prompt, const QString& title,
                            const QString& defaultText) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent_, title, prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
}

QString QtDialogs::passwordBox(const QString& prompt, const QString& title) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent_, title, prompt, QLineEdit::Password, QString(), &ok);
    return ok ? text : QString();
}

QString QtDialogs::openFileName(const QString& title, const QString& folder,
                                const QString& filter) {
    return QFileDialog::getOpenFileName(parent_, title, folder, filter);
}

// The desktop's own file dialog cannot take a widget of ours: the check box
// goes under the file list of Qt's dialog.
QString QtDialogs::openFileNameWithCheckBox(const QString& title, const QString& folder,
                                            const QString& filter, CheckBox& option) {
    QFileDialog dialog(parent_, title, folder, filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    auto* box = new QCheckBox(option.text, &dialog);
    box->setObjectName(option.name);
    box->setChecked(option.checked);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        grid->addWidget(box, grid->rowCount(), 0, 1, -1);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    option.checked = box->isChecked();
    return dialog.selectedFiles().first();
}

QString QtDialogs::saveFileName(const QString& title, const QString& suggestedPath,
                                const QString& filter) {
    return QFileDialog::getSaveFileName(parent_, title, suggestedPath, filter);
}

}  // namespace ui
