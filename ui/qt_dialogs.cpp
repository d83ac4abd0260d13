#include "ui/qt_dialogs.h"

#include <QFileDialog>
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

QString QtDialogs::saveFileName(const QString& title, const QString& suggestedPath,
                                const QString& filter) {
    return QFileDialog::getSaveFileName(parent_, title, suggestedPath, filter);
}

}  // namespace ui
