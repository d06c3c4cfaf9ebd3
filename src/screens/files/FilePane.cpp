#include "FilePane.h"

#include "FileRowDelegate.h"

#include "core/AppModel.h"
#include "core/PlatformTexts.h"
#include "design/FocusRing.h"
#include "design/DeckButton.h"
#include "design/DeckCheckbox.h"
#include "design/DeckEmptyState.h"
#include "design/DeckText.h"
#include "design/FlowLayout.h"
#include "design/Hairline.h"
#include "design/Ink.h"
#include "design/ShownText.h"
#include "design/Symbols.h"
#include "design/ToneInk.h"
#include "design/Tokens.h"
#include "design/Typo.h"
#include "screenkit/DeckTextField.h"
#include "screenkit/DesktopServices.h"
#include "screenkit/ViewUpdates.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QVBoxLayout>

namespace {

// The pane's title row: a small symbol in the tone's colour and the title, on the surface.
class PaneTitle : public QWidget {
public:
    explicit PaneTitle(QWidget *parent) : QWidget(parent)
    {
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        setAccessibleDescription(QStringLiteral("Заголовок"));
    }
    void show(const QString &title, const QString &symbol, Tone tone)
    {
        if (title == m_title && symbol == m_symbol && tone == m_tone)
            return;
        m_title = title;
        m_symbol = symbol;
        m_tone = tone;
        setAccessibleName(ShownText::accessible(title));
        update();
    }
    QString title() const { return m_title; }
    Tone tone() const { return m_tone; }
    QSize sizeHint() const override
    {
        return {120, int(std::ceil(QFontMetricsF(Typo::bodyMedium()).height() + 2 * Space::s))};
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QColor fill = Ink::surface();
        fill.setAlphaF(fill.alphaF() * 0.7);
        p.fillRect(rect(), fill);
        const QRectF inner = QRectF(rect()).adjusted(Space::m, 0, -Space::m, 0);
        Symbols::paint(p, m_symbol, QRectF(inner.left(), inner.top(), 12, inner.height()), 11, foreground(m_tone));
        const QRectF text = inner.adjusted(12 + Space::s, 0, 0, 0);
        p.setFont(Typo::bodyMedium());
        p.setPen(Ink::text());
        const QString shown = ShownText::line(m_title);
        p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                   QFontMetricsF(Typo::bodyMedium()).elidedText(shown, Qt::ElideRight, text.width()));
    }

private:
    QString m_title;
    QString m_symbol;
    Tone m_tone = Tone::neutral;
};

// Wide enough for a numeric date and time in the monospaced font.
constexpr int kModifiedWidth = 140;
// The narrowest the name and date columns get (the size column keeps the header's 52).
constexpr int kNameMinimum = 88;
constexpr int kModifiedMinimum = 76;

// The column titles: small, quiet, aligned with the cells' text, over a hairline.
QString headerStyle()
{
    return QStringLiteral("QHeaderView { background: transparent; border: none; }"
                          "QHeaderView::section { background: transparent; color: %1; border: none;"
                          " border-bottom: 1px solid %2; padding: 0px %3px; height: 24px; }")
        .arg(Ink::textTertiary().name(QColor::HexArgb), Ink::stroke().name(QColor::HexArgb))
        .arg(int(Space::s));
}

IconButton *pathButton(const QString &symbol, const QString &tip, const QString &label, QWidget *parent)
{
    auto *button = new IconButton(symbol, {26, Tone::neutral, false}, parent);
    button->setToolTip(tip);
    button->setAccessibleName(label);
    return button;
}

} // namespace

// --- FileTableView ---

FileTableView::FileTableView(QWidget *parent) : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Tab leaves the table (the arrow keys walk its rows); with no row in sight to ring it still
    // shows its focus.
    setTabKeyNavigation(false);
    FocusRing::followView(this);
    setShowGrid(false);
    setWordWrap(false);
    setFrameShape(QFrame::NoFrame);
    setMouseTracking(true);
    setSortingEnabled(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setContextMenuPolicy(Qt::CustomContextMenu);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setMinimumSectionSize(kRowHeight);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(52);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setFont(Typo::label());
    horizontalHeader()->setStyleSheet(headerStyle());
    setItemDelegate(new FileRowDelegate(kRowHeight, this));
    // The delegate paints the selection; the style's own highlight would cover it.
    QPalette quiet = palette();
    quiet.setColor(QPalette::Highlight, Qt::transparent);
    quiet.setColor(QPalette::Base, Qt::transparent);
    setPalette(quiet);
    viewport()->setAutoFillBackground(false);
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.isValid())
            Q_EMIT openRequested(index.row());
    });
}

