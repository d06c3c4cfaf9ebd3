#include "ApplicationsView.h"

#include "AppIconCache.h"
#include "AppInspectorView.h"
#include "ApplicationsFilterBar.h"
#include "ApplicationsState.h"
#include "PackageListPane.h"
#include "SaveFilterSheet.h"

#include "core/AppModel.h"
#include "core/AppSettings.h"
#include "design/DeckButton.h"
#include "design/DeckParagraph.h"
#include "design/DeckSearchField.h"
#include "design/DeckSizeReader.h"
#include "design/Hairline.h"
#include "design/MenuButton.h"
#include "design/ScreenHeader.h"
#include "design/Tokens.h"
#include "screenkit/DeckScreen.h"
#include "screenkit/DeckTextField.h"
#include "screenkit/DesktopServices.h"
#include "screenkit/DialogPresenter.h"
#include "screenkit/ScreenMemory.h"
#include "screenkit/ViewUpdates.h"

#include <QActionGroup>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QMenu>
#include <QShortcut>
#include <QSplitter>
#include <QVBoxLayout>

namespace {

// Runs an install and empties the icon cache once it ends, whatever its outcome, so icons of
// packages that were just installed are decoded from their new icon data. The model outlives it.
QCoro::Task<void> installThenForgetIcons(QPointer<AppModel> model, QStringList files)
{
    if (!model)
        co_return;
    co_await model->install(std::move(files));
    AppIconCache::shared().reset();
}

} // namespace

