#include "PresetsView.h"

#include "PresetCardDelegate.h"
#include "PresetGridAccessible.h"
#include "PresetsState.h"

#include "core/AppModel.h"
#include "core/FileNaming.h"
#include "core/PlatformTexts.h"
#include "design/AdaptiveGrid.h"
#include "design/Accessibility.h"
#include "design/DeckButton.h"
#include "design/DeckEmptyState.h"
#include "design/DeckParagraph.h"
#include "design/DeckSegmented.h"
#include "design/DeckText.h"
#include "design/Ink.h"
#include "design/Labels.h"
#include "design/Motion.h"
#include "design/Panel.h"
#include "design/SymbolTile.h"
#include "design/Symbols.h"
#include "design/Tokens.h"
#include "design/Transition.h"
#include "design/Typo.h"
#include "screenkit/ScreenDialogs.h"
#include "screenkit/DeckScreen.h"
#include "screenkit/DeckTextField.h"
#include "screenkit/DesktopServices.h"
#include "screenkit/DialogPresenter.h"
#include "screenkit/ScreenMemory.h"
#include "screenkit/ViewUpdates.h"
#include "design/ScreenHeader.h"

#include <QDateTime>
#include <QDir>
#include <QMessageBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QStringList kJsonFilter{QStringLiteral("JSON (*.json)")};

QString trimmedSpacesAndTabs(const QString &text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    while (from < to && blank(text[from]))
        ++from;
    while (to > from && blank(text[to - 1]))
        --to;
    return text.mid(from, to - from);
}

} // namespace

PresetGridView::PresetGridView(QWidget *parent) : QListView(parent)
{
    // The cards' painted buttons are read as buttons of their own.
    PresetGridAccessible::install();
    setViewMode(QListView::IconMode);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setMovement(QListView::Static);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::NoSelection);
    // Reached with Tab; a click on a card's button does not take the focus.
    setFocusPolicy(Qt::TabFocus);
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setMouseTracking(true);
    setSpacing(0);
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void PresetGridView::resizeEvent(QResizeEvent *event)
{
    QListView::resizeEvent(event);
    relayout();
}

PresetCardDelegate *PresetGridView::cards() const { return qobject_cast<PresetCardDelegate *>(itemDelegate()); }

void PresetGridView::focusPart(int row, int part)
{
    PresetCardDelegate *delegate = cards();
    const QList<PresetCardDelegate::Button> parts = delegate->focusParts();
    const QModelIndex index = model()->index(row, 0);
    const QModelIndex previous = currentIndex();
    delegate->setFocusPart(parts.value(part, parts.first()));
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    viewport()->update(visualRect(previous));
    viewport()->update(visualRect(index));
    // The page scrolls, not the grid: the page shows the card.
    for (QWidget *p = parentWidget(); p; p = p->parentWidget())
        if (auto *page = qobject_cast<QScrollArea *>(p)) {
            const QRect card = visualRect(index);
            const QPoint centre = viewport()->mapTo(page->widget(), card.center());
            page->ensureVisible(centre.x(), centre.y(), card.width() / 2, card.height() / 2);
            break;
        }
}

void PresetGridView::focusInEvent(QFocusEvent *event)
{
    QListView::focusInEvent(event);
    if (!model() || model()->rowCount() == 0 || !cards())
        return;
    // Tab enters at the first button of the first card, Shift+Tab at the last of the last.
    if (event->reason() == Qt::TabFocusReason)
        focusPart(0, 0);
    else if (event->reason() == Qt::BacktabFocusReason)
        focusPart(model()->rowCount() - 1, int(cards()->focusParts().size()) - 1);
}

bool PresetGridView::focusNextPrevChild(bool next)
{
    if (hasFocus() && model() && cards() && currentIndex().isValid()) {
        const QList<PresetCardDelegate::Button> parts = cards()->focusParts();
        int row = currentIndex().row();
        int part = int(parts.indexOf(cards()->focusPart())) + (next ? 1 : -1);
        if (part >= parts.size()) {
            ++row;
            part = 0;
        } else if (part < 0) {
            --row;
            part = int(parts.size()) - 1;
        }
        if (row >= 0 && row < model()->rowCount()) {
            focusPart(row, part);
            return true;
        }
    }
    // Past the last button (or before the first) the focus leaves the grid.
    return QWidget::focusNextPrevChild(next);
}