void FileTableView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    for (const QModelIndex &index : {previous, current})
        if (index.isValid())
            viewport()->update(0, rowViewportPosition(index.row()), viewport()->width(), rowHeight(index.row()));
}

void FileTableView::setColumnMinimum(int column, int width)
{
    if (m_minima.isEmpty())
        connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] { scheduleColumnMinima(); });
    m_minima[column] = width;
    scheduleColumnMinima();
}

void FileTableView::scheduleColumnMinima()
{
    // Once the header has finished its own resizing: a section resized from inside its passes
    // would be resized again by the rest of them.
    if (m_keepScheduled)
        return;
    m_keepScheduled = true;
    QMetaObject::invokeMethod(this, [this] {
        m_keepScheduled = false;
        keepColumnMinima();
    }, Qt::QueuedConnection);
}

int FileTableView::columnMinimum(int column) const
{
    return m_minima.value(column, horizontalHeader()->minimumSectionSize());
}

void FileTableView::keepColumnMinima()
{
    // A hidden table has no width of its own yet (a rebuilt screen is shown a turn after it is
    // made): judged against it, the other columns would give the name column all they have and
    // keep their minima once the table is shown at its real width.
    if (m_keeping || !isVisible())
        return;
    m_keeping = true;
    QHeaderView *header = horizontalHeader();
    for (auto it = m_minima.cbegin(); it != m_minima.cend(); ++it) {
        const int column = it.key();
        if (isColumnHidden(column) || header->sectionResizeMode(column) == QHeaderView::Stretch)
            continue;
        if (header->sectionSize(column) < it.value())
            header->resizeSection(column, it.value());
    }
    for (auto it = m_minima.cbegin(); it != m_minima.cend(); ++it) {
        const int stretching = it.key();
        if (isColumnHidden(stretching) || header->sectionResizeMode(stretching) != QHeaderView::Stretch)
            continue;
        // What the stretching column has of the width the others leave.
        int others = 0;
        for (int column = 0; column < header->count(); ++column)
            if (column != stretching && !isColumnHidden(column))
                others += header->sectionSize(column);
        int lacking = it.value() - (viewport()->width() - others);
        for (int column = header->count() - 1; column >= 0 && lacking > 0; --column) {
            if (column == stretching || isColumnHidden(column)
                || header->sectionResizeMode(column) == QHeaderView::Stretch)
                continue;
            const int spare = header->sectionSize(column) - columnMinimum(column);
            const int given = std::min(lacking, std::max(0, spare));
            if (given > 0)
                header->resizeSection(column, header->sectionSize(column) - given);
            lacking -= given;
        }
    }
    m_keeping = false;
}

void FileTableView::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    if (!m_minima.isEmpty())
        scheduleColumnMinima();
}

void FileTableView::showEvent(QShowEvent *event)
{
    QTableView::showEvent(event);
    if (!m_minima.isEmpty())
        scheduleColumnMinima();
}

void FileTableView::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentIndex().isValid()) {
        Q_EMIT openRequested(currentIndex().row());
        return;
    }
    QTableView::keyPressEvent(event);
}

// --- FilePane ---

