#include "ToolsScreen.h"

#include "ScreenshotSaving.h"
#include "ToolPanel.h"

#include "screenkit/DeckScreen.h"
#include "screenkit/DeckTextField.h"
#include "screenkit/DesktopServices.h"
#include "screenkit/ScreenDialogs.h"
#include "screenkit/ScreenMemory.h"
#include "screenkit/ViewUpdates.h"

#include "core/AppModel.h"
#include "core/ListModelAdapter.h"
#include "core/PublishedList.h"
#include "design/FocusRing.h"
#include "design/AdaptiveGrid.h"
#include "design/DeckButton.h"
#include "design/DeckParagraph.h"
#include "design/DeckText.h"
#include "design/FilterChip.h"
#include "design/FlowLayout.h"
#include "design/InfoRow.h"
#include "design/Ink.h"
#include "design/OperationBar.h"
#include "design/Panel.h"
#include "design/RowBox.h"
#include "design/ScreenHeader.h"
#include "design/ShownText.h"
#include "design/Symbols.h"
#include "design/Tokens.h"
#include "design/Typo.h"

#include <QAction>
#include <QHBoxLayout>
#include <QListView>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

// What outlives a rebuild of the screen (a theme switch): the typed size and density, and the
// bootloader's variables as a list model. Leaving the Tools route empties the fields.
class ToolsScreen::State : public Observable {
public:
    Published<QString> customWidth{this};
    Published<QString> customHeight{this};
    Published<QString> customDensity{this};
    PublishedList<FastbootVariable> variables{this};
    ListModelAdapter<FastbootVariable> *rows = nullptr;
};

namespace {

const QString kMemoryKey = QStringLiteral("tools");

QVBoxLayout *column(QWidget *owner, qreal spacing)
{
    auto *layout = new QVBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(int(spacing));
    return layout;
}

// A box whose children flow onto as many lines as its width needs.
QWidget *flow(QWidget *parent, const QList<QWidget *> &items, qreal spacing)
{
    auto *box = new QWidget(parent);
    auto *layout = new FlowLayout(box);
    layout->setFlowSpacing(spacing, spacing);
    for (QWidget *item : items) {
        item->setParent(box);
        layout->addWidget(item);
    }
    return box;
}

DeckParagraph *note(const QString &text, QWidget *parent)
{
    return new DeckParagraph(text, Typo::caption(), [] { return Ink::textTertiary(); }, parent);
}

DeckButton *smallButton(const QString &text, DeckButtonRole role = DeckButtonRole::secondary)
{
    return new DeckButton(text, {role, DeckButtonSize::small});
}

// A key button: the symbol over the title, the whole cell wide.
DeckButton *keyButton(const ToolsFacts::Key &key, QWidget *parent)
{
    DeckButtonStyle style{DeckButtonRole::secondary, DeckButtonSize::regular, true};
    style.stacked = true;
    style.stackedSymbol = 13;
    style.stackedGap = 3;
    auto *button = new DeckButton(key.icon, key.title, style, parent);
    button->setToolTip(ViewUpdates::plainToolTip(key.code));
    button->setAccessibleName(key.title + QStringLiteral(", код ") + key.code);
    return button;
}

// One bootloader variable per row: the name in a 150 px column, then the value.
class VariableDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        p->save();
        if (option.state & QStyle::State_Selected)
            p->fillRect(option.rect.adjusted(ToolsScreen::kVariableKeyWidth + int(Space::s), 0, 0, 0),
                        Ink::accentSoft());
        p->setFont(Typo::monoSmall());
        const QFontMetrics fm(Typo::monoSmall());
        const QRect keyRect(option.rect.left(), option.rect.top(), ToolsScreen::kVariableKeyWidth, option.rect.height());
        const QRect valueRect = option.rect.adjusted(ToolsScreen::kVariableKeyWidth + int(Space::s), 0, 0, 0);
        p->setPen(Ink::textTertiary());
        p->drawText(keyRect, Qt::AlignLeft | Qt::AlignVCenter,
                    fm.elidedText(ShownText::line(index.data(Qt::DisplayRole).toString()), Qt::ElideRight,
                                  keyRect.width()));
        p->setPen(Ink::textSecondary());
        p->drawText(valueRect, Qt::AlignLeft | Qt::AlignVCenter,
                    fm.elidedText(ShownText::line(index.data(Qt::UserRole).toString()), Qt::ElideRight,
                                  valueRect.width()));
        p->restore();
        FocusRing::paintRow(*p, option, QRectF(option.rect), Radius::xs);
    }
    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        return {ToolsScreen::kVariableKeyWidth * 2, rowHeight()};
    }
    static int rowHeight() { return QFontMetrics(Typo::monoSmall()).height() + 3; }
};

} // namespace

