#include "DevicePickerPopover.h"

#include "DeckTextField.h"
#include "ViewUpdates.h"

#include "design/DeckParagraph.h"

#include "bridge/ConnectionKind.h"
#include "core/AppModel.h"
#include "design/DeckButton.h"
#include "design/DeckSegmented.h"
#include "design/DeckText.h"
#include "design/Ink.h"
#include "design/InteractiveSurface.h"
#include "design/Labels.h"
#include "design/ShownText.h"
#include "design/Squircle.h"
#include "design/Symbols.h"
#include "design/Theme.h"
#include "design/Tokens.h"
#include "design/Typo.h"

#include <QAction>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// The symbol column of a row: an 11 px glyph in a 16 px wide box.
class RowSymbol : public QWidget {
public:
    RowSymbol(QString name, std::function<QColor()> ink, QWidget *parent)
        : QWidget(parent), m_name(std::move(name)), m_ink(std::move(ink))
    {
        setFixedSize(16, 16);
    }
    void setInk(std::function<QColor()> ink)
    {
        m_ink = std::move(ink);
        update();
    }
    QString name() const { return m_name; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        Symbols::paint(p, m_name, QRectF(rect()), 11, m_ink());
    }

private:
    QString m_name;
    std::function<QColor()> m_ink;
};

QWidget *rowContent(QWidget *row, QWidget *symbol, const QString &title, const QString &serial, QWidget *badge)
{
    auto *line = new QHBoxLayout(row);
    line->setContentsMargins(int(Space::s), int(Space::s), int(Space::s), int(Space::s));
    line->setSpacing(int(Space::s));
    line->addWidget(symbol, 0, Qt::AlignVCenter);
    auto *texts = new QVBoxLayout;
    texts->setSpacing(1);
    auto *name = new DeckText(title, Typo::bodyMedium(), [] { return Ink::text(); }, row);
    auto *id = new DeckText(serial, Typo::monoSmall(), [] { return Ink::textTertiary(); }, row);
    id->setElideMode(Qt::ElideMiddle);
    texts->addWidget(name);
    texts->addWidget(id);
    line->addLayout(texts, 1);
    line->addSpacing(int(Space::s));
    line->addWidget(badge, 0, Qt::AlignVCenter);
    return row;
}

// One adb device: a plain button on the hover and selection surface.
class DeviceRow : public QAbstractButton {
public:
    DeviceRow(const AndroidDevice &device, QWidget *parent)
        : QAbstractButton(parent), m_serial(device.id), m_surface(new InteractiveSurface(this, Radius::s))
    {
        setObjectName(device.id);
        setCursor(Qt::PointingHandCursor);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        const bool ready = device.isReady();
        auto *symbol = new RowSymbol(::icon(detectConnectionKind(device.id)),
                                     ready ? std::function<QColor()>([] { return Ink::success(); })
                                           : std::function<QColor()>([] { return Ink::warning(); }),
                                     this);
        auto *badge = ready ? new StatusBadge(QStringLiteral("checkmark.circle.fill"), tr("Готово"), Tone::success,
                                              BadgeStyle::soft, true, this)
                            : new StatusBadge(QStringLiteral("exclamationmark.circle.fill"), device.state,
                                              Tone::warning, BadgeStyle::soft, true, this);
        rowContent(this, symbol, device.displayName(), device.id, badge);
        for (QWidget *child : findChildren<QWidget *>())
            child->setAttribute(Qt::WA_TransparentForMouseEvents);
        setAccessibleName(ShownText::accessible(device.displayName()) + QStringLiteral(", ")
                          + (ready ? tr("Готово") : ShownText::accessible(device.state)));
    }
    QString serial() const { return m_serial; }
    InteractiveSurface *surface() const { return m_surface; }
    QSize sizeHint() const override { return layout()->sizeHint(); }

protected:
    void paintEvent(QPaintEvent *) override {}

private:
    QString m_serial;
    InteractiveSurface *m_surface;
};

} // namespace

