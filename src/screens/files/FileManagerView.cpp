#include "FileManagerView.h"

#include "FilePane.h"

#include "core/AppModel.h"
#include "core/PlatformTexts.h"
#include "design/DeckButton.h"
#include "design/DeckSizeReader.h"
#include "design/DeckText.h"
#include "design/Hairline.h"
#include "design/FlowLayout.h"
#include "design/Ink.h"
#include "design/OperationBar.h"
#include "design/Squircle.h"
#include "design/Symbols.h"
#include "design/Tokens.h"
#include "design/Typo.h"
#include "screenkit/ScreenDialogs.h"
#include "screenkit/DialogPresenter.h"
#include "screenkit/ViewUpdates.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QSplitter>
#include <QVBoxLayout>

namespace {

// The header's icon: the two arrows on a soft accent tile.
class IconTile : public QWidget {
public:
    explicit IconTile(QWidget *parent) : QWidget(parent) { setFixedSize(30, 30); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillPath(Squircle::path(QRectF(rect()), Radius::s), Ink::accentSoft());
        Symbols::paint(p, QStringLiteral("arrow.left.arrow.right"), QRectF(rect()), 13, Ink::accent());
    }
};

// The transfer column's backdrop: the sunken surface, a hairline along each side.
class TransferBackdrop : public QWidget {
public:
    explicit TransferBackdrop(QWidget *parent) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        QColor fill = Ink::surfaceSunken();
        fill.setAlphaF(fill.alphaF() * 0.6);
        p.fillRect(rect(), fill);
        p.fillRect(QRect(0, 0, 1, height()), Ink::stroke());
        p.fillRect(QRect(width() - 1, 0, 1, height()), Ink::stroke());
    }
};

// The panes' splitter: the user moves the dividers between the panes, and the transfer column in
// the middle keeps its width (QSplitter alone would widen its slot past the column).
class PaneSplitter : public QSplitter {
public:
    PaneSplitter(int middleWidth, QWidget *parent) : QSplitter(Qt::Horizontal, parent), m_middle(middleWidth)
    {
        connect(this, &QSplitter::splitterMoved, this, [this] { keepMiddle(); });
    }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QSplitter::resizeEvent(event);
        keepMiddle();
    }

private:
    void keepMiddle()
    {
        QList<int> now = sizes();
        if (now.size() != 3 || now[1] == m_middle)
            return;
        const int panes = now[0] + now[1] + now[2] - m_middle;
        const int sides = std::max(1, now[0] + now[2]);
        // The panes start as halves; afterwards they keep the share the user gave them.
        const int left = m_placed ? int(qint64(panes) * now[0] / sides) : panes / 2;
        m_placed = m_placed || panes > 0;
        setSizes({left, m_middle, panes - left});
    }

    int m_middle;
    bool m_placed = false;
};

} // namespace

FileManagerView::FileManagerView(AppModel *app, FileManagerState *state, bool showsHeader, QWidget *parent)
    : QWidget(parent), m_app(app), m_state(state), m_model(state->model()), m_showsHeader(showsHeader)
{
    setObjectName(QStringLiteral("fileManager"));
    setAutoFillBackground(true);
    QPalette canvas = palette();
    canvas.setColor(QPalette::Window, Ink::canvas());
    setPalette(canvas);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    if (showsHeader) {
        column->addWidget(buildHeader());
        column->addWidget(new Hairline(false, this));
    }
    m_local = new FilePane(state, app, FileManagerSide::local, this);
    m_device = new FilePane(state, app, FileManagerSide::device, this);
    m_transfer = buildTransferColumn();
    m_panesHost = new QWidget(this);
    m_panesLayout = new QHBoxLayout(m_panesHost);
    m_panesLayout->setContentsMargins(0, 0, 0, 0);
    m_panesLayout->setSpacing(0);
    column->addWidget(m_panesHost, 1);
    column->addWidget(new Hairline(false, this));
    column->addWidget(buildStatusBar());
    buildDialogs();

    arrange(DeckSizeReader::sizeFor(this));
    ViewUpdates::follow(m_model, this, [this] { refresh(); }, m_model->deviceActionInputs(), m_model->statusText,
                        m_model->localSelection, m_model->deviceSelection, m_model->localItems, m_model->deviceItems)
        ->on(app, app->devices, app->selectedDeviceID);
    // Another device, or the selected one changing state, binds the model again.
    ViewUpdates::observeEach(app, this, [this] { bindDevice(false); }, app->devices, app->selectedDeviceID);
    refresh();
    bindDevice(true);
}

