#pragma once

#include <QMessageBox>
#include <QString>

#include <optional>

class QDialog;
class QPushButton;
class QWidget;

// The plain dialogs every screen and the main window build alike: confirmations, alerts and
// placeholder sheets. Texts are plain text (names and counts come from the device).
namespace ScreenDialogs {

// A confirmation: headline `title`, `message` below (plain text), the confirming button
// first, then "Отмена". `destructive` gives the confirming button the destructive role.
QMessageBox *confirmation(QWidget *parent, const QString &title, const std::optional<QString> &message,
                          const std::optional<QString> &confirmText, bool destructive);
// A button of the design layer for a message box, styled by its role: the destructive role
// in the danger style, accepting roles as the primary button, the rest as secondary ones.
QPushButton *addButton(QMessageBox *box, const QString &text, QMessageBox::ButtonRole role);
// An alert with one "Закрыть" button.
QMessageBox *alert(QWidget *parent, const QString &title, const QString &message);
// Whether the dialog was closed with its confirming button (false when it has none or is not a confirmation).
bool wasConfirmed(QDialog *dialog);
// A sheet whose content is not part of the application yet: its title and "Закрыть".
QDialog *placeholderSheet(QWidget *parent, const QString &title);

} // namespace ScreenDialogs