DevicePickerPopover::DevicePickerPopover(AppModel *model, QWidget *parent)
    : QFrame(parent, Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint), m_model(model)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAccessibleName(tr("Выбор устройства"));
    setFixedWidth(kWidth);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(int(Space::l), int(Space::l), int(Space::l), int(Space::l));
    column->setSpacing(int(Space::m));

    QList<DeckSegmented::Item> items;
    for (Mode mode : {Mode::list, Mode::network, Mode::pair})
        items.append({QVariant(int(mode)), title(mode), std::nullopt, std::nullopt});
    m_modeSwitch = new DeckSegmented(items, QVariant(int(Mode::list)), tr("Способ подключения"), this);
    connect(m_modeSwitch, &DeckSegmented::selectionChanged, this,
            [this](const QVariant &value) { setMode(Mode(value.toInt())); });
    column->addWidget(m_modeSwitch, 0, Qt::AlignLeft);

    m_pages[0] = buildList();
    m_pages[1] = buildNetwork();
    m_pages[2] = buildPair();
    for (QWidget *page : m_pages)
        column->addWidget(page);

    column->addWidget(ViewUpdates::divider(this));

    auto *footer = new QHBoxLayout;
    footer->setSpacing(int(Space::s));
    m_refresh = new DeckButton(QStringLiteral("arrow.clockwise"), tr("Обновить"),
                               {DeckButtonRole::secondary, DeckButtonSize::small}, this);
    m_restart = new DeckButton(QStringLiteral("arrow.triangle.2.circlepath"), tr("Перезапустить ADB"),
                               {DeckButtonRole::ghost, DeckButtonSize::small}, this);
    footer->addWidget(m_refresh);
    footer->addWidget(m_restart);
    footer->addStretch(1);
    column->addLayout(footer);
    connect(m_refresh, &QAbstractButton::clicked, this, [this] { m_model->refreshDevices(); });
    connect(m_restart, &QAbstractButton::clicked, this, [this] { m_model->restartADBServer(); });

    // Usability of the selection changes with the list too (a device turning ready).
    model->observe(model->devices, this, [this] {
        rebuildRows();
        refreshButtons();
    });
    model->observe(model->fastbootDevices, this, [this] { rebuildRows(); });
    model->observe(model->selectedDeviceID, this, [this] {
        refreshSelection();
        refreshButtons();
    });
    model->observe(model->wirelessAddress, this, [this] { refreshButtons(); });
    model->observe(model->wirelessPairAddress, this, [this] { refreshButtons(); });
    model->observe(model->wirelessPairCode, this, [this] { refreshButtons(); });
    rebuildRows();
    refreshButtons();
    setMode(Mode::list);
}

QString DevicePickerPopover::title(Mode mode)
{
    switch (mode) {
    case Mode::list: return tr("Устройства");
    case Mode::network: return tr("По адресу");
    case Mode::pair: return tr("Сопряжение");
    }
    return {};
}

void DevicePickerPopover::setMode(Mode mode)
{
    m_mode = mode;
    m_modeSwitch->setSelection(QVariant(int(mode)));
    for (int i = 0; i < 3; ++i)
        m_pages[i]->setVisible(i == int(mode));
    fitHeight();
}

QWidget *DevicePickerPopover::buildList()
{
    auto *page = new QWidget(this);
    m_listColumn = new QVBoxLayout(page);
    m_listColumn->setContentsMargins(0, 0, 0, 0);
    m_listColumn->setSpacing(int(Space::xs));

    m_emptyNotice = new QWidget(page);
    auto *notice = new QVBoxLayout(m_emptyNotice);
    notice->setContentsMargins(0, int(Space::s), 0, int(Space::s));
    notice->setSpacing(int(Space::xs));
    notice->addWidget(new DeckText(tr("Устройства не найдены"), Typo::bodyMedium(), [] { return Ink::text(); },
                                   m_emptyNotice));
    notice->addWidget(ViewUpdates::wrappingLabel(
        tr("Подключите Android по USB и разрешите отладку, либо добавьте устройство по сети."), Typo::supporting(),
        [] { return Ink::textTertiary(); }, m_emptyNotice));
    m_listColumn->addWidget(m_emptyNotice);
    return page;
}