FileManagerView::~FileManagerView() = default;

QString FileManagerView::headerSubtitle(const AppModel &app)
{
    const auto device = app.selectedDevice();
    return PlatformTexts::text(QStringLiteral("Mac ⇄ ")) + (device ? device->displayName() : QStringLiteral("Android"));
}

QString FileManagerView::bindingIdentity(const AppModel &app)
{
    const auto device = app.selectedDevice();
    return app.selectedDeviceID().value_or(QStringLiteral("-")) + QLatin1Char('|') +
           (device ? device->state : QStringLiteral("-"));
}

void FileManagerView::bindDevice(bool always)
{
    const QString identity = bindingIdentity(*m_app);
    if (!always && identity == m_boundIdentity)
        return;
    m_boundIdentity = identity;
    const auto device = m_app->selectedDevice();
    const std::optional<QString> serial =
        device && device->isReady() ? m_app->selectedDeviceID() : std::optional<QString>();
    m_model->configure(m_app->service, serial);
}

QWidget *FileManagerView::buildHeader()
{
    m_header = new QWidget(this);
    m_header->setObjectName(QStringLiteral("fileManagerHeader"));
    auto *row = new QHBoxLayout(m_header);
    row->setContentsMargins(int(Space::gutter), int(Space::m + 22), int(Space::gutter), int(Space::m));
    row->setSpacing(int(Space::m));
    row->addWidget(new IconTile(m_header), 0, Qt::AlignVCenter);
    auto *texts = new QVBoxLayout;
    texts->setSpacing(1);
    texts->addWidget(new DeckText(QStringLiteral("Файлы"), Typo::cardTitle(), [] { return Ink::text(); }, m_header));
    m_subtitle = new DeckText(headerSubtitle(*m_app), Typo::caption(), [] { return Ink::textTertiary(); }, m_header);
    texts->addWidget(m_subtitle);
    row->addLayout(texts, 1);
    m_refreshBoth = new DeckButton(QStringLiteral("arrow.clockwise"), QStringLiteral("Обновить обе панели"),
                                   {DeckButtonRole::secondary, DeckButtonSize::small}, m_header);
    row->addWidget(m_refreshBoth, 0, Qt::AlignVCenter);
    connect(m_refreshBoth, &QAbstractButton::clicked, this, [this] {
        m_model->refreshLocal();
        m_model->refreshDevice(false);
    });
    return m_header;
}

QWidget *FileManagerView::buildTransferColumn()
{
    auto *backdrop = new TransferBackdrop(this);
    backdrop->setObjectName(QStringLiteral("transferColumn"));
    auto *stack = new QVBoxLayout(backdrop);
    // Narrower side insets than the panes' leave the longer labels of this system whole.
    stack->setContentsMargins(int(Space::s), int(Space::s), int(Space::s), int(Space::s));
    stack->setSpacing(int(Space::m));
    const DeckButtonStyle primary{DeckButtonRole::primary, DeckButtonSize::large, true, true};
    const DeckButtonStyle secondary{DeckButtonRole::secondary, DeckButtonSize::large, true, true};
    m_upload = new DeckButton(QStringLiteral("arrow.right"), QString(), primary, backdrop);
    m_upload->setToolTip(PlatformTexts::text(QStringLiteral("Скопировать выбранные объекты с Mac на Android")));
    m_upload->setAccessibleName(PlatformTexts::text(QStringLiteral("Скопировать выбранное с Mac на Android")));
    m_download = new DeckButton(QStringLiteral("arrow.left"), QString(), secondary, backdrop);
    m_download->setToolTip(PlatformTexts::text(QStringLiteral("Скопировать выбранные объекты с Android на Mac")));
    m_download->setAccessibleName(PlatformTexts::text(QStringLiteral("Скопировать выбранное с Android на Mac")));
    m_transferRing = new IndeterminateRing(backdrop);
    stack->addStretch(1);
    stack->addWidget(m_upload);
    stack->addWidget(m_download);
    stack->addSpacing(int(Space::s) - int(Space::m));
    stack->addWidget(m_transferRing, 0, Qt::AlignHCenter);
    stack->addStretch(1);
    connect(m_upload, &QAbstractButton::clicked, this, [this] { m_model->uploadSelected(); });
    connect(m_download, &QAbstractButton::clicked, this, [this] { m_model->downloadSelected(); });
    return backdrop;
}

