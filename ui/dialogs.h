// The modal dialogs the window asks the user through: message box, input box
// and the open/save file dialogs. Tests replace them with a scripted set.
#pragma once

#include <QString>

namespace ui {

class Dialogs {
  public:
    enum class Icon { Critical, Exclamation, Question, Information };
    enum class Buttons { Ok, YesNoCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~Dialogs() = default;

    // A modal message with one icon; returns the button pressed (Cancel when
    // the box is closed without a choice).
    virtual Answer messageBox(const QString& text, const QString& title, Icon icon,
                              Buttons buttons) = 0;
    // A one-line question; returns the typed text, or the empty string when
    // the user cancels.
    virtual QString inputBox(const QString& prompt, const QString& title,
                             const QString& defaultText) = 0;
    // The same for a password: what is typed is masked.
    virtual QString passwordBox(const QString& prompt, const QString& title) = 0;
    // Returns the chosen path, or the empty string when cancelled. `filter`
    // uses Qt's "Name (*.ext);;Other (*.x)" form.
    virtual QString openFileName(const QString& title, const QString& folder,
                                 const QString& filter) = 0;
    // A check box the open dialog shows under its file list: `checked` is
    // its state when the dialog opens and, unless the user cancels, when it
    // closes.
    struct CheckBox {
        QString name;  // the box's object name
        QString text;
        bool checked = false;
    };
    // The open dialog with one check box. Without an implementation of its
    // own, a dialog set asks as openFileName does and leaves the box alone.
    virtual QString openFileNameWithCheckBox(const QString& title, const QString& folder,
                                             const QString& filter, CheckBox& option) {
        (void)option;
        return openFileName(title, folder, filter);
    }
    virtual QString saveFileName(const QString& title, const QString& suggestedPath,
                                 const QString& filter) = 0;
};

}  // namespace ui
