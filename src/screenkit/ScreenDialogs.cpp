#include "ScreenDialogs.h"

#include "design/DeckButton.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const char *const kConfirmButton = "kestrelConfirmButton";
}

namespace ScreenDialogs {

QMessageBox *confirmation(QWidget *parent, const QString &title, const std::optional<QString> &message,
                          const std::optional<QString> &confirmText, bool destructive)
{
    auto *box = new QMessageBox(parent);
    box->setTextFormat(Qt::PlainText); // names and counts come from the device
    box->setWindowTitle(title);
    box->setText(title);
    if (message)
        box->setInformativeText(*message);
    box->setIcon(QMessageBox::Warning);
    if (confirmText) {
        QPushButton *confirm =
            addButton(box, *confirmText, destructive ? QMessageBox::DestructiveRole : QMessageBox::AcceptRole);
        box->setProperty(kConfirmButton, QVariant::fromValue(static_cast<QObject *>(confirm)));
    }
    QPushButton *cancel = addButton(box, QStringLiteral("Отмена"), QMessageBox::RejectRole);
    box->setDefaultButton(cancel);
    box->setEscapeButton(cancel);
    return box;
}

QMessageBox *alert(QWidget *parent, const QString &title, const QString &message)
{
    auto *box = new QMessageBox(parent);
    box->setTextFormat(Qt::PlainText);
    box->setWindowTitle(title);
    box->setText(title);
    box->setInformativeText(message);
    box->setIcon(QMessageBox::Critical);
    QPushButton *close = addButton(box, QStringLiteral("Закрыть"), QMessageBox::RejectRole);
    box->setDefaultButton(close);
    box->setEscapeButton(close);
    return box;
}

QPushButton *addButton(QMessageBox *box, const QString &text, QMessageBox::ButtonRole role)
{
    DeckButtonRole look = DeckButtonRole::secondary;
    if (role == QMessageBox::DestructiveRole)
        look = DeckButtonRole::destructive;
    else if (role == QMessageBox::AcceptRole || role == QMessageBox::YesRole || role == QMessageBox::ApplyRole)
        look = DeckButtonRole::primary;
    auto *button = new DeckButton(text, {look, DeckButtonSize::regular});
    box->addButton(button, role);
    return button;
}

bool wasConfirmed(QDialog *dialog)
{
    auto *box = qobject_cast<QMessageBox *>(dialog);
    if (!box)
        return false;
    QObject *confirm = box->property(kConfirmButton).value<QObject *>();
    return confirm && box->clickedButton() == confirm;
}

QDialog *placeholderSheet(QWidget *parent, const QString &title)
{
    auto *sheet = new QDialog(parent);
    sheet->setWindowTitle(title);
    auto *layout = new QVBoxLayout(sheet);
    auto *heading = new QLabel(title);
    heading->setTextFormat(Qt::PlainText);
    layout->addWidget(heading);
    auto *buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("Закрыть"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::rejected, sheet, &QDialog::reject);
    layout->addWidget(buttons);
    sheet->resize(480, 320);
    return sheet;
}

} // namespace ScreenDialogs
