#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>

#include <optional>

class AppModel;
class DialogPresenter;
class QDialog;
class QPushButton;
class QWidget;

// The sheets, confirmation dialogs and alerts of the main window. Each follows one model
// value: it opens when a workflow sets the value and writes the value back to empty when
// the user closes it; a confirming button calls the model operation that does the work.
class AppDialogs : public QObject {
    Q_OBJECT
public:
    AppDialogs(AppModel *model, QWidget *host);

    DialogPresenter *debloatReview() const { return m_debloatReview; }
    DialogPresenter *packageAction() const { return m_packageAction; }
    DialogPresenter *exportError() const { return m_exportError; }
    DialogPresenter *presetPreview() const { return m_presetPreview; }
    DialogPresenter *presetExecution() const { return m_presetExecution; }
    DialogPresenter *presetError() const { return m_presetError; }
    DialogPresenter *permissionManager() const { return m_permissionManager; }

    // A confirmation: headline `title`, `message` below (plain text), the confirming button
    // first, then "Отмена". `destructive` gives the confirming button the destructive role.
    static QMessageBox *confirmation(QWidget *parent, const QString &title, const std::optional<QString> &message,
                                     const std::optional<QString> &confirmText, bool destructive);
    // A button of the design layer for a message box, styled by its role: the destructive role
    // in the danger style, accepting roles as the primary button, the rest as secondary ones.
    static QPushButton *addButton(QMessageBox *box, const QString &text, QMessageBox::ButtonRole role);
    // An alert with one "Закрыть" button.
    static QMessageBox *alert(QWidget *parent, const QString &title, const QString &message);
    // The button that confirms (null when the dialog has none or is not a confirmation).
    static bool wasConfirmed(QDialog *dialog);
    // A sheet whose content is not part of the application yet: its title and "Закрыть".
    static QDialog *placeholderSheet(QWidget *parent, const QString &title);

private:
    AppModel *m_model;
    DialogPresenter *m_debloatReview;
    DialogPresenter *m_packageAction;
    DialogPresenter *m_exportError;
    DialogPresenter *m_presetPreview;
    DialogPresenter *m_presetExecution;
    DialogPresenter *m_presetError;
    DialogPresenter *m_permissionManager;
};