FilePane::FilePane(FileManagerState *state, AppModel *app, FileManagerSide side, QWidget *parent)
    : QWidget(parent), m_state(state), m_model(state->model()), m_app(app), m_side(side),
      m_rows(side == FileManagerSide::local ? static_cast<QAbstractItemModel *>(state->localRows())
                                            : static_cast<QAbstractItemModel *>(state->deviceRows()))
{
    setObjectName(side == FileManagerSide::local ? QStringLiteral("localPane") : QStringLiteral("devicePane"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(buildTitle());
    column->addWidget(buildPathBar());
    column->addWidget(new Hairline(false, this));

    m_table = new FileTableView(this);
    m_table->setModel(m_rows);
    auto *header = m_table->horizontalHeader();
    header->setSectionResizeMode(LocalFileTableModel::nameColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(LocalFileTableModel::sizeColumn, QHeaderView::Interactive);
    header->setSectionResizeMode(LocalFileTableModel::modifiedColumn, QHeaderView::Interactive);
    header->resizeSection(LocalFileTableModel::sizeColumn, 72);
    header->resizeSection(LocalFileTableModel::modifiedColumn, kModifiedWidth);
    m_table->setColumnMinimum(LocalFileTableModel::nameColumn, kNameMinimum);
    m_table->setColumnMinimum(LocalFileTableModel::modifiedColumn, kModifiedMinimum);
    const int sortColumn = side == FileManagerSide::local ? state->localRows()->sortColumn() : state->deviceRows()->sortColumn();
    const Qt::SortOrder sortOrder =
        side == FileManagerSide::local ? state->localRows()->sortOrder() : state->deviceRows()->sortOrder();
    header->setSortIndicator(sortColumn, sortOrder);
    m_table->setSortingEnabled(true);
    m_table->viewport()->installEventFilter(this);
    column->addWidget(m_table, 1);
    column->addWidget(new Hairline(false, this));
    column->addWidget(buildActionBar());

    connect(m_table, &FileTableView::openRequested, this, &FilePane::openRow);
    connect(m_table, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        QMenu *menu = makeContextMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(m_table->viewport()->mapToGlobal(at));
    });
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { takeSelection(); });

    // The selection lives on the model: shown again after every new listing and every change.
    if (side == FileManagerSide::local) {
        ViewUpdates::observeEach(m_model, this, [this] { applySelection(); }, m_model->localSelection, m_model->localItems);
        ViewUpdates::follow(m_model, this, [this] { refreshControls(); }, m_model->isBusy, m_model->localDirectory,
                            m_model->localSelection, m_model->localItems, m_model->showHiddenFiles);
    } else {
        ViewUpdates::observeEach(m_model, this, [this] { applySelection(); }, m_model->deviceSelection,
                                 m_model->deviceItems);
        ViewUpdates::follow(m_model, this, [this] { refreshControls(); }, m_model->deviceActionInputs(),
                            m_model->deviceDirectory, m_model->deviceSelection, m_model->deviceItems)
            ->on(app, app->devices, app->selectedDeviceID);
    }
    applySelection();
    refreshControls();
}

QWidget *FilePane::buildTitle()
{
    m_title = new PaneTitle(this);
    return m_title;
}

QWidget *FilePane::buildPathBar()
{
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(int(Space::s), int(Space::s), int(Space::s), int(Space::s));
    row->setSpacing(int(Space::xs));
    const bool local = m_side == FileManagerSide::local;
    auto jump = [this, local] {
        if (local)
            m_model->goToLocalPath();
        else if (deviceUsable())
            m_model->goToDevicePath();
    };
    m_up = pathButton(QStringLiteral("arrow.up"), QStringLiteral("На уровень выше"), QStringLiteral("На уровень выше"), bar);
    m_path = new DeckTextField(QStringLiteral("Путь"), true, jump, bar);
    m_path->setObjectName(local ? QStringLiteral("localPath") : QStringLiteral("devicePath"));
    if (local)
        bindDeckTextField(m_path, m_model, m_model->localPathInput);
    else
        bindDeckTextField(m_path, m_model, m_model->devicePathInput);
    m_jump = pathButton(QStringLiteral("arrow.right.circle"), QStringLiteral("Перейти"),
                        QStringLiteral("Перейти по указанному пути"), bar);
    if (local)
        m_choose = pathButton(QStringLiteral("folder.badge.plus"), QStringLiteral("Выбрать папку"),
                              PlatformTexts::text(QStringLiteral("Выбрать папку на Mac")), bar);
    m_refresh = pathButton(QStringLiteral("arrow.clockwise"), QStringLiteral("Обновить"), QStringLiteral("Обновить панель"), bar);
    row->addWidget(m_up);
    row->addWidget(m_path, 1);
    row->addWidget(m_jump);
    if (m_choose)
        row->addWidget(m_choose);
    row->addWidget(m_refresh);

    connect(m_up, &QAbstractButton::clicked, this, [this, local] {
        if (local)
            m_model->goToLocalParent();
        else
            m_model->goToDeviceParent();
    });
    connect(m_jump, &QAbstractButton::clicked, this, jump);
    if (m_choose)
        connect(m_choose, &QAbstractButton::clicked, this, [this] { chooseFolder(); });
    connect(m_refresh, &QAbstractButton::clicked, this, [this, local] {
        if (local)
            m_model->refreshLocal();
        else
            m_model->refreshDevice(false);
    });
    return bar;
}

QWidget *FilePane::buildActionBar()
{
    m_actions = new QWidget(this);
    m_actions->setObjectName(m_side == FileManagerSide::local ? QStringLiteral("localActions")
                                                              : QStringLiteral("deviceActions"));
    // One flow, the box or the count at its trailing edge: a column of their own beside the
    // buttons would leave the buttons too little width and send them down one per line.
    auto *flow = new FlowLayout(m_actions);
    flow->setContentsMargins(int(Space::s), int(Space::s), int(Space::s), int(Space::s));
    flow->setFlowSpacing(Space::xs, Space::xs);
    const bool local = m_side == FileManagerSide::local;
    m_newFolder = new DeckButton(QStringLiteral("Новая папка"), {DeckButtonRole::secondary, DeckButtonSize::small}, m_actions);
    m_rename = new DeckButton(QStringLiteral("Переименовать"), {DeckButtonRole::secondary, DeckButtonSize::small}, m_actions);
    m_delete = new DeckButton(local ? QStringLiteral("В Корзину") : QStringLiteral("Удалить"),
                              {DeckButtonRole::destructive, DeckButtonSize::small}, m_actions);
    for (QWidget *button : {static_cast<QWidget *>(m_newFolder), static_cast<QWidget *>(m_rename),
                            static_cast<QWidget *>(m_delete)})
        flow->addWidget(button);
    flow->addFlexibleSpace();
    if (local) {
        // The design's box, which reads in both schemes (the platform's nearly vanishes in the dark).
        m_hidden = new DeckCheckbox(QStringLiteral("Скрытые"), std::nullopt, m_actions);
        m_hidden->setChecked(m_model->showHiddenFiles());
        flow->addWidget(m_hidden);
        connect(m_hidden, &QAbstractButton::toggled, this, [this](bool on) {
            if (on == m_model->showHiddenFiles())
                return;
            m_model->showHiddenFiles.set(on);
            m_model->refreshLocal();
        });
    } else {
        m_count = new DeckText(QString(), Typo::caption(), [] { return Ink::textTertiary(); }, m_actions);
        m_count->setElideMode(Qt::ElideNone);
        flow->addWidget(m_count);
    }
    connect(m_newFolder, &QAbstractButton::clicked, this, [this] { m_state->requestNewFolder(m_side); });
    connect(m_rename, &QAbstractButton::clicked, this, [this] { m_state->requestRename(m_side); });
    connect(m_delete, &QAbstractButton::clicked, this, [this] { m_state->requestDelete(m_side); });
    return m_actions;
}

const QSet<QString> &FilePane::selection() const
{
    return m_side == FileManagerSide::local ? m_model->localSelection() : m_model->deviceSelection();
}

bool FilePane::deviceUsable() const { return m_model->canUseDevice(); }

QString FilePane::title() const { return static_cast<PaneTitle *>(m_title)->title(); }
Tone FilePane::titleTone() const { return static_cast<PaneTitle *>(m_title)->tone(); }

void FilePane::refreshControls()
{
    const bool busy = m_model->isBusy();
    const qsizetype selected = selection().size();
    auto *title = static_cast<PaneTitle *>(m_title);
    if (m_side == FileManagerSide::local) {
        title->show(PlatformTexts::text(QStringLiteral("Mac")), QStringLiteral("laptopcomputer"), Tone::neutral);
        m_up->setEnabled(!busy && m_model->localDirectory() != QStringLiteral("/"));
        m_jump->setEnabled(!busy);
        m_choose->setEnabled(!busy);
        m_refresh->setEnabled(!busy);
        m_hidden->setChecked(m_model->showHiddenFiles());
    } else {
        const auto device = m_app->selectedDevice();
        title->show(device ? device->displayName() : QStringLiteral("Android"), QStringLiteral("iphone.gen3"),
                    m_model->isDeviceReady() ? Tone::success : Tone::warning);
        const bool usable = deviceUsable();
        m_up->setEnabled(usable && m_model->deviceDirectory() != QStringLiteral("/"));
        m_jump->setEnabled(usable);
        m_refresh->setEnabled(usable);
        m_path->setEnabled(usable);
        m_actions->setEnabled(usable);
        m_count->setText(QStringLiteral("Выбрано: ") + QString::number(selected));
    }
    m_rename->setEnabled(selected == 1);
    m_delete->setEnabled(selected > 0);
    refreshEmptyState();
}

void FilePane::refreshEmptyState()
{
    QString key;
    if (m_side == FileManagerSide::local) {
        if (m_model->localItems().isEmpty())
            key = QStringLiteral("empty");
    } else if (!m_model->isDeviceReady()) {
        key = QStringLiteral("unavailable");
    } else if (m_model->deviceItems().isEmpty() && !m_model->isBusy()) {
        key = QStringLiteral("empty");
    }
    if (key == m_emptyKey)
        return;
    m_emptyKey = key;
    delete m_empty;
    if (key.isEmpty())
        return;
    if (key == QStringLiteral("unavailable"))
        m_empty = new DeckEmptyState(QStringLiteral("cable.connector.slash"), QStringLiteral("Android недоступен"),
                                     QStringLiteral("Выберите подключённое и авторизованное устройство."), Tone::warning,
                                     nullptr, m_table->viewport());
    else
        m_empty = new DeckEmptyState(QStringLiteral("folder"), QStringLiteral("Папка пуста"), std::nullopt,
                                     Tone::neutral, nullptr, m_table->viewport());
    m_empty->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_empty->setGeometry(m_table->viewport()->rect());
    m_empty->show();
}

bool FilePane::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_table->viewport() && event->type() == QEvent::Resize && m_empty)
        m_empty->setGeometry(m_table->viewport()->rect());
    return QWidget::eventFilter(watched, event);
}