QWidget *DevicePickerPopover::buildNetwork()
{
    auto *page = new QWidget(this);
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(int(Space::s));
    column->addWidget(new DeckText(tr("Адрес устройства"), Typo::label(), [] { return Ink::textSecondary(); }, page));
    // No submit action: Return in this field connects nothing.
    m_address = new DeckTextField(QStringLiteral("192.168.1.25:5555"), true, {}, page);
    bindDeckTextField(m_address, m_model, m_model->wirelessAddress);
    column->addWidget(m_address);
    column->addWidget(new DeckText(tr("Если порт не указан, используется 5555."), Typo::caption(),
                                   [] { return Ink::textTertiary(); }, page));
    auto *buttons = new QHBoxLayout;
    m_connect = new DeckButton(tr("Подключить"), {DeckButtonRole::primary, DeckButtonSize::small}, page);
    m_switch = new DeckButton(tr("Перевести текущее в Wi-Fi"), {DeckButtonRole::ghost, DeckButtonSize::small}, page);
    buttons->addWidget(m_connect);
    buttons->addWidget(m_switch);
    buttons->addStretch(1);
    column->addLayout(buttons);
    connect(m_connect, &QAbstractButton::clicked, this, [this] {
        m_model->connectWireless();
        setPresented(false);
    });
    connect(m_switch, &QAbstractButton::clicked, this, [this] {
        m_model->switchToWireless();
        setPresented(false);
    });
    return page;
}

QWidget *DevicePickerPopover::buildPair()
{
    auto *page = new QWidget(this);
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(int(Space::s));
    column->addWidget(ViewUpdates::wrappingLabel(
        tr("Android 11 и новее: «Отладка по Wi-Fi» → «Подключение с помощью кода»."), Typo::supporting(),
        [] { return Ink::textTertiary(); }, page));
    m_pairAddress = new DeckTextField(QStringLiteral("192.168.1.25:37000"), true, {}, page);
    m_pairCode = new DeckTextField(tr("Код из шести цифр"), true, {}, page);
    bindDeckTextField(m_pairAddress, m_model, m_model->wirelessPairAddress);
    bindDeckTextField(m_pairCode, m_model, m_model->wirelessPairCode);
    column->addWidget(m_pairAddress);
    column->addWidget(m_pairCode);
    m_pair = new DeckButton(tr("Выполнить сопряжение"), {DeckButtonRole::primary, DeckButtonSize::small}, page);
    column->addWidget(m_pair, 0, Qt::AlignLeft);
    // Pairing leaves the popover open on this page.
    connect(m_pair, &QAbstractButton::clicked, this, [this] { m_model->pairWireless(); });
    return page;
}

QAbstractButton *DevicePickerPopover::deviceRow(const QString &serial) const
{
    for (QAbstractButton *row : m_deviceRows)
        if (row->objectName() == serial)
            return row;
    return nullptr;
}

