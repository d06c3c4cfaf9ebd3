#include "DesktopServices.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>

namespace {

DesktopServices *installed = nullptr;

QFileDialog *makeDialog(QWidget *parent, const FileRequest &request)
{
    auto *dialog = new QFileDialog(parent, request.title, request.directory);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    if (!request.nameFilters.isEmpty())
        dialog->setNameFilters(request.nameFilters);
    if (request.showHidden)
        dialog->setFilter(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    if (!request.acceptLabel.isEmpty())
        dialog->setLabelText(QFileDialog::Accept, request.acceptLabel);
    return dialog;
}

// Hands the choice to `done` once, whether the dialog was accepted or cancelled.
template <typename Result>
void finish(QFileDialog *dialog, std::function<void(Result)> done, std::function<Result(QFileDialog *)> choice)
{
    QObject::connect(dialog, &QDialog::finished, dialog, [dialog, done = std::move(done), choice](int result) {
        done(result == QDialog::Accepted ? choice(dialog) : Result{});
    });
    dialog->open();
}

std::optional<QString> firstChoice(QFileDialog *dialog)
{
    const QStringList files = dialog->selectedFiles();
    return files.isEmpty() ? std::nullopt : std::optional(files.first());
}

} // namespace

void DesktopServices::chooseOpenFiles(QWidget *parent, const FileRequest &request, bool multiple,
                                      std::function<void(QStringList)> done)
{
    QFileDialog *dialog = makeDialog(parent, request);
    dialog->setFileMode(multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    finish<QStringList>(dialog, std::move(done), [](QFileDialog *d) { return d->selectedFiles(); });
}

void DesktopServices::chooseSaveFile(QWidget *parent, const FileRequest &request,
                                     std::function<void(std::optional<QString>)> done)
{
    QFileDialog *dialog = makeDialog(parent, request);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDefaultSuffix(request.defaultSuffix);
    if (!request.suggestedName.isEmpty())
        dialog->selectFile(request.suggestedName);
    finish<std::optional<QString>>(dialog, std::move(done), firstChoice);
}

void DesktopServices::chooseFolder(QWidget *parent, const FileRequest &request,
                                   std::function<void(std::optional<QString>)> done)
{
    QFileDialog *dialog = makeDialog(parent, request);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    finish<std::optional<QString>>(dialog, std::move(done), firstChoice);
}

bool DesktopServices::openPath(const QString &path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }

bool DesktopServices::openUrl(const QUrl &url) { return QDesktopServices::openUrl(url); }

void DesktopServices::copyText(const QString &text) { QApplication::clipboard()->setText(text); }

DesktopServices &DesktopServices::current()
{
    static DesktopServices real;
    return installed ? *installed : real;
}

void DesktopServices::install(DesktopServices *services) { installed = services; }