void PresetGridView::keyPressEvent(QKeyEvent *event)
{
    const bool press = event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (press && cards() && currentIndex().isValid()) {
        cards()->press(cards()->focusPart(), currentIndex().row());
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

void PresetGridView::relayout()
{
    // Card shapes are Space::m apart; the first column's shape starts at the grid's left edge
    // (its shadow falls inside the first cell) and the last one's shadow needs `outsets` more.
    const QMargins outsets = PresetCardDelegate::gridOutsets();
    const int step = int(Space::m);
    const int available = std::max(1, width() - outsets.right());
    // The list view starts a new row once a cell would reach the viewport's last pixel column,
    // so a row of cells gets one pixel less than the width.
    const int room = std::max(1, available - 1);
    m_columns = std::max(1, room / (PresetCardDelegate::kMinimumWidth + step));
    const int cell = std::min(room / m_columns, PresetCardDelegate::kMaximumWidth + step);
    const QSize grid(cell, PresetCardDelegate::cellHeight());
    if (gridSize() != grid)
        setGridSize(grid);
    // Columns narrower than the room they have sit in the middle; the viewport keeps the pixel
    // the view needs beside its last column.
    const int leftover = std::max(0, room - m_columns * cell);
    const QMargins centred(leftover / 2, 0, leftover - leftover / 2, 0);
    if (viewportMargins() != centred)
        setViewportMargins(centred);
    // As tall as the rows the view actually laid out and the last row's shadow, so no card can
    // fall below the bottom edge.
    executeDelayedItemsLayout();
    const int height = std::max(1, contentsSize().height() + outsets.bottom());
    if (minimumHeight() != height || maximumHeight() != height)
        setFixedHeight(height);
}

void PresetGridView::paintEvent(QPaintEvent *event)
{
    // A card's shadow reaches into its neighbours' cells: repainting a part of the grid paints
    // the cards whose shadows fall there too (the painter stays clipped to that part).
    const QMargins reach = PresetCardDelegate::shadowReach();
    QPaintEvent wider(event->rect().marginsAdded(QMargins(reach.right(), reach.bottom(), reach.left(), reach.top())));
    QListView::paintEvent(&wider);
}

PresetsView::PresetsView(AppModel *model, ScreenMemory *memory, QWidget *parent) : QWidget(parent), m_model(model)
{
    const QString folder = model->presetLibraryFolder;
    const std::function<PresetsState *()> make = [folder] { return new PresetsState(folder); };
    m_state = memory ? memory->obtain<PresetsState>(QStringLiteral("presets"), make) : make();
    if (!memory)
        m_state->setParent(this);

    m_saveSelected = new DeckButton(QStringLiteral("square.and.arrow.down"), QStringLiteral("Сохранить выбранные"),
                                    {DeckButtonRole::primary, DeckButtonSize::small});
    m_import = new DeckButton(QStringLiteral("square.and.arrow.up"), QStringLiteral("Импортировать JSON"),
                              {DeckButtonRole::secondary, DeckButtonSize::small});
    m_folder = new IconButton(QStringLiteral("folder"), {28, Tone::neutral, false});
    const QString folderText = PlatformTexts::text(QStringLiteral("Открыть папку библиотеки в Finder"));
    m_folder->setToolTip(folderText);
    m_folder->setAccessibleName(folderText);
    connect(m_saveSelected, &QAbstractButton::clicked, this, &PresetsView::prepareSaveForm);
    connect(m_import, &QAbstractButton::clicked, this, &PresetsView::chooseImportFile);
    connect(m_folder, &QAbstractButton::clicked, this, &PresetsView::openLibraryFolder);
    auto *header = new ScreenHeader(eyebrow(AppRoute::presets), QStringLiteral("Пресеты"),
                                    QStringLiteral("Сохранённые наборы пакетов, которые можно применить к любому устройству"),
                                    {m_saveSelected, m_import, m_folder});

    auto *scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("presets-scroll"));
    // Tab goes to the page's controls and the page follows the focus; the page itself is no stop.
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->viewport()->setAutoFillBackground(false);
    auto *page = new QWidget;
    auto *column = new QVBoxLayout(page);
    // The panels' shapes line up with the gutter and with the header's text; their shadows
    // reach into the margin and into the gaps between them.
    const QMargins reach = Panel::shadowMargins(PanelStyle{}).toMargins();
    column->setContentsMargins(int(Space::gutter) - reach.left(), 0, int(Space::gutter) - reach.right(), int(Space::xl));
    column->setSpacing(0);
    auto *sections = new QWidget(page);
    auto *stack = new AdaptiveGrid(0, 0, Space::l, sections);
    stack->setItemOutsets(reach);
    stack->addWidget(buildExplainer());
    stack->addWidget(buildSaveForm());
    stack->addWidget(buildLibrary());
    column->addWidget(sections);
    column->addSpacing(int(Space::xl));
    column->addStretch(1);
    scroll->setWidget(page);
    page->setAutoFillBackground(false); // setWidget turns it on; the canvas shows through
    if (memory)
        memory->keepScroll(scroll, QStringLiteral("presets"));

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(new DeckScreen(std::nullopt, header, scroll, this));

    PresetLibrary *library = m_state->library();
    m_errorAlert = new DialogPresenter(
        this, {.identity = [library] { return library->errorMessage(); },
               .build = [library](QWidget *parent) -> QDialog * {
                   return ScreenDialogs::alert(parent, QStringLiteral("Библиотека пресетов"),
                                            library->errorMessage().value_or(QString()));
               },
               .dismissed = [library](QDialog *, int) { library->errorMessage.set(std::nullopt); },
               .afterDismissal = {}});
    library->observe(library->errorMessage, this, [this] { m_errorAlert->sync(); });

    PresetsState *state = m_state;
    m_deleteConfirmation = new DialogPresenter(
        this, {.identity = [state]() -> std::optional<QString> {
                   return state->pendingDelete() ? std::optional(state->pendingDelete()->path) : std::nullopt;
               },
               .build = [state](QWidget *parent) -> QDialog * {
                   const QString name = state->pendingDelete() ? state->pendingDelete()->preset.name : QString();
                   return ScreenDialogs::confirmation(parent, QStringLiteral("Удалить пресет «%1»?").arg(name),
                                                   QStringLiteral("Файл будет перемещён в Корзину — его можно восстановить."),
                                                   QStringLiteral("Переместить в Корзину"), true);
               },
               .dismissed = [state](QDialog *dialog, int) {
                   const std::optional<StoredPreset> pending = state->pendingDelete();
                   state->pendingDelete.set(std::nullopt);
                   if (pending && ScreenDialogs::wasConfirmed(dialog))
                       state->library()->remove(*pending);
               },
               .afterDismissal = {}});
    m_state->observe(m_state->pendingDelete, this, [this] { m_deleteConfirmation->sync(); });

    model->observe(model->selectedPackageIDs, this, [this] { updateSelection(); });
    ViewUpdates::observeEach(model, this, [this] { updateDevice(); }, model->deviceReadinessInputs());
    ViewUpdates::observeEach(m_state, this, [this] { updateForm(); }, m_state->showSaveForm, m_state->presetName);
    library->observe(library->presets, this, [this] { updateLibrary(); });
    updateSelection();
    updateForm();
    updateLibrary();
    updateDevice();
    m_errorAlert->sync();
    m_deleteConfirmation->sync();
}

QWidget *PresetsView::buildExplainer()
{
    auto *panel = new DeckPanel;
    panel->setObjectName(QStringLiteral("presets-explainer"));
    panel->setPadding(QMarginsF(Space::l, Space::l, Space::l, Space::l));
    auto *row = new QHBoxLayout(panel);
    row->setSpacing(int(Space::m));
    row->addWidget(new SymbolTile(QStringLiteral("rectangle.stack.badge.play.fill"), 34, 15, Radius::s), 0, Qt::AlignTop);
    auto *texts = new QVBoxLayout;
    texts->setSpacing(int(Space::xs));
    texts->addWidget(new DeckText(QStringLiteral("Как это работает"), Typo::bodyMedium(), [] { return Ink::text(); }));
    texts->addWidget(ViewUpdates::wrappingLabel(
        QStringLiteral("Пресет — это обычный JSON-файл со списком идентификаторов пакетов и действием. При применении "
                       "приложение сверяет список с реальным устройством, показывает, что найдено, а что отсутствует, и "
                       "выполняет действие только после подтверждения."),
        Typo::supporting(), [] { return Ink::textSecondary(); }));
    row->addLayout(texts, 1);
    return panel;
}

QWidget *PresetsView::buildSaveForm()
{
    m_form = new DeckPanel;
    m_form->setObjectName(QStringLiteral("presets-save-form"));
    m_form->setPadding(QMarginsF(Space::l, Space::l, Space::l, Space::l));
    auto *column = new QVBoxLayout(m_form);
    column->setSpacing(int(Space::m));
    m_formHeader = new SectionHeader(QStringLiteral("Новый пресет"), QStringLiteral("Будет записано 0 выбранных пакетов"));
    column->addWidget(m_formHeader);
    m_name = new DeckTextField(QStringLiteral("Название"));
    m_description = new DeckTextField(QStringLiteral("Описание (необязательно)"));
    bindDeckTextField(m_name, m_state, m_state->presetName);
    bindDeckTextField(m_description, m_state, m_state->presetDescription);
    column->addWidget(m_name);
    column->addWidget(m_description);

    QList<DeckSegmented::Item> items;
    for (PresetAction action : allCases<PresetAction>())
        items.append({QVariant::fromValue(int(action)), title(action), std::nullopt, std::nullopt});
    m_action = new DeckSegmented(items, int(m_state->presetAction()), QStringLiteral("Действие пресета"));
    connect(m_action, &DeckSegmented::selectionChanged, this,
            [this](const QVariant &value) { m_state->presetAction.set(PresetAction(value.toInt())); });
    m_state->observe(m_state->presetAction, m_action, [this] { m_action->setSelection(int(m_state->presetAction())); });
    auto *actionRow = new QHBoxLayout;
    actionRow->addWidget(m_action);
    actionRow->addStretch(1);
    column->addLayout(actionRow);

    m_store = new DeckButton(QStringLiteral("Сохранить в библиотеку"), {DeckButtonRole::primary, DeckButtonSize::small});
    m_exportForm = new DeckButton(QStringLiteral("Экспортировать в файл…"), {DeckButtonRole::secondary, DeckButtonSize::small});
    m_cancel = new DeckButton(QStringLiteral("Отмена"), {DeckButtonRole::ghost, DeckButtonSize::small});
    connect(m_store, &QAbstractButton::clicked, this, &PresetsView::saveToLibrary);
    connect(m_exportForm, &QAbstractButton::clicked, this, &PresetsView::chooseExportDestination);
    connect(m_cancel, &QAbstractButton::clicked, this, &PresetsView::cancelSaveForm);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(int(Space::s));
    buttons->addWidget(m_store);
    buttons->addWidget(m_exportForm);
    buttons->addStretch(1);
    buttons->addWidget(m_cancel);
    column->addLayout(buttons);
    return m_form;
}

QWidget *PresetsView::buildLibrary()
{
    // Laid out like a panel with its shadow's room around it: the header's text starts where the
    // panels' shapes do, and the cards' shapes start Space::m below it.
    const QMargins reach = Panel::shadowMargins(PanelStyle{}).toMargins();
    auto *box = new QWidget;
    box->setObjectName(QStringLiteral("presets-library"));
    auto *column = new QVBoxLayout(box);
    column->setContentsMargins(0, reach.top(), 0, 0);
    column->setSpacing(std::max(0, int(Space::m) - reach.top()));
    m_libraryHeader = new SectionHeader(QStringLiteral("Библиотека"), QStringLiteral("Пока пусто"));
    auto *headerBox = new QWidget(box);
    auto *headerLine = new QHBoxLayout(headerBox);
    headerLine->setContentsMargins(reach.left(), 0, reach.right(), 0);
    headerLine->addWidget(m_libraryHeader);
    column->addWidget(headerBox);

    auto *emptyPanel = new DeckPanel;
    emptyPanel->setObjectName(QStringLiteral("presets-empty"));
    auto *emptyLayout = new QVBoxLayout(emptyPanel);
    emptyLayout->addWidget(new DeckEmptyState(
        QStringLiteral("rectangle.stack.badge.plus"), QStringLiteral("Библиотека пуста"),
        QStringLiteral("Выберите приложения в разделе «Приложения» и сохраните их как пресет, либо импортируйте готовый "
                       "JSON-файл.")));
    const QMarginsF shadow = Panel::shadowMargins(PanelStyle{});
    emptyPanel->setFixedHeight(240 + int(std::ceil(shadow.top() + shadow.bottom())));
    m_empty = emptyPanel;
    column->addWidget(m_empty);

    m_grid = new PresetGridView;
    m_grid->setObjectName(QStringLiteral("presets-grid"));
    m_cards = new PresetCardDelegate(m_grid);
    m_grid->setItemDelegate(m_cards);
    m_grid->setModel(m_state->cards());
    connect(m_cards, &PresetCardDelegate::applyRequested, this, &PresetsView::applyStored);
    connect(m_cards, &PresetCardDelegate::exportRequested, this, &PresetsView::exportStored);
    connect(m_cards, &PresetCardDelegate::deleteRequested, this, &PresetsView::askToDelete);
    column->addWidget(m_grid);
    return box;
}

void PresetsView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Files added to the folder from outside are listed each time the screen comes on screen.
    m_state->library()->reload();
}

