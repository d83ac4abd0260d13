#include "ui/scripted_dialogs.h"

namespace ui {

Dialogs::Answer ScriptedDialogs::messageBox(const QString& text, const QString& title, Icon icon,
                                            Buttons buttons) {
    asked.append({QStringLiteral("message"), title, text, icon, buttons});
    if (buttons == Buttons::Ok) {
        return Answer::Ok;
    }
    return answers.isEmpty() ? Answer::Cancel : answers.dequeue();
}

QString ScriptedDialogs::inputBox(const QString& prompt, const QString& title, const QString&) {
    asked.append({QStringLiteral("input"), title, prompt});
    return nextText();
}

QString ScriptedDialogs::passwordBox(const QString& prompt, const QString& title) {
    asked.append({QStringLiteral("password"), title, prompt});
    return nextText();
}

QString ScriptedDialogs::openFileName(const QString& title, const QString& folder, const QString&) {
    asked.append({QStringLiteral("open"), title, folder});
    return nextText();
}

QString ScriptedDialogs::openFileNameWithCheckBox(const QString& title, const QString& folder,
                                                  const QString&, CheckBox& option) {
    asked.append({QStringLiteral("open"), title, folder});
    lastCheckBox = option.text;
    lastCheckBoxChecked = option.checked;
    const QString answer = nextText();
    if (!answer.isEmpty() && !checkBoxAnswers.isEmpty()) {
        option.checked = checkBoxAnswers.dequeue();
    }
    return answer;
}

QString ScriptedDialogs::saveFileName(const QString& title, const QString& suggestedPath,
                                      const QString&) {
    asked.append({QStringLiteral("save"), title, suggestedPath});
    return nextText();
}

QString ScriptedDialogs::nextText() {
    return texts.isEmpty() ? QString() : texts.dequeue();
}

}  // namespace ui