ApplicationsView::ApplicationsView(AppModel *model, AppSettings *settings, ScreenMemory *memory, QWidget *parent)
    : QWidget(parent), m_model(model), m_settings(settings)
{
    setObjectName(QStringLiteral("applications"));
    m_state = memory->obtain<ApplicationsState>(QStringLiteral("applications"),
                                                [model] { return new ApplicationsState(model); });
    m_state->refreshNow();

    // Header controls: search, sort and density, install and export, refresh.
    m_searchBox = new QWidget;
    auto *searchRow = new QHBoxLayout(m_searchBox);
    searchRow->setContentsMargins(0, 0, 0, 0);
    buildSearchField();

    m_sortButton = new MenuButton(QStringLiteral("line.3.horizontal.decrease.circle"), QString(), 30);
    m_sortButton->setObjectName(QStringLiteral("sortMenu"));
    m_sortButton->setToolTip(QStringLiteral("Сортировка и плотность списка"));
    m_sortButton->setAccessibleName(QStringLiteral("Сортировка, плотность списка и колонка риска"));
    auto *sortMenu = new QMenu(m_sortButton);
    sortMenu->addSection(QStringLiteral("Сортировка"));
    auto *sorts = new QActionGroup(sortMenu);
    for (PackageSort sort : allCases<PackageSort>()) {
        QAction *item = sortMenu->addAction(title(sort));
        item->setIcon(QIcon()); // the check mark marks the choice
        item->setCheckable(true);
        item->setData(int(sort));
        sorts->addAction(item);
        connect(item, &QAction::triggered, this, [this, sort] { m_model->sortOrder.set(sort); });
    }
    sortMenu->addSeparator();
    QAction *ascending = sortMenu->addAction(QStringLiteral("По возрастанию"));
    ascending->setCheckable(true);
    connect(ascending, &QAction::triggered, this, [this](bool on) { m_model->sortAscending.set(on); });
    sortMenu->addSection(QStringLiteral("Плотность"));
    auto *densities = new QActionGroup(sortMenu);
    for (ListDensity density : allCases<ListDensity>()) {
        QAction *item = sortMenu->addAction(title(density));
        item->setCheckable(true);
        item->setData(int(density));
        densities->addAction(item);
        connect(item, &QAction::triggered, this, [this, density] { m_settings->density.set(density); });
    }
    sortMenu->addSeparator();
    QAction *risk = sortMenu->addAction(QStringLiteral("Показывать уровень риска"));
    risk->setCheckable(true);
    connect(risk, &QAction::triggered, this, [this](bool on) { m_settings->showRiskColumn.set(on); });
    m_sortButton->setMenu(sortMenu);
    const auto showChoices = [this, sorts, ascending, densities, risk] {
        for (QAction *item : sorts->actions())
            item->setChecked(item->data().toInt() == int(m_model->sortOrder()));
        ascending->setChecked(m_model->sortAscending());
        for (QAction *item : densities->actions())
            item->setChecked(item->data().toInt() == int(m_settings->density()));
        risk->setChecked(m_settings->showRiskColumn());
    };
    ViewUpdates::observeEach(model, this, showChoices, model->sortOrder, model->sortAscending);
    ViewUpdates::observeEach(settings, this, showChoices, settings->density, settings->showRiskColumn);
    showChoices();

    m_installButton = new MenuButton(QStringLiteral("shippingbox"), QString(), 30);
    m_installButton->setObjectName(QStringLiteral("installMenu"));
    m_installButton->setToolTip(QStringLiteral("Установка и выгрузка APK"));
    m_installButton->setAccessibleName(QStringLiteral("Установка и выгрузка APK"));
    auto *installMenu = new QMenu(m_installButton);
    installMenu->addAction(QStringLiteral("Установить APK или APKS…"), this, &ApplicationsView::chooseInstallFiles);
    m_exportAction = installMenu->addAction(QStringLiteral("Выгрузить выбранные APK…"), this,
                                            &ApplicationsView::choosePackageExportDirectory);
    m_installButton->setMenu(installMenu);

    m_refresh = new IconButton(QStringLiteral("arrow.clockwise"), IconButtonStyle{30, Tone::neutral, false});
    m_refresh->setObjectName(QStringLiteral("refreshPackages"));
    m_refresh->setToolTip(QStringLiteral("Перечитать список приложений с устройства"));
    m_refresh->setAccessibleName(QStringLiteral("Обновить список приложений"));
    connect(m_refresh, &QAbstractButton::clicked, this, &ApplicationsView::refreshCatalogue);

    m_header = new ScreenHeader(eyebrow(AppRoute::applications), QStringLiteral("Приложения"), QString(),
                                {m_searchBox, m_sortButton, m_installButton, m_refresh});

    // Content: filter bar, a hairline, and the list beside the inspector.
    auto *content = new QWidget;
    auto *stack = new QVBoxLayout(content);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);
    m_filterBar = new ApplicationsFilterBar(model, settings, m_state, content);
    stack->addWidget(m_filterBar);
    stack->addWidget(new Hairline(false, content));
    m_split = new QSplitter(Qt::Horizontal, content);
    m_split->setObjectName(QStringLiteral("applicationsSplit"));
    m_split->setChildrenCollapsible(false);
    m_split->setHandleWidth(1);
    m_pane = new PackageListPane(model, settings, m_state, [this] { choosePackageExportDirectory(); }, m_split);
    m_split->addWidget(m_pane);
    m_split->setStretchFactor(0, 1);
    stack->addWidget(m_split, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new DeckScreen(std::nullopt, m_header, content, this));

    m_saveFilter = new DialogPresenter(
        this, {.identity = [this]() -> std::optional<QString> {
                   return m_state->showSaveFilter() ? std::optional(QStringLiteral("save-filter")) : std::nullopt;
               },
               .build = [this](QWidget *parent) -> QDialog * {
                   return new SaveFilterSheet(m_model, m_settings, m_state, parent);
               },
               .dismissed = [this](QDialog *, int) { m_state->showSaveFilter.set(false); },
               .afterDismissal = {}});
    m_state->observe(m_state->showSaveFilter, this, [this] { m_saveFilter->sync(); });

    // Ctrl+F (⌘F on the Mac) finds: the hint in the search field names this key.
    auto *find = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this);
    find->setContext(Qt::WidgetWithChildrenShortcut);
    connect(find, &QShortcut::activated, this, [this] {
        m_search->lineEdit()->setFocus(Qt::ShortcutFocusReason);
        m_search->lineEdit()->selectAll();
    });

    ViewUpdates::follow(model, this, [this] { refreshHeader(); }, model->packages, model->selectedPackageIDs,
                        model->deviceReadinessInputs())
        ->on(m_state, m_state->rows);
    ViewUpdates::observeEach(model, this, [this] { arrangeContent(); }, model->inspectorPackageID);
    refreshHeader();
    arrangeContent();
    m_saveFilter->sync();
}

DeckSize ApplicationsView::deckSize() const
{
    if (m_pinned)
        return *m_pinned;
    return m_reader ? m_reader->deckSize() : DeckSizeReader::sizeFor(this);
}

void ApplicationsView::setDeckSize(std::optional<DeckSize> size)
{
    m_pinned = size;
    m_header->setDeckSize(size);
    buildSearchField();
    arrangeContent();
}

bool ApplicationsView::event(QEvent *event)
{
    if (event->type() == QEvent::ParentChange || event->type() == QEvent::Show)
        findReader();
    return QWidget::event(event);
}