QWidget *FileManagerView::buildStatusBar()
{
    auto *bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("statusBar"));
    // Wraps onto a second line when the window is too narrow for one; the counts keep the
    // trailing edge.
    auto *row = new FlowLayout(bar);
    row->setContentsMargins(int(Space::gutter), int(Space::s), int(Space::gutter), int(Space::s));
    row->setFlowSpacing(Space::s, Space::xs);
    m_statusRing = new IndeterminateRing(bar);
    m_status = new DeckText(QString(), Typo::supporting(), [] { return Ink::textTertiary(); }, bar);
    m_status->setObjectName(QStringLiteral("fileStatus"));
    m_counts = new DeckText(QString(), Typo::caption(), [] { return Ink::textTertiary(); }, bar);
    m_counts->setObjectName(QStringLiteral("fileCounts"));
    m_counts->setElideMode(Qt::ElideNone);
    row->addWidget(m_statusRing);
    row->addWidget(m_status);
    row->addFlexibleSpace(0);
    row->addWidget(m_counts);
    return bar;
}

void FileManagerView::buildDialogs()
{
    FileManagerState *state = m_state;
    DeviceFileManagerModel *model = m_model;

    m_nameDialog = new DialogPresenter(
        this, {.identity = [state]() -> std::optional<QString> {
                   return state->nameAction() ? std::optional(rawValue(*state->nameAction())) : std::nullopt;
               },
               .build = [state](QWidget *parent) -> QDialog * {
                   const bool rename = isRename(*state->nameAction());
                   auto *dialog = new QInputDialog(parent);
                   dialog->setWindowTitle(rename ? QStringLiteral("Переименовать") : QStringLiteral("Новая папка"));
                   dialog->setLabelText(rename ? QStringLiteral("Укажите новое имя объекта.")
                                               : QStringLiteral("Укажите имя новой папки."));
                   dialog->setTextValue(state->nameInput());
                   dialog->setOkButtonText(rename ? QStringLiteral("Переименовать") : QStringLiteral("Создать"));
                   dialog->setCancelButtonText(QStringLiteral("Отмена"));
                   if (auto *edit = dialog->findChild<QLineEdit *>())
                       edit->setPlaceholderText(QStringLiteral("Имя"));
                   // What was typed stays for the next time the dialog opens.
                   QObject::connect(dialog, &QInputDialog::textValueChanged, state,
                                    [state](const QString &text) { state->nameInput.set(text); });
                   return dialog;
               },
               .dismissed = [state](QDialog *dialog, int result) {
                   if (result == QDialog::Accepted) {
                       state->nameInput.set(static_cast<QInputDialog *>(dialog)->textValue());
                       state->submitName();
                   } else {
                       state->nameAction.set(std::nullopt);
                   }
               },
               .afterDismissal = {}});
    state->observe(state->nameAction, this, [this] { m_nameDialog->sync(); });
    m_nameDialog->sync();

    m_deleteDialog = new DialogPresenter(
        this, {.identity = [state]() -> std::optional<QString> {
                   return state->deleteSide() ? std::optional(rawValue(*state->deleteSide())) : std::nullopt;
               },
               .build = [state, model](QWidget *parent) -> QDialog * {
                   const bool local = *state->deleteSide() == FileManagerSide::local;
                   const qsizetype count = local ? model->localSelection().size() : model->deviceSelection().size();
                   return ScreenDialogs::confirmation(
                       parent, QStringLiteral("Удалить выбранные объекты: ") + QString::number(count) + QLatin1Char('?'),
                       local ? PlatformTexts::text(QStringLiteral(
                                   "Объекты с Mac будут перемещены в Корзину, откуда их можно восстановить."))
                             : QStringLiteral("Объекты будут безвозвратно удалены с Android. Папки удаляются вместе со "
                                              "всем содержимым. Отменить это действие нельзя."),
                       local ? QStringLiteral("Переместить в Корзину") : QStringLiteral("Удалить безвозвратно"), true);
               },
               .dismissed = [state](QDialog *dialog, int) {
                   if (ScreenDialogs::wasConfirmed(dialog))
                       state->confirmDelete();
                   state->deleteSide.set(std::nullopt);
               },
               .afterDismissal = {}});
    state->observe(state->deleteSide, this, [this] { m_deleteDialog->sync(); });
    m_deleteDialog->sync();

    m_errorAlert = new DialogPresenter(
        this, {.identity = [model]() -> std::optional<QString> { return model->errorMessage(); },
               .build = [model](QWidget *parent) -> QDialog * {
                   return ScreenDialogs::alert(parent, QStringLiteral("Файловый менеджер"),
                                            model->errorMessage().value_or(QStringLiteral("Неизвестная ошибка")));
               },
               .dismissed = [model](QDialog *, int) { model->errorMessage.set(std::nullopt); },
               .afterDismissal = {}});
    model->observe(model->errorMessage, this, [this] { m_errorAlert->sync(); });
    m_errorAlert->sync();
}