QString PresetsView::saveSelectedToolTip(qsizetype count)
{
    if (count == 0)
        return QStringLiteral("Сначала выберите приложения в разделе «Приложения»");
    return QStringLiteral("Сохранить %1 выбранных пакетов").arg(count);
}

bool PresetsView::nameAllowsSaving(const QString &name) { return !trimmedSpacesAndTabs(name).isEmpty(); }

void PresetsView::updateSelection()
{
    const qsizetype count = m_model->selectedPackageIDs().size();
    m_saveSelected->setEnabled(count > 0);
    m_saveSelected->setToolTip(saveSelectedToolTip(count));
    m_formHeader->subtitleLabel()->setText(QStringLiteral("Будет записано %1 выбранных пакетов").arg(count));
}

void PresetsView::updateForm()
{
    showForm(m_state->showSaveForm());
    const bool allowed = nameAllowsSaving(m_state->presetName());
    m_store->setEnabled(allowed);
    m_exportForm->setEnabled(allowed);
}

void PresetsView::showForm(bool shown)
{
    if (m_formShown == shown)
        return;
    const bool first = !m_formShown.has_value();
    m_formShown = shown;
    Transition::settle(m_form);
    const std::optional<Animation> motion =
        shown && !first && isVisible() ? Motion::resolve(Motion::smooth(), A11y::reduceMotion()) : std::nullopt;
    if (!shown || !motion) {
        // Closing is immediate.
        m_form->setMaximumHeight(QWIDGETSIZE_MAX);
        m_form->setVisible(shown);
        return;
    }
    // The form unrolls from its top edge as it fades in.
    const int width = m_form->width() > 0 ? m_form->width() : m_form->parentWidget()->width();
    const int full = std::max(1, m_form->heightForWidth(width));
    DeckPanel *form = m_form;
    form->setMaximumHeight(0);
    form->show();
    Transition::run(form, motion, {.opacity = std::pair(0.0, 1.0)},
                    {.step = [form, full](qreal t) { form->setMaximumHeight(qRound(full * t)); },
                     .done = [form] { form->setMaximumHeight(QWIDGETSIZE_MAX); }});
}

