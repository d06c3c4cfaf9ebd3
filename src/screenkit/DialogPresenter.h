#pragma once

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

// Shows one window-modal dialog while a model value asks for it. The value's identity
// decides: none hides the dialog, a new identity replaces it. A dialog the user closes
// (a button, Escape) hands its outcome to `dismissed`, which writes the model back; a dialog
// withdrawn because the value changed writes nothing. Dialogs open without a nested loop.
class DialogPresenter : public QObject {
    Q_OBJECT
public:
    struct Spec {
        std::function<std::optional<QString>()> identity;
        std::function<QDialog *(QWidget *parent)> build;
        // The user closed the dialog; `accepted` tells the confirming button from the rest.
        std::function<void(QDialog *dialog, int result)> dismissed;
        // After the user closes the dialog, and after a withdrawal that leaves nothing to show
        // (optional).
        std::function<void()> afterDismissal;
    };

    DialogPresenter(QWidget *host, Spec spec);
    ~DialogPresenter() override;

    // Follows the current value; call after every change of what `identity` reads.
    void sync();

    QDialog *dialog() const { return m_dialog; }
    std::optional<QString> shownIdentity() const { return m_dialog ? std::optional(m_shown) : std::nullopt; }

private:
    void finished(QDialog *dialog, int result);

    QPointer<QWidget> m_host;
    Spec m_spec;
    QPointer<QDialog> m_dialog;
    QString m_shown;
    bool m_withdrawing = false;
};