ToolsScreen::ToolsScreen(AppModel *model, ScreenMemory *memory, QWidget *parent) : QWidget(parent), m_model(model)
{
    setObjectName(QStringLiteral("tools"));
    const auto make = [model] {
        auto *state = new State;
        state->rows = new ListModelAdapter<FastbootVariable>(
            state->variables,
            [](const FastbootVariable &variable, int, int role) -> QVariant {
                if (role == Qt::DisplayRole)
                    return variable.key;
                if (role == Qt::UserRole)
                    return variable.value;
                if (role == Qt::ToolTipRole)
                    return ViewUpdates::plainToolTip(variable.value);
                return {};
            },
            state);
        model->observe(model->route, state, [model, state] {
            if (model->route() == AppRoute::tools)
                return;
            state->customWidth.set(QString());
            state->customHeight.set(QString());
            state->customDensity.set(QString());
        });
        return state;
    };
    m_state = memory ? memory->obtain<State>(kMemoryKey, make) : make();
    if (!memory)
        m_state->setParent(this);

    m_refresh = new IconButton(QStringLiteral("arrow.clockwise"), {30, Tone::neutral, false});
    m_refresh->setToolTip(QStringLiteral("Обновить состояние инструментов"));
    m_refresh->setAccessibleName(QStringLiteral("Обновить состояние инструментов"));
    connect(m_refresh, &QAbstractButton::clicked, this, [this] { m_model->refreshToolsState(); });
    m_header = new ScreenHeader(eyebrow(AppRoute::tools), QStringLiteral("Инструменты"), model->toolsStatusText(),
                                {m_refresh});
    model->observe(model->toolsStatusText, m_header,
                   [this] { m_header->subtitleLabel()->setText(m_model->toolsStatusText()); });

    m_scroll = new QScrollArea;
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setFocusPolicy(Qt::NoFocus); // a page: Tab stops at its controls, and it follows them
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->viewport()->setAutoFillBackground(false);
    auto *page = new QWidget;
    auto *pageColumn = column(page, 0);
    // The cards' shapes line up with the header's text; their shadows reach into the margin.
    const QMargins outsets = Panel::shadowMargins(PanelStyle{}).toMargins();
    pageColumn->setContentsMargins(int(Space::gutter) - outsets.left(), 0, int(Space::gutter) - outsets.right(),
                                   int(Space::xl));
    auto *gridBox = new QWidget(page);
    m_grid = new AdaptiveGrid(300, Space::m, Space::m, gridBox);
    m_grid->setItemOutsets(outsets);
    pageColumn->addWidget(gridBox);
    pageColumn->addStretch(1);

    m_panels = {
        new ToolPanel(QStringLiteral("rectangle.on.rectangle"), QStringLiteral("Экран"),
                      QStringLiteral("Разрешение, плотность и тайм-аут"), Tone::neutral, buildDisplay()),
        new ToolPanel(QStringLiteral("power"), QStringLiteral("Питание"), QStringLiteral("Перезагрузка в разные режимы"),
                      Tone::neutral, buildPower()),
        new ToolPanel(QStringLiteral("hand.tap"), QStringLiteral("Управление"),
                      QStringLiteral("Аппаратные клавиши через ADB"), Tone::neutral, buildKeys()),
        new ToolPanel(QStringLiteral("camera.viewfinder"), QStringLiteral("Съёмка экрана"),
                      QStringLiteral("PNG напрямую с устройства"), Tone::neutral, buildCapture()),
        new ToolPanel(QStringLiteral("bolt.fill"), QStringLiteral("Fastboot"), model->fastbootStatusText(),
                      Tone::neutral, buildFastboot()),
        new ToolPanel(QStringLiteral("server.rack"), QStringLiteral("ADB-сервер"),
                      model->adbVersionText().value_or(QStringLiteral("Версия неизвестна")), Tone::neutral,
                      buildServer()),
    };
    for (ToolPanel *panel : m_panels) {
        panel->setParent(gridBox);
        m_grid->addWidget(panel);
    }
    m_scroll->setWidget(page);
    page->setAutoFillBackground(false);
    if (memory)
        memory->keepScroll(m_scroll, kMemoryKey);

    auto *layout = column(this, 0);
    layout->addWidget(new DeckScreen(std::nullopt, m_header, m_scroll, this));

    // Enabled states change at once: a second press right after the first must find its button
    // already disabled, before any coalesced refresh has run.
    ViewUpdates::observeEach(model, this, [this] { refreshDeviceActions(); }, model->deviceReadinessInputs(),
                             model->isDisplayBusy, model->isFastbootBusy);
    m_state->observe(m_state->customWidth, this, [this] { refreshDisplayInput(); });
    m_state->observe(m_state->customHeight, this, [this] { refreshDisplayInput(); });
    m_state->observe(m_state->customDensity, this, [this] { refreshDisplayInput(); });
    ViewUpdates::follow(model, this, [this] { refreshDisplay(); }, model->snapshot, model->screenTimeoutMilliseconds);
    ViewUpdates::follow(model, this, [this] { refreshFastboot(); }, model->fastbootDevices, model->fastbootVariables,
                        model->fastbootStatusText, model->adbPath);
    ViewUpdates::follow(model, this, [this] { refreshServer(); }, model->adbPath, model->adbVersionText,
                        model->snapshot, model->deviceReadinessInputs());
    refreshDisplay();
    refreshDisplayInput();
    refreshFastboot();
    refreshServer();
    refreshDeviceActions();
}

