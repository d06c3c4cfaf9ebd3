#pragma once

#include <QString>

#include <optional>

class QDialog;
class QMessageBox;
class QWidget;

// The plain dialogs every screen and the main window build alike: confirmations, alerts and
// placeholder sheets. Texts are plain text (names and counts come from the device).
namespace ScreenDialogs {

// A confirmation: headline `title`, `message` below (plain text), the confirming button
// first, then "Отмена". `destructive` gives the confirming button the destructive role.
QMessageBox *confirmation(QWidget *parent, const QString &title, const std::optional<QString> &message,
                          const std::optional<QString> &confirmText, bool destructive);
// An alert with one "Закрыть" button.
QMessageBox *alert(QWidget *parent, const QString &title, const QString &message);
// Whether the dialog was closed with its confirming button (false when it has none or is not a confirmation).
bool wasConfirmed(QDialog *dialog);
// A sheet whose content is not part of the application yet: its title and "Закрыть".
QDialog *placeholderSheet(QWidget *parent, const QString &title);

} // namespace ScreenDialogs