void ApplicationsView::findReader()
{
    DeckSizeReader *reader = parentWidget() ? DeckSizeReader::of(parentWidget()) : nullptr;
    if (reader != m_reader) {
        disconnect(m_readerConnection);
        m_reader = reader;
        if (reader)
            m_readerConnection = connect(reader, &DeckSizeReader::deckSizeChanged, this, [this] {
                buildSearchField();
                arrangeContent();
            });
    }
    buildSearchField();
    arrangeContent();
}

void ApplicationsView::buildSearchField()
{
    const bool compact = DeckSizes::isCompact(deckSize());
    if (m_search && m_searchCompact == compact)
        return;
    m_searchCompact = compact;
    const bool hadFocus = m_search && m_search->lineEdit()->hasFocus();
    delete m_search;
    const QString hint = QKeySequence(Qt::CTRL | Qt::Key_F).toString(QKeySequence::NativeText);
    m_search = compact ? new DeckSearchField(QStringLiteral("Поиск"), 170, 140, std::nullopt, m_searchBox)
                       : new DeckSearchField(QStringLiteral("Название или пакет"), 250, 140, hint, m_searchBox);
    m_search->setObjectName(QStringLiteral("packageSearch"));
    m_search->lineEdit()->setAccessibleName(QStringLiteral("Поиск приложений"));
    bindDeckTextField(m_search, m_model, m_model->searchText);
    m_searchBox->layout()->addWidget(m_search);
    if (hadFocus)
        m_search->lineEdit()->setFocus();
}

QString ApplicationsView::subtitle() const
{
    const qsizetype total = m_model->packages().size();
    if (total == 0)
        return m_model->isBusy() ? QStringLiteral("Загрузка каталога устройства…") : QStringLiteral("Список пуст");
    QString text = QStringLiteral("Показано %1 из %2").arg(m_state->rows.size()).arg(total);
    if (const qsizetype selected = m_model->selectedPackageIDs().size())
        text += QStringLiteral(" · выбрано %1").arg(selected);
    return text;
}

void ApplicationsView::refreshHeader()
{
    m_state->refreshNow();
    if (DeckParagraph *label = m_header->subtitleLabel())
        label->setText(subtitle());
    const bool canRun = m_model->canRunDeviceAction();
    // Search and the sort menu stay usable; device work waits for a ready, idle device.
    m_installButton->setEnabled(canRun);
    m_refresh->setEnabled(canRun);
    m_exportAction->setEnabled(canRun && !m_model->selectedPackageIDs().isEmpty());
}

void ApplicationsView::arrangeContent()
{
    const bool inspecting = m_model->inspectorPackageID().has_value();
    if (inspecting && !m_inspector) {
        m_inspector = new AppInspectorView(m_model);
        m_split->addWidget(m_inspector);
        m_split->setStretchFactor(1, 0);
        const int total = std::max(m_split->width(), 300 + AppInspectorView::kIdealWidth);
        m_split->setSizes({total - AppInspectorView::kIdealWidth, AppInspectorView::kIdealWidth});
    } else if (!inspecting && m_inspector) {
        // Closing the panel forgets its open groups.
        delete m_inspector;
    }
    const bool compact = DeckSizes::isCompact(deckSize());
    // In a compact window the inspector takes the whole area in place of the list.
    m_pane->setVisible(!(compact && inspecting));
    if (m_inspector) {
        m_inspector->setMinimumWidth(compact ? 0 : AppInspectorView::kMinimumWidth);
        m_inspector->setMaximumWidth(compact ? QWIDGETSIZE_MAX : AppInspectorView::kMaximumWidth);
    }
}

void ApplicationsView::refreshCatalogue()
{
    AppIconCache::shared().reset();
    m_model->refreshPackages(true); // runs on by itself
}

void ApplicationsView::chooseInstallFiles()
{
    FileRequest request;
    request.title = QStringLiteral("Выберите APK, split APK или APKS");
    request.nameFilters = {QStringLiteral("APK и APKS (*.apk *.apks)")};
    QPointer<AppModel> model = m_model;
    DesktopServices::current().chooseOpenFiles(this, request, true, [model](const QStringList &files) {
        if (!files.isEmpty())
            installThenForgetIcons(model, files);
    });
}

void ApplicationsView::choosePackageExportDirectory()
{
    FileRequest request;
    request.title = QStringLiteral("Выберите папку для сохранения APK");
    request.acceptLabel = QStringLiteral("Сохранить");
    QPointer<AppModel> model = m_model;
    DesktopServices::current().chooseFolder(this, request, [model](const std::optional<QString> &folder) {
        if (model && folder)
            model->exportSelectedPackages(*folder);
    });
}
