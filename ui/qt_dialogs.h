// Dialogs shown with Qt's standard message, input and file dialogs.
#pragma once

#include "ui/dialogs.h"

class QWidget;

namespace ui {

class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget* parent) : parent_(parent) {}

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
    QWidget* parent_;
};

}  // namespace ui