void DevicePickerPopover::rebuildRows()
{
    // A row may be the sender of the click that changed the list: release rows later.
    auto release = [this](QWidget *row) {
        row->hide();
        m_listColumn->removeWidget(row);
        row->deleteLater();
    };
    for (QWidget *row : m_deviceRows)
        release(row);
    for (QWidget *row : m_fastbootRows)
        release(row);
    m_deviceRows.clear();
    m_fastbootRows.clear();

    QWidget *page = m_pages[0] ? m_pages[0] : this;
    m_emptyNotice->setVisible(m_model->devices().isEmpty() && m_model->fastbootDevices().isEmpty());
    for (const AndroidDevice &device : m_model->devices()) {
        auto *row = new DeviceRow(device, page);
        const QString serial = device.id;
        connect(row, &QAbstractButton::clicked, this, [this, serial] {
            m_model->selectDevice(serial);
            setPresented(false);
        });
        if (detectConnectionKind(serial) == ConnectionKind::wireless) {
            auto *disconnect = new QAction(tr("Отключить от сети"), row);
            connect(disconnect, &QAction::triggered, this, [this, serial] { m_model->disconnectWireless(serial); });
            row->addAction(disconnect);
            row->setContextMenuPolicy(Qt::ActionsContextMenu);
        } else {
            row->setContextMenuPolicy(Qt::NoContextMenu);
        }
        m_listColumn->addWidget(row);
        row->show(); // counted by the height fitted below, not a turn of the event loop later
        m_deviceRows.append(row);
    }
    for (const FastbootDevice &device : m_model->fastbootDevices()) {
        auto *row = new QWidget(page);
        row->setObjectName(device.id);
        row->setContextMenuPolicy(Qt::NoContextMenu);
        rowContent(row, new RowSymbol(QStringLiteral("bolt.fill"), [] { return Ink::violet(); }, row),
                   QStringLiteral("Fastboot"), device.id,
                   new StatusBadge(QStringLiteral("bolt.fill"), device.mode, Tone::violet, BadgeStyle::soft, true, row));
        m_listColumn->addWidget(row);
        row->show();
        m_fastbootRows.append(row);
    }
    refreshSelection();
    fitHeight();
}

void DevicePickerPopover::refreshSelection()
{
    const auto selected = m_model->selectedDeviceID();
    for (QAbstractButton *row : m_deviceRows) {
        auto *deviceRow = static_cast<DeviceRow *>(row);
        deviceRow->surface()->setSelected(selected && *selected == deviceRow->serial());
    }
}

void DevicePickerPopover::refreshButtons()
{
    // The same trimming as the model's, so a blank field never enables a button that does nothing.
    m_connect->setEnabled(!m_model->wirelessAddress().trimmed().isEmpty());
    m_pair->setEnabled(!m_model->wirelessPairAddress().trimmed().isEmpty() &&
                       !m_model->wirelessPairCode().trimmed().isEmpty());
    if (m_switch->isVisibleTo(this) != m_model->isDeviceUsable()) {
        m_switch->setVisible(m_model->isDeviceUsable());
        fitHeight();
    }
}

bool DevicePickerPopover::event(QEvent *event)
{
    const bool handled = QFrame::event(event);
    // Anything inside asked for another size (a row shown or hidden, text wrapping anew).
    if (event->type() == QEvent::LayoutRequest)
        fitHeight();
    return handled;
}

void DevicePickerPopover::fitHeight()
{
    // The width is fixed; the height follows the content of the current mode.
    if (QLayout *column = layout()) {
        column->invalidate();
        column->activate();
        const int h = column->hasHeightForWidth() ? column->totalHeightForWidth(kWidth) : column->totalSizeHint().height();
        setFixedHeight(std::max(h, column->totalMinimumSize().height()));
    }
}

void DevicePickerPopover::popUp(QWidget *anchor)
{
    fitHeight();
    QPoint at = anchor->mapToGlobal(QPoint(anchor->width() + int(Space::xs), 0));
    if (const QScreen *screen = anchor->screen()) {
        const QRect area = screen->availableGeometry();
        at.setY(std::min(at.y(), area.bottom() - height()));
        at.setY(std::max(at.y(), area.top()));
        if (at.x() + width() > area.right())
            at.setX(std::max(area.left(), anchor->mapToGlobal(QPoint(0, 0)).x() - width()));
    }
    move(at);
    show();
}

void DevicePickerPopover::setPresented(bool presented)
{
    if (!presented)
        close();
}

void DevicePickerPopover::hideEvent(QHideEvent *event)
{
    QFrame::hideEvent(event);
    if (!m_dismissed) {
        m_dismissed = true;
        Q_EMIT dismissed();
    }
}

void DevicePickerPopover::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    p.fillPath(Squircle::path(r, Radius::l), Ink::surfaceRaised());
    p.setPen(QPen(Ink::strokeStrong(), Stroke::hairline));
    p.drawPath(Squircle::path(r, Radius::l));
}