void ToolsScreen::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Coming into view reads the time-out, then looks for fastboot devices.
    m_model->loadToolsState();
}

// ---- Display ----

QWidget *ToolsScreen::buildDisplay()
{
    m_displayBody = new QWidget;
    auto *body = column(m_displayBody, Space::m);

    auto *rows = new QWidget(m_displayBody);
    m_displayRows = column(rows, Space::s);
    body->addWidget(rows);

    m_width = new DeckTextField(QStringLiteral("Ширина"), true);
    m_width->setFixedWidth(92);
    m_height = new DeckTextField(QStringLiteral("Высота"), true);
    m_height->setFixedWidth(92);
    bindDeckTextField(m_width, m_state, m_state->customWidth);
    bindDeckTextField(m_height, m_state, m_state->customHeight);
    m_applySize = smallButton(QStringLiteral("Применить"));
    connect(m_applySize, &QAbstractButton::clicked, this, &ToolsScreen::applySize);
    m_resetSize = smallButton(QStringLiteral("Сброс"), DeckButtonRole::ghost);
    connect(m_resetSize, &QAbstractButton::clicked, this, [this] { m_model->resetScreenSize(); });
    auto *times = new DeckText(QStringLiteral("×"), Typo::body(), [] { return Ink::textTertiary(); });
    // The fields and the buttons each wrap as one row: "Сброс" never goes down a line on its own.
    body->addWidget(
        flow(m_displayBody, {new RowBox({m_width, times, m_height}), new RowBox({m_applySize, m_resetSize})},
             Space::s));

    m_density = new DeckTextField(QStringLiteral("dpi"), true);
    m_density->setFixedWidth(92);
    bindDeckTextField(m_density, m_state, m_state->customDensity);
    m_applyDensity = smallButton(QStringLiteral("Применить"));
    connect(m_applyDensity, &QAbstractButton::clicked, this, &ToolsScreen::applyDensity);
    m_resetDensity = smallButton(QStringLiteral("Сброс"), DeckButtonRole::ghost);
    connect(m_resetDensity, &QAbstractButton::clicked, this, [this] { m_model->resetScreenDensity(); });
    body->addWidget(flow(m_displayBody, {m_density, new RowBox({m_applyDensity, m_resetDensity})}, Space::s));

    auto *timeout = new QWidget(m_displayBody);
    auto *timeoutColumn = column(timeout, Space::xs);
    timeoutColumn->addWidget(
        new DeckText(QStringLiteral("Тайм-аут экрана"), Typo::label(), [] { return Ink::textSecondary(); }, timeout));
    QList<QWidget *> chips;
    for (qint64 value : ToolsFacts::timeoutChoices()) {
        auto *chip = new FilterChip(ToolsFacts::timeoutLabel(value), std::nullopt, std::nullopt, false);
        chip->setProperty("milliseconds", value);
        connect(chip, &QAbstractButton::clicked, this, [this, value] { m_model->applyScreenTimeout(value); });
        m_chips.append(chip);
        chips.append(chip);
    }
    timeoutColumn->addWidget(flow(timeout, chips, Space::xs));
    body->addWidget(timeout);
    body->addWidget(note(QStringLiteral("Изменение разрешения и плотности влияет на весь интерфейс Android. Кнопка "
                                        "«Сброс» возвращает заводские значения."),
                         m_displayBody));
    return m_displayBody;
}