void PresetsView::updateLibrary()
{
    const qsizetype count = m_state->library()->presets().size();
    m_libraryHeader->subtitleLabel()->setText(count == 0 ? QStringLiteral("Пока пусто")
                                                         : QStringLiteral("%1 пресетов").arg(count));
    m_empty->setVisible(count == 0);
    m_grid->setVisible(count > 0);
    m_grid->relayout();
}

void PresetsView::updateDevice()
{
    const bool usable = m_model->isDeviceUsable();
    if (usable == m_cards->canApply())
        return;
    m_cards->setCanApply(usable);
    m_grid->viewport()->update();
}

void PresetsView::prepareSaveForm()
{
    m_state->presetName.set(QStringLiteral("Пресет ")
                            + QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm")));
    m_state->presetDescription.set(QString());
    m_state->presetAction.set(PresetAction::disable);
    m_state->showSaveForm.set(true);
}

std::optional<PackagePreset> PresetsView::buildPreset() const
{
    const QString name = m_state->presetName().trimmed();
    if (name.isEmpty())
        return std::nullopt;
    QStringList packages = m_model->selectedPackageIDs().values();
    if (packages.isEmpty())
        return std::nullopt;
    std::sort(packages.begin(), packages.end());
    return PackagePreset{PackagePreset::supportedVersion,
                         name,
                         m_state->presetDescription().trimmed(),
                         m_state->presetAction(),
                         packages,
                         PackagePreset::timestamp(QDateTime::currentDateTimeUtc())};
}

void PresetsView::saveToLibrary()
{
    const std::optional<PackagePreset> preset = buildPreset();
    if (!preset)
        return;
    // A failed write keeps the form open; the library's alert says why.
    if (!m_state->library()->store(*preset))
        return;
    m_state->showSaveForm.set(false);
    m_model->record(QStringLiteral("Пресет сохранён"),
                    QStringLiteral("%1 · %2 пакетов").arg(preset->name).arg(preset->packages.size()), true);
}

void PresetsView::chooseExportDestination()
{
    FileRequest request;
    request.title = QStringLiteral("Сохранить JSON-пресет");
    request.nameFilters = kJsonFilter;
    request.suggestedName = QStringLiteral("larkspur-preset-") + FileNaming::timestamp() + QStringLiteral(".json");
    QPointer<PresetsView> self(this);
    DesktopServices::current().chooseSaveFile(this, request, [self](std::optional<QString> path) {
        if (!self || !path || path->isEmpty())
            return;
        PresetsState *state = self->m_state;
        self->m_model->savePreset(*path, state->presetName(), state->presetDescription(), state->presetAction());
        state->showSaveForm.set(false);
    });
}

void PresetsView::cancelSaveForm() { m_state->showSaveForm.set(false); }

void PresetsView::chooseImportFile()
{
    FileRequest request;
    request.title = QStringLiteral("Выберите JSON-пресет");
    request.nameFilters = kJsonFilter;
    QPointer<PresetsView> self(this);
    DesktopServices::current().chooseOpenFiles(this, request, false, [self](QStringList paths) {
        if (!self || paths.isEmpty() || paths.first().isEmpty())
            return;
        const QString chosen = paths.first();
        // The copy comes first and whatever the check finds; the preview shows the chosen file.
        self->m_state->library()->copyIn(chosen);
        self->m_model->loadPreset(chosen);
    });
}

void PresetsView::openLibraryFolder()
{
    const QString folder = m_state->library()->folder();
    QDir().mkpath(folder);
    DesktopServices::current().openPath(folder);
}

const StoredPreset *PresetsView::storedAt(int row) const
{
    const auto &presets = m_state->library()->presets();
    return row >= 0 && row < presets.size() ? &presets.at(row) : nullptr;
}

void PresetsView::applyStored(int row)
{
    if (const StoredPreset *stored = storedAt(row); stored && m_model->isDeviceUsable())
        m_model->loadPreset(stored->path);
}

void PresetsView::exportStored(int row)
{
    const StoredPreset *stored = storedAt(row);
    if (!stored)
        return;
    FileRequest request;
    request.title = QStringLiteral("Экспорт пресета");
    request.nameFilters = kJsonFilter;
    request.suggestedName = QFileInfo(stored->path).fileName();
    QPointer<PresetsView> self(this);
    DesktopServices::current().chooseSaveFile(this, request, [self, copy = *stored](std::optional<QString> path) {
        if (!self || !path || path->isEmpty())
            return;
        self->m_state->library()->exportTo(copy, *path);
    });
}

void PresetsView::askToDelete(int row)
{
    if (const StoredPreset *stored = storedAt(row))
        m_state->pendingDelete.set(*stored);
}
