#include "PermissionManagerContent.h"

#include "AppIconCache.h"
#include "IconSlot.h"
#include "PaddedListView.h"
#include "PermissionLines.h"
#include "PermissionRowDelegate.h"
#include "RowPainting.h"

#include "screenkit/ScreenDialogs.h"
#include "screenkit/ConfirmationTexts.h"
#include "screenkit/DeckTextField.h"
#include "screenkit/DialogPresenter.h"
#include "screenkit/ViewUpdates.h"

#include "core/AppModel.h"
#include "design/CanvasCover.h"
#include "design/DeckButton.h"
#include "design/DeckEmptyState.h"
#include "design/DeckSearchField.h"
#include "design/DeckSegmented.h"
#include "design/DeckText.h"
#include "design/FlowLayout.h"
#include "design/Hairline.h"
#include "design/Ink.h"
#include "design/Labels.h"
#include "design/OperationBar.h"
#include "design/ShownText.h"
#include "design/Skeleton.h"
#include "design/Tokens.h"
#include "design/Typo.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QVBoxLayout>

namespace {

// The header draws the package's icon into the slot its layout keeps for it: the icon is no
// element of its own for accessibility (the title and identifier beside it name the package).
class PermissionHeader : public QWidget {
public:
    PermissionHeader(AndroidPackage package, qreal iconSide, QWidget *parent)
        : QWidget(parent), m_package(std::move(package)), m_iconSide(iconSide),
          m_slot(new IconSlot(int(iconSide)))
    {
        AppIconCache &cache = AppIconCache::shared();
        connect(&cache, &AppIconCache::iconReady, this, [this](const QString &name) {
            if (name == m_package.name)
                update(iconRect().toAlignedRect());
        });
        connect(&cache, &AppIconCache::cleared, this, [this] { update(); });
    }
    // Owned by the header's layout once added.
    IconSlot *slot() const { return m_slot; }
    // Centred across the row: the slot spans the row's height.
    QRectF iconRect() const
    {
        const QRectF slot(m_slot->geometry());
        return {slot.left(), slot.center().y() - m_iconSide / 2, m_iconSide, m_iconSide};
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        RowPainting::packageIcon(p, iconRect(), m_package, m_iconSide);
    }

private:
    AndroidPackage m_package;
    qreal m_iconSide;
    IconSlot *m_slot;
};

QWidget *fixedSpacer(int width, QWidget *parent)
{
    auto *spacer = new QWidget(parent);
    spacer->setFixedSize(width, 1);
    return spacer;
}

} // namespace