void ToolsScreen::applySize()
{
    // Out of range: the press does nothing, as the enabled button promised nothing more.
    if (const auto size = ToolsFacts::sizeToApply(m_state->customWidth(), m_state->customHeight()))
        m_model->applyScreenSize(*size);
}

void ToolsScreen::applyDensity()
{
    if (const auto dpi = ToolsFacts::densityToApply(m_state->customDensity()))
        m_model->applyScreenDensity(*dpi);
}

void ToolsScreen::refreshDisplay()
{
    const std::optional<DeviceSnapshot> snapshot = m_model->snapshot();
    const QString size = ToolsFacts::shownSize(snapshot);
    const QString density = ToolsFacts::shownDensity(snapshot);
    if (!m_sizeRow || size != m_shownSize || density != m_shownDensity) {
        m_shownSize = size;
        m_shownDensity = density;
        delete m_sizeRow;
        delete m_densityRow;
        QWidget *rows = m_displayRows->parentWidget();
        m_sizeRow = new InfoRow(QStringLiteral("Разрешение"), size, true, false, {}, rows);
        m_densityRow = new InfoRow(QStringLiteral("Плотность"), density, true, false, {}, rows);
        m_displayRows->addWidget(m_sizeRow);
        m_displayRows->addWidget(m_densityRow);
    }
    const std::optional<qint64> timeout = m_model->screenTimeoutMilliseconds();
    for (FilterChip *chip : m_chips)
        chip->setOn(timeout && *timeout == chip->property("milliseconds").toLongLong());
}

void ToolsScreen::refreshDisplayInput()
{
    m_applySize->setEnabled(ToolsFacts::canApplySize(m_state->customWidth(), m_state->customHeight()));
    m_applyDensity->setEnabled(ToolsFacts::canApplyDensity(m_state->customDensity()));
}

// ---- Power ----

QWidget *ToolsScreen::buildPower()
{
    m_powerBody = new QWidget;
    auto *body = column(m_powerBody, Space::s);
    for (const ToolsFacts::RebootTarget &target : ToolsFacts::rebootTargets()) {
        auto *button = new DeckButton(target.icon, target.buttonLabel,
                                      {DeckButtonRole::secondary, DeckButtonSize::regular, true}, m_powerBody);
        button->setLabelLeading(true);
        connect(button, &QAbstractButton::clicked, this, [this, target] { requestReboot(target); });
        body->addWidget(button);
        m_rebootButtons.append(button);
    }
    body->addWidget(note(QStringLiteral("После входа в Recovery или Bootloader обычные ADB-команды становятся "
                                        "недоступны — интерфейс переключится в соответствующий режим."),
                         m_powerBody));
    return m_powerBody;
}