void FilePane::applySelection()
{
    const QSet<QString> &ids = selection();
    QItemSelection wanted;
    if (!ids.isEmpty()) {
        const int rows = m_rows->rowCount();
        int start = -1;
        for (int row = 0; row <= rows; ++row) {
            const bool in = row < rows && ids.contains(m_rows->index(row, 0).data(LocalFileTableModel::IdRole).toString());
            if (in && start < 0)
                start = row;
            if (!in && start >= 0) {
                wanted.select(m_rows->index(start, 0), m_rows->index(row - 1, LocalFileTableModel::columnTotal - 1));
                start = -1;
            }
        }
    }
    m_syncing = true;
    m_table->selectionModel()->select(wanted, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_syncing = false;
}

void FilePane::takeSelection()
{
    if (m_syncing)
        return;
    QSet<QString> ids;
    for (const QModelIndex &index : m_table->selectionModel()->selectedRows())
        ids.insert(index.data(LocalFileTableModel::IdRole).toString());
    if (m_side == FileManagerSide::local)
        m_model->localSelection.set(ids);
    else
        m_model->deviceSelection.set(ids);
}

void FilePane::openRow(int row)
{
    if (m_side == FileManagerSide::local) {
        if (const LocalFileItem *item = m_state->localRows()->itemAt(row))
            m_model->openLocal(*item);
        return;
    }
    if (!deviceUsable())
        return;
    if (const DeviceFileItem *item = m_state->deviceRows()->itemAt(row))
        m_model->openDevice(*item);
}

void FilePane::setCompact(bool compact)
{
    m_table->setColumnHidden(LocalFileTableModel::modifiedColumn, compact);
}

QMenu *FilePane::makeContextMenu()
{
    auto *menu = new QMenu(this);
    const bool allowed = m_side == FileManagerSide::local || deviceUsable();
    const qsizetype selected = selection().size();
    QAction *create = menu->addAction(QStringLiteral("Новая папка"));
    QAction *rename = menu->addAction(QStringLiteral("Переименовать"));
    menu->addSeparator();
    QAction *remove = menu->addAction(m_side == FileManagerSide::local ? QStringLiteral("Переместить в Корзину")
                                                                        : QStringLiteral("Удалить безвозвратно"));
    create->setEnabled(allowed);
    rename->setEnabled(allowed && selected == 1);
    remove->setEnabled(allowed && selected > 0);
    connect(create, &QAction::triggered, this, [this] { m_state->requestNewFolder(m_side); });
    connect(rename, &QAction::triggered, this, [this] { m_state->requestRename(m_side); });
    connect(remove, &QAction::triggered, this, [this] { m_state->requestDelete(m_side); });
    return menu;
}

void FilePane::chooseFolder()
{
    FileRequest request;
    request.title = PlatformTexts::text(QStringLiteral("Выберите папку Mac"));
    request.acceptLabel = QStringLiteral("Открыть");
    request.directory = m_model->localDirectory();
    QPointer<FilePane> self(this);
    DesktopServices::current().chooseFolder(window(), request, [self](std::optional<QString> folder) {
        if (self && folder)
            self->m_model->chooseLocalDirectory(*folder);
    });
}
