// Dialogs for tests: answers come from queues the test fills beforehand, and
// every question asked is recorded so the test can check titles and texts.
// An empty queue answers Cancel / the empty string, as a user closing the box.
#pragma once

#include <QList>
#include <QQueue>
#include <QString>

#include "ui/dialogs.h"

namespace ui {

class ScriptedDialogs : public Dialogs {
  public:
    struct Asked {
        QString kind;  // "message", "input", "password", "open" or "save"
        QString title;
        QString text;  // message text, prompt, folder or suggested path
        Icon icon = Icon::Information;
        Buttons buttons = Buttons::Ok;
    };

    QQueue<Answer> answers;
    QQueue<QString> texts;  // answers to input boxes and file dialogs
    QList<Asked> asked;
    QQueue<bool> checkBoxAnswers;  // states the user leaves check boxes in
    // The last open dialog's check box: its text and its state when asked.
    QString lastCheckBox;
    bool lastCheckBoxChecked = false;

    Answer messageBox(const QString& text, const QString& title, Icon icon,
                      Buttons buttons) override;
    QString inputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    QString passwordBox(const QString& prompt, const QString& title) override;
    QString openFileName(const QString& title, const QString& folder,
                         const QString& filter) override;
    QString openFileNameWithCheckBox(const QString& title, const QString& folder,
                                     const QString& filter, CheckBox& option) override;
    QString saveFileName(const QString& title, const QString& suggestedPath,
                         const QString& filter) override;

  private:
    QString nextText();
};

}  // namespace ui