PermissionManagerContent::PermissionManagerContent(AppModel *model, AndroidPackage package, bool showsCloseButton,
                                                   QWidget *parent)
    : QWidget(parent), m_model(model), m_package(std::move(package)), m_showsClose(showsCloseButton),
      m_lines(new PermissionLines(this))
{
    setObjectName(QStringLiteral("permissionManager"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    if (m_showsClose)
        column->addWidget(buildHeader());
    column->addWidget(buildToolbar());
    column->addWidget(new Hairline(false, this));
    column->addWidget(buildListArea(), 1);
    column->addWidget(new Hairline(false, this));
    column->addWidget(buildFooter());
    buildDialogs();

    ViewUpdates::follow(model, this, [this] { refresh(); }, model->permissions, model->permissionFilter,
                        model->permissionSearchText, model->selectedPermissionIDs, model->isPermissionBusy,
                        model->permissionStatusText);
    refresh();
}

int PermissionManagerContent::horizontalMargin() const { return int(m_showsClose ? Space::l : Space::gutter); }

QWidget *PermissionManagerContent::buildHeader()
{
    auto *header = new PermissionHeader(m_package, 44, this);
    m_headerBlock = header;
    m_headerBlock->setObjectName(QStringLiteral("permissionHeader"));
    auto *row = new QHBoxLayout(m_headerBlock);
    row->setContentsMargins(int(Space::l), int(Space::l), int(Space::l), int(Space::l));
    row->setSpacing(int(Space::m));
    row->addItem(header->slot());

    auto *names = new QVBoxLayout;
    names->setSpacing(2);
    auto *title = new DeckText(m_package.displayName, Typo::screenTitle(), [] { return Ink::text(); }, m_headerBlock);
    title->setObjectName(QStringLiteral("permissionPackageTitle"));
    names->addWidget(title);
    auto *id = new CopyableValue(m_package.name, Typo::mono(), [] { return Ink::textSecondary(); },
                                 QStringLiteral("Идентификатор пакета"), m_headerBlock);
    names->addWidget(id, 0, Qt::AlignLeft);
    row->addLayout(names, 1);

    auto *user = new QVBoxLayout;
    user->setSpacing(2);
    user->addWidget(new DeckText(QStringLiteral("Пользователь 0"), Typo::bodyMedium(),
                                 [] { return Ink::textSecondary(); }, m_headerBlock),
                    0, Qt::AlignRight);
    user->addWidget(new DeckText(QStringLiteral("Только runtime-разрешения"), Typo::caption(),
                                 [] { return Ink::textTertiary(); }, m_headerBlock),
                    0, Qt::AlignRight);
    row->addLayout(user);

    m_close = new IconButton(QStringLiteral("xmark"), {26, Tone::neutral, false}, m_headerBlock);
    m_close->setObjectName(QStringLiteral("closePermissionManager"));
    m_close->setAccessibleName(QStringLiteral("Закрыть менеджер разрешений"));
    // The shell withdraws the sheet and closes the manager once the package is gone.
    connect(m_close, &QAbstractButton::clicked, this, [this] { m_model->permissionPackage.set(std::nullopt); });
    row->addWidget(m_close, 0, Qt::AlignVCenter);
    return m_headerBlock;
}

QWidget *PermissionManagerContent::buildToolbar()
{
    m_toolbar = new QWidget(this);
    auto *flow = new FlowLayout(m_toolbar);
    flow->setContentsMargins(horizontalMargin(), 0, horizontalMargin(), int(Space::s));
    m_filter = new DeckSegmented({}, QVariant(int(m_model->permissionFilter())), QStringLiteral("Фильтр разрешений"),
                                 m_toolbar);
    m_filter->setObjectName(QStringLiteral("permissionFilter"));
    connect(m_filter, &DeckSegmented::selectionChanged, this,
            [this](const QVariant &value) { m_model->permissionFilter.set(PermissionFilter(value.toInt())); });
    flow->addWidget(m_filter);
    flow->addWidget(fixedSpacer(0, m_toolbar));
    m_search = new DeckSearchField(QStringLiteral("Поиск разрешения"), 230);
    m_search->setParent(m_toolbar);
    m_search->setObjectName(QStringLiteral("permissionSearch"));
    bindDeckTextField(m_search, m_model, m_model->permissionSearchText);
    flow->addWidget(m_search);
    m_reload = new IconButton(QStringLiteral("arrow.clockwise"), {28, Tone::neutral, false}, m_toolbar);
    m_reload->setObjectName(QStringLiteral("reloadPermissions"));
    m_reload->setToolTip(ViewUpdates::plainToolTip(QStringLiteral("Перечитать разрешения с устройства")));
    m_reload->setAccessibleName(QStringLiteral("Перечитать разрешения с устройства"));
    connect(m_reload, &QAbstractButton::clicked, this, [this] { m_model->loadPermissions(); });
    flow->addWidget(m_reload);
    return m_toolbar;
}

QWidget *PermissionManagerContent::buildListArea()
{
    m_listArea = new QWidget(this);
    m_listArea->installEventFilter(this);
    m_list = new PaddedListView(m_listArea);
    m_list->setObjectName(QStringLiteral("permissionList"));
    m_list->setAccessibleName(QStringLiteral("Runtime-разрешения"));
    m_list->setUniformItemSizes(true);
    m_list->setSpacing(0);
    m_list->setEdgeMargins(int(Space::xs), int(Space::xs));
    m_list->setItemDelegate(new PermissionRowDelegate(m_lines->listModel(), m_list));
    m_list->setModel(m_lines->listModel());
    m_list->installEventFilter(this);
    connect(m_list, &QAbstractItemView::clicked, this, &PermissionManagerContent::toggle);

    m_loading = new CanvasCover(m_listArea);
    m_loading->setObjectName(QStringLiteral("permissionPlaceholder"));
    auto *rows = new QVBoxLayout(m_loading);
    rows->setContentsMargins(0, int(Space::m), 0, 0);
    rows->setSpacing(int(Space::s));
    for (int i = 0; i < kPlaceholderRows; ++i) {
        auto *row = new QHBoxLayout;
        row->setContentsMargins(int(Space::l), 0, int(Space::l), 0);
        row->setSpacing(int(Space::m));
        row->addWidget(new Skeleton(16, 16, Radius::xs, m_loading), 0, Qt::AlignVCenter);
        row->addWidget(new Skeleton(200, 10, Radius::xs, m_loading), 0, Qt::AlignVCenter);
        row->addStretch(1);
        row->addWidget(new Skeleton(80, 9, Radius::xs, m_loading), 0, Qt::AlignVCenter);
        rows->addLayout(row);
    }
    rows->addStretch(1);
    m_loading->hide();

    m_emptyCover = new CanvasCover(m_listArea);
    auto *coverLayout = new QVBoxLayout(m_emptyCover);
    coverLayout->setContentsMargins(0, 0, 0, 0);
    m_emptyCover->hide();
    return m_listArea;
}

QWidget *PermissionManagerContent::buildFooter()
{
    m_footer = new QWidget(this);
    auto *flow = new FlowLayout(m_footer);
    flow->setContentsMargins(horizontalMargin(), int(Space::m), horizontalMargin(), int(Space::m));
    m_busy = new IndeterminateRing(m_footer);
    m_busy->hide();
    flow->addWidget(m_busy);
    m_status = new DeckText(QString(), Typo::supporting(), [] { return Ink::textTertiary(); }, m_footer);
    m_status->setObjectName(QStringLiteral("permissionStatus"));
    flow->addWidget(m_status);
    flow->addWidget(fixedSpacer(0, m_footer));
    // The system sans-serif draws its digits at equal widths, so the count does not jiggle.
    m_selected = new DeckText(QString(), Typo::supporting(), [] { return Ink::textTertiary(); }, m_footer);
    flow->addWidget(m_selected);
    m_revoke = new DeckButton(QStringLiteral("Отозвать"), {DeckButtonRole::destructive, DeckButtonSize::small}, m_footer);
    m_revoke->setObjectName(QStringLiteral("revokePermissions"));
    connect(m_revoke, &QAbstractButton::clicked, this,
            [this] { m_model->requestPermissionOperation(PermissionOperation::revoke); });
    flow->addWidget(m_revoke);
    m_grant = new DeckButton(QStringLiteral("Предоставить"), {DeckButtonRole::primary, DeckButtonSize::small}, m_footer);
    m_grant->setObjectName(QStringLiteral("grantPermissions"));
    connect(m_grant, &QAbstractButton::clicked, this,
            [this] { m_model->requestPermissionOperation(PermissionOperation::grant); });
    flow->addWidget(m_grant);
    return m_footer;
}

void PermissionManagerContent::buildDialogs()
{
    AppModel *model = m_model;
    const QString displayName = m_package.displayName;
    m_confirmation = new DialogPresenter(
        this, {.identity = [model]() -> std::optional<QString> {
                   const auto op = model->pendingPermissionOperation();
                   return op ? std::optional(rawValue(*op)) : std::nullopt;
               },
               .build = [model, displayName](QWidget *parent) -> QDialog * {
                   const auto op = model->pendingPermissionOperation();
                   const int targets = op ? int(model->permissionTargets(*op).size()) : 0;
                   return ScreenDialogs::confirmation(parent, confirmationTitle(op, targets),
                                                   confirmationMessage(op, displayName, targets),
                                                   op ? std::optional(title(*op)) : std::nullopt,
                                                   op == PermissionOperation::revoke);
               },
               .dismissed = [model](QDialog *dialog, int) {
                   // Confirming clears the pending operation itself before the changes run.
                   if (ScreenDialogs::wasConfirmed(dialog))
                       model->confirmPermissionOperation();
                   model->pendingPermissionOperation.set(std::nullopt);
               },
               .afterDismissal = {}});
    model->observe(model->pendingPermissionOperation, this, [this] { m_confirmation->sync(); });

    m_errorAlert = new DialogPresenter(
        this, {.identity = [model]() -> std::optional<QString> { return model->permissionErrorMessage(); },
               .build = [model](QWidget *parent) -> QDialog * {
                   return ScreenDialogs::alert(parent, QStringLiteral("Ошибка разрешений"),
                                            ConfirmationTexts::alertMessage(model->permissionErrorMessage()));
               },
               .dismissed = [model](QDialog *, int) { model->permissionErrorMessage.set(std::nullopt); },
               .afterDismissal = {}});
    model->observe(model->permissionErrorMessage, this, [this] { m_errorAlert->sync(); });
    // Shown once the view is in its window, so the dialogs have a window to be modal to.
    QMetaObject::invokeMethod(this, [this] {
        m_confirmation->sync();
        m_errorAlert->sync();
    }, Qt::QueuedConnection);
}

QString PermissionManagerContent::confirmationTitle(std::optional<PermissionOperation> operation, int targets)
{
    if (!operation)
        return QStringLiteral("Подтвердите изменение");
    return title(*operation) + QStringLiteral(": ") + QString::number(targets) + QStringLiteral("?");
}

QString PermissionManagerContent::confirmationMessage(std::optional<PermissionOperation> operation,
                                                      const QString &label, int targets)
{
    if (!operation)
        return QString();
    const QString displayName = ShownText::line(label);
    if (*operation == PermissionOperation::grant)
        return QStringLiteral("Приложение «") + displayName + QStringLiteral("» получит ") + QString::number(targets)
            + QStringLiteral(" выбранных разрешений через ADB. Это может открыть доступ к камере, микрофону, "
                             "местоположению или другим чувствительным данным.");
    return QStringLiteral("У приложения «") + displayName + QStringLiteral("» будут отозваны ")
        + QString::number(targets)
        + QStringLiteral(" разрешений. Связанные функции перестанут работать, а приложение может закрываться с "
                         "ошибкой при следующем обращении к ним.");
}

void PermissionManagerContent::refresh()
{
    const QList<AppPermission> &all = m_model->permissions();
    int granted = 0;
    for (const AppPermission &p : all)
        granted += p.isGranted ? 1 : 0;
    const QList<int> counts{int(all.size()), granted, int(all.size()) - granted};
    if (counts != m_counts) {
        m_counts = counts;
        m_filter->setItems({{QVariant(int(PermissionFilter::all)), rawValue(PermissionFilter::all), std::nullopt,
                             counts[0]},
                            {QVariant(int(PermissionFilter::granted)), rawValue(PermissionFilter::granted),
                             QStringLiteral("checkmark.circle"), counts[1]},
                            {QVariant(int(PermissionFilter::denied)), rawValue(PermissionFilter::denied),
                             QStringLiteral("minus.circle"), counts[2]}});
    }
    m_filter->setSelection(QVariant(int(m_model->permissionFilter())));

    const QList<AppPermission> shown = m_model->filteredPermissions();
    const QSet<QString> &selection = m_model->selectedPermissionIDs();
    m_lines->show(shown, selection);

    const bool busy = m_model->isPermissionBusy();
    m_reload->setEnabled(!busy);
    m_busy->setVisible(busy);
    m_status->setText(m_model->permissionStatusText());
    m_selected->setText(QStringLiteral("Выбрано: ") + QString::number(selection.size()));
    m_revoke->setEnabled(!busy && !m_model->permissionTargets(PermissionOperation::revoke).isEmpty());
    m_grant->setEnabled(!busy && !m_model->permissionTargets(PermissionOperation::grant).isEmpty());

    const bool loading = busy && all.isEmpty();
    m_loading->setVisible(loading);
    if (loading || !shown.isEmpty())
        showEmptyState(std::nullopt);
    else if (all.isEmpty())
        showEmptyState(std::pair{QStringLiteral("Runtime-разрешений нет"),
                                 QStringLiteral("Приложение не запрашивает изменяемых разрешений для пользователя 0.")});
    else
        showEmptyState(std::pair{QStringLiteral("Ничего не найдено"), QStringLiteral("Измените фильтр или поисковый запрос.")});
    if (loading)
        m_loading->raise();
}

void PermissionManagerContent::showEmptyState(std::optional<std::pair<QString, QString>> texts)
{
    if (m_empty && (!texts || m_empty->titleLabel()->text() != texts->first)) {
        delete m_empty;
        m_empty = nullptr;
    }
    if (!texts) {
        m_emptyCover->hide();
        return;
    }
    if (!m_empty) {
        m_empty = new DeckEmptyState(QStringLiteral("hand.raised.slash"), texts->first, texts->second, Tone::neutral,
                                     nullptr, m_emptyCover);
        m_emptyCover->layout()->addWidget(m_empty);
    }
    m_emptyCover->show();
    m_emptyCover->raise();
    placeOverlays();
}

void PermissionManagerContent::placeOverlays()
{
    const QRect area = m_listArea->rect();
    m_list->setGeometry(area);
    m_loading->setGeometry(area);
    m_emptyCover->setGeometry(area);
}

void PermissionManagerContent::toggle(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    const AppPermission &p = m_lines->listModel()->rowAt(index.row()).permission;
    // Fixed permissions cannot be picked.
    if (!p.canChange())
        return;
    const QString name = p.name;
    m_model->selectedPermissionIDs.mutate([&](QSet<QString> &s) {
        if (!s.remove(name))
            s.insert(name);
    });
}

bool PermissionManagerContent::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_listArea && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        placeOverlays();
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
            toggle(m_list->currentIndex());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