bool FileManagerView::event(QEvent *event)
{
    if (event->type() == QEvent::ParentChange || event->type() == QEvent::Show)
        followReader();
    return QWidget::event(event);
}

void FileManagerView::followReader()
{
    DeckSizeReader *reader = DeckSizeReader::of(this);
    disconnect(m_readerConnection);
    if (reader)
        m_readerConnection = connect(reader, &DeckSizeReader::deckSizeChanged, this, [this](DeckSize size) { arrange(size); });
    arrange(DeckSizeReader::sizeFor(this));
}

void FileManagerView::arrange(DeckSize size)
{
    const bool compact = DeckSizes::isCompact(size);
    if (m_arranged && DeckSizes::isCompact(*m_arranged) == compact) {
        m_arranged = size;
        return;
    }
    m_arranged = size;
    m_local->setCompact(compact);
    m_device->setCompact(compact);
    m_upload->setText(compact ? QString() : QStringLiteral("На Android"));
    m_download->setText(compact ? QString() : PlatformTexts::text(QStringLiteral("На Mac")));
    QSplitter *old = m_splitter;
    m_splitter = nullptr;
    if (compact) {
        m_transfer->setFixedWidth(kCompactTransferWidth);
        m_local->setMinimumWidth(0);
        m_device->setMinimumWidth(0);
        m_panesLayout->addWidget(m_local, 1);
        m_panesLayout->addWidget(m_transfer, 0);
        m_panesLayout->addWidget(m_device, 1);
    } else {
        m_transfer->setFixedWidth(kTransferWidth);
        m_local->setMinimumWidth(kPaneMinimumWidth);
        m_device->setMinimumWidth(kPaneMinimumWidth);
        m_splitter = new PaneSplitter(kTransferWidth, m_panesHost);
        m_splitter->setObjectName(QStringLiteral("fileManagerSplitter"));
        m_splitter->setChildrenCollapsible(false);
        m_splitter->setHandleWidth(1);
        m_splitter->addWidget(m_local);
        m_splitter->addWidget(m_transfer);
        m_splitter->addWidget(m_device);
        m_splitter->setStretchFactor(0, 1);
        m_splitter->setStretchFactor(1, 0);
        m_splitter->setStretchFactor(2, 1);
        m_panesLayout->addWidget(m_splitter);
    }
    delete old;
}

void FileManagerView::refresh()
{
    const bool busy = m_model->isBusy();
    const bool ready = m_model->isDeviceReady();
    m_upload->setEnabled(!busy && ready && !m_model->localSelection().isEmpty());
    m_download->setEnabled(!busy && ready && !m_model->deviceSelection().isEmpty());
    m_transferRing->setVisible(busy);
    m_statusRing->setVisible(busy);
    m_status->setText(m_model->statusText());
    m_counts->setText(PlatformTexts::text(QStringLiteral("Mac")) + QStringLiteral(": ") +
                      QString::number(m_model->localItems().size()) + QStringLiteral(" · Android: ") +
                      QString::number(m_model->deviceItems().size()));
    if (m_refreshBoth)
        m_refreshBoth->setEnabled(!busy);
    if (m_subtitle)
        m_subtitle->setText(headerSubtitle(*m_app));
}