void ToolsScreen::requestReboot(const ToolsFacts::RebootTarget &target)
{
    if (m_rebootDialog || !m_model->canRunDeviceAction())
        return;
    m_pendingReboot = target;
    auto *dialog = new QMessageBox(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setTextFormat(Qt::PlainText);
    dialog->setIcon(QMessageBox::Warning);
    dialog->setWindowTitle(target.dialogTitle);
    dialog->setText(target.dialogTitle);
    dialog->setInformativeText(target.message);
    QPushButton *confirm = ScreenDialogs::addButton(dialog, target.dialogTitle,
                                                    target.destructive ? QMessageBox::DestructiveRole : QMessageBox::AcceptRole);
    QPushButton *cancel = ScreenDialogs::addButton(dialog, QStringLiteral("Отмена"), QMessageBox::RejectRole);
    dialog->setDefaultButton(cancel);
    dialog->setEscapeButton(cancel);
    connect(dialog, &QMessageBox::buttonClicked, this, [this, confirm, target](QAbstractButton *button) {
        m_pendingReboot.reset();
        if (button == confirm)
            m_model->rebootAndRecord(target.mode, target.dialogTitle);
    });
    // However the dialog goes away, nothing is pending any more.
    connect(dialog, &QDialog::finished, this, [this] { m_pendingReboot.reset(); });
    m_rebootDialog = dialog;
    dialog->open();
}

// ---- Keys and capture ----

QWidget *ToolsScreen::buildKeys()
{
    m_keysBody = new QWidget;
    m_keysGrid = new AdaptiveGrid(84, Space::xs, Space::xs, m_keysBody);
    for (const ToolsFacts::Key &key : ToolsFacts::keys()) {
        DeckButton *button = keyButton(key, m_keysBody);
        connect(button, &QAbstractButton::clicked, this, [this, key] { m_model->sendKey(key.code, key.title); });
        m_keysGrid->addWidget(button);
        m_keyButtons.append(button);
    }
    return m_keysBody;
}

QWidget *ToolsScreen::buildCapture()
{
    auto *body = new QWidget;
    auto *stack = column(body, Space::m);
    m_capture = new DeckButton(QStringLiteral("camera"), QStringLiteral("Сделать снимок…"),
                               {DeckButtonRole::primary, DeckButtonSize::regular, true}, body);
    m_capture->setLabelLeading(true);
    connect(m_capture, &QAbstractButton::clicked, this, &ToolsScreen::chooseScreenshotDestination);
    stack->addWidget(m_capture);
    stack->addWidget(note(QStringLiteral("Снимок выполняется командой exec-out screencap -p и сохраняется без "
                                         "потери качества."),
                          body));
    return body;
}

void ToolsScreen::chooseScreenshotDestination() { ScreenshotSaving::choose(this, m_model); }

void ToolsScreen::refreshDeviceActions()
{
    const bool canRun = m_model->canRunDeviceAction();
    // The display panel also waits for its own command, so presses never interleave.
    m_displayBody->setEnabled(canRun && !m_model->isDisplayBusy());
    m_powerBody->setEnabled(canRun);
    m_keysBody->setEnabled(canRun);
    m_capture->setEnabled(canRun);
    // A fastboot command at a time: presses during one would only pile up behind it.
    const bool fastbootFree = !m_model->isFastbootBusy();
    m_searchFastboot->setEnabled(fastbootFree);
    m_readVariables->setEnabled(fastbootFree && !m_model->fastbootDevices().isEmpty());
    m_bootSystem->setEnabled(fastbootFree);
    m_bootBootloader->setEnabled(fastbootFree);
    m_fastbootBusy->setVisible(!fastbootFree);
    m_wireless->setEnabled(m_model->isDeviceUsable());
}

// ---- Fastboot ----

QWidget *ToolsScreen::buildFastboot()
{
    auto *body = new QWidget;
    auto *stack = column(body, Space::m);
    m_fastbootMissing = new DeckParagraph(QStringLiteral("Утилита fastboot не найдена. Обычно она устанавливается "
                                                         "вместе с Android Platform Tools и лежит рядом с adb."),
                                          Typo::supporting(), [] { return Ink::textSecondary(); }, body);
    stack->addWidget(m_fastbootMissing);

    m_fastbootControls = new QWidget(body);
    auto *controls = column(m_fastbootControls, Space::m);
    m_searchFastboot = smallButton(QStringLiteral("Искать устройства"));
    connect(m_searchFastboot, &QAbstractButton::clicked, this, [this] { m_model->refreshFastboot(); });
    m_readVariables = smallButton(QStringLiteral("Прочитать переменные"));
    connect(m_readVariables, &QAbstractButton::clicked, this, [this] { m_model->loadFastbootVariables(); });
    QWidget *actions = new RowBox({m_searchFastboot, m_readVariables}, m_fastbootControls);
    // While a command runs, a small spinner at the trailing end.
    m_fastbootBusy = new IndeterminateRing(actions);
    static_cast<QHBoxLayout *>(actions->layout())->addWidget(m_fastbootBusy, 0, Qt::AlignVCenter);
    controls->addWidget(actions);

    m_bootSystem = smallButton(QStringLiteral("Загрузить систему"), DeckButtonRole::primary);
    connect(m_bootSystem, &QAbstractButton::clicked, this,
            [this] { m_model->fastbootReboot(std::nullopt, QStringLiteral("Fastboot: загрузка системы")); });
    m_bootBootloader = smallButton(QStringLiteral("Вернуться в bootloader"));
    connect(m_bootBootloader, &QAbstractButton::clicked, this,
            [this] { m_model->fastbootReboot(QStringLiteral("bootloader"), QStringLiteral("Fastboot: bootloader")); });
    m_fastbootRebootRow = new RowBox({m_bootSystem, m_bootBootloader}, m_fastbootControls);
    controls->addWidget(m_fastbootRebootRow);

    auto *well = new DeckPanel(PanelStyle{PanelKind::sunken, Radius::s, Elevation::flat(), true, true},
                               m_fastbootControls);
    well->setObjectName(QStringLiteral("variables-well"));
    well->setPadding(QMarginsF(Space::s, Space::s, Space::s, Space::s));
    m_variables = new QListView(well);
    m_variables->setModel(m_state->rows);
    m_variables->setItemDelegate(new VariableDelegate(m_variables));
    FocusRing::followView(m_variables);
    m_variables->setUniformItemSizes(true);
    m_variables->setSpacing(0);
    m_variables->setFrameShape(QFrame::NoFrame);
    m_variables->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_variables->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_variables->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_variables->viewport()->setAutoFillBackground(false);
    m_variables->setAutoFillBackground(false);
    m_variables->setAccessibleName(QStringLiteral("Переменные загрузчика"));
    // Values are copied, names are not: the selection's values, one a line.
    auto *copy = new QAction(QStringLiteral("Копировать значение"), m_variables);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    connect(copy, &QAction::triggered, this, &ToolsScreen::copySelectedVariables);
    m_variables->addAction(copy);
    m_variables->setContextMenuPolicy(Qt::ActionsContextMenu);
    column(well, 0)->addWidget(m_variables);
    controls->addWidget(well);

    controls->addWidget(note(QStringLiteral("Прошивка, стирание разделов и разблокировка загрузчика намеренно не "
                                            "поддерживаются: эти операции необратимы и стирают данные пользователя."),
                             m_fastbootControls));
    stack->addWidget(m_fastbootControls);
    return body;
}

void ToolsScreen::copySelectedVariables()
{
    QModelIndexList selected = m_variables->selectionModel()->selectedIndexes();
    std::sort(selected.begin(), selected.end(), [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    QStringList values;
    for (const QModelIndex &index : selected)
        values << index.data(Qt::UserRole).toString();
    if (!values.isEmpty())
        DesktopServices::current().copyText(values.join(QLatin1Char('\n')));
}

void ToolsScreen::refreshFastboot()
{
    const bool available = m_model->isFastbootAvailable();
    m_fastbootMissing->setVisible(!available);
    m_fastbootControls->setVisible(available);
    const bool found = !m_model->fastbootDevices().isEmpty();
    m_fastbootRebootRow->setVisible(found);
    m_state->variables.set(ToolsFacts::sortedVariables(m_model->fastbootVariables()));
    const int rows = int(m_state->variables.size());
    QWidget *well = m_variables->parentWidget();
    well->setVisible(rows > 0);
    // As tall as its rows, scrolling beyond 170 px.
    const int content = rows * VariableDelegate::rowHeight();
    m_variables->setFixedHeight(std::min(content, kVariablesMaxHeight - 2 * int(Space::s)));
    ToolPanel *panel = m_panels.value(4);
    if (panel) {
        panel->setSubtitle(m_model->fastbootStatusText());
        panel->setTone(found ? Tone::violet : Tone::neutral);
    }
    refreshDeviceActions();
}

// ---- Server ----

QWidget *ToolsScreen::buildServer()
{
    auto *body = new QWidget;
    auto *stack = column(body, Space::m);
    auto *rows = new QWidget(body);
    m_serverRows = column(rows, Space::s);
    stack->addWidget(rows);
    m_restartServer = smallButton(QStringLiteral("Перезапустить сервер"));
    connect(m_restartServer, &QAbstractButton::clicked, this, [this] { m_model->restartADBServer(); });
    m_wireless = smallButton(QStringLiteral("Перевести в Wi-Fi"));
    connect(m_wireless, &QAbstractButton::clicked, this, [this] { m_model->switchToWireless(); });
    stack->addWidget(new RowBox({m_restartServer, m_wireless}, body));
    stack->addWidget(note(QStringLiteral("Перезапуск сервера помогает, когда устройство висит в состоянии offline "
                                         "или не появляется в списке."),
                          body));
    return body;
}

void ToolsScreen::refreshServer()
{
    const std::optional<QString> adb = m_model->service ? std::optional(m_model->service->executableURL) : std::nullopt;
    const std::optional<QString> fastboot =
        m_model->fastbootService ? std::optional(m_model->fastbootService->executableURL) : std::nullopt;
    const std::optional<DeviceSnapshot> snapshot = m_model->snapshot();
    const QString connection = snapshot ? title(snapshot->connection()) : QStringLiteral("—");
    const QStringList shown{adb.value_or(QString()), fastboot.value_or(QString()), connection};
    if (!m_adbPathRow || shown != m_shownServer) {
        m_shownServer = shown;
        delete m_adbPathRow;
        delete m_fastbootPathRow;
        delete m_connectionRow;
        QWidget *rows = m_serverRows->parentWidget();
        m_adbPathRow = new InfoRow(QStringLiteral("Путь к adb"), adb.value_or(QStringLiteral("не найден")), true,
                                   adb.has_value(), {}, rows);
        m_fastbootPathRow = new InfoRow(QStringLiteral("Путь к fastboot"),
                                        fastboot.value_or(QStringLiteral("не найден")), true, fastboot.has_value(), {},
                                        rows);
        m_connectionRow = new InfoRow(QStringLiteral("Подключение"), connection, false, false, {}, rows);
        for (InfoRow *info : {m_adbPathRow, m_fastbootPathRow, m_connectionRow})
            m_serverRows->addWidget(info);
    }
    if (ToolPanel *panel = m_panels.value(5))
        panel->setSubtitle(m_model->adbVersionText().value_or(QStringLiteral("Версия неизвестна")));
    refreshDeviceActions();
}
