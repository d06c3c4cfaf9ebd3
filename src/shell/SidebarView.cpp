#include "SidebarView.h"

#include "DevicePickerPopover.h"
#include "SidebarItem.h"
#include "screenkit/TabOrder.h"
#include "screenkit/ViewUpdates.h"

#include "bridge/DeviceSnapshot.h"
#include "bridge/LinkState.h"
#include "core/AppModel.h"
#include "design/FocusRing.h"
#include "design/DeckText.h"
#include "design/DeviceGlyph.h"
#include "design/Ink.h"
#include "design/Labels.h"
#include "design/Panel.h"
#include "design/ShownText.h"
#include "design/SlimScrollBars.h"
#include "design/Symbols.h"
#include "design/Theme.h"
#include "design/ToneInk.h"
#include "design/Tokens.h"
#include "design/Typo.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

constexpr int kTitleStrip = 30;
constexpr qreal kGlyphSize = 26;
constexpr qreal kGlowHeight = 220;

// The device card: a raised panel button whose children are only drawn, never hit.
class DeviceCard : public QAbstractButton {
public:
    explicit DeviceCard(QWidget *parent) : QAbstractButton(parent)
    {
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::TabFocus);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

    static PanelStyle style() { return {PanelKind::raised, Radius::m, Elevation::low(), true, true}; }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QMarginsF shadow = Panel::shadowMargins(style());
        Panel::paint(p, QRectF(rect()).marginsRemoved(shadow), style());
        FocusRing::paintIfShown(p, this, QRectF(rect()).marginsRemoved(shadow), Radius::m);
        // The up-and-down chevron: the icon set has only the downward one, so it is drawn twice,
        // once mirrored. A repaint of the state dot alone leaves it be.
        const qreal cx = width() - shadow.right() - Space::s - 5;
        const qreal cy = shadow.top() + (height() - shadow.top() - shadow.bottom()) / 2;
        if (!event->rect().intersects(QRectF(cx - 5, cy - 6, 10, 12).toAlignedRect()))
            return;
        const QRectF lower(cx - 5, cy, 10, 6);
        Symbols::paint(p, QStringLiteral("chevron.down"), lower, 6, Ink::textTertiary());
        p.save();
        p.translate(0, 2 * cy);
        p.scale(1, -1);
        Symbols::paint(p, QStringLiteral("chevron.down"), lower, 6, Ink::textTertiary());
        p.restore();
    }
};

} // namespace

SidebarView::SidebarView(AppModel *model, AppSettings *settings, QWidget *parent)
    : QWidget(parent), m_model(model), m_settings(settings)
{
    setMinimumWidth(kMinimumWidth);
    setMaximumWidth(kMaximumWidth);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addSpacing(kTitleStrip);

    // Device card.
    auto *card = new DeviceCard(this);
    m_card = card;
    const QMarginsF shadow = Panel::shadowMargins(DeviceCard::style());
    auto *cardRow = new QHBoxLayout(card);
    cardRow->setContentsMargins(int(shadow.left() + Space::s), int(shadow.top() + Space::s),
                                int(shadow.right() + Space::s + 10 + Space::s), int(shadow.bottom() + Space::s));
    cardRow->setSpacing(int(Space::s));
    m_glyph = new DeviceGlyph(model->linkState(), kGlyphSize, card);
    cardRow->addWidget(m_glyph, 0, Qt::AlignVCenter);
    auto *texts = new QVBoxLayout;
    texts->setSpacing(0);
    m_cardTitle = new DeckText(QString(), Typo::bodyMedium(), [] { return Ink::text(); }, card);
    texts->addWidget(m_cardTitle);
    auto *stateRow = new QHBoxLayout;
    stateRow->setSpacing(4);
    m_dot = new PulseDot(Tone::neutral, false, card);
    m_dot->setFixedWidth(10);
    stateRow->addWidget(m_dot, 0, Qt::AlignVCenter);
    m_cardState = new DeckText(QString(), Typo::caption(), [] { return Ink::textTertiary(); }, card);
    stateRow->addWidget(m_cardState, 1);
    texts->addLayout(stateRow);
    cardRow->addLayout(texts, 1);
    for (QWidget *child : card->findChildren<QWidget *>())
        child->setAttribute(Qt::WA_TransparentForMouseEvents);
    card->setToolTip(tr("Выбор устройства и подключение"));
    connect(card, &QAbstractButton::clicked, this, &SidebarView::openDevicePopover);

    auto *cardBox = new QHBoxLayout;
    cardBox->setContentsMargins(int(Space::m - shadow.left()), 0, int(Space::m - shadow.right()),
                                int(std::max<qreal>(0, Space::m - shadow.bottom())));
    cardBox->addWidget(card);
    column->addLayout(cardBox);

    // Routes, grouped by section.
    auto *scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus); // a page: Tab stops at its controls, and it follows them
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // In a short window the routes scroll, and a scroll bar says so (the Mac's overlay bars show
    // only while scrolling).
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    SlimScrollBars::apply(scroll);
    m_routeList = scroll;
    scroll->setWidgetResizable(true);
    scroll->viewport()->setAutoFillBackground(false);
    auto *list = new QWidget;
    list->setAutoFillBackground(false);
    auto *sections = new QVBoxLayout(list);
    sections->setContentsMargins(0, int(Space::xs), 0, int(Space::xs));
    sections->setSpacing(int(Space::l));
    for (RouteSection section : allCases<RouteSection>()) {
        if (section == RouteSection::app)
            continue;
        auto *group = new QVBoxLayout;
        group->setSpacing(2);
        if (const auto heading = ::title(section)) {
            auto *eyebrow = new Eyebrow(*heading, list);
            auto *box = new QHBoxLayout;
            box->setContentsMargins(int(Space::m), 0, int(Space::m), int(Space::xs));
            box->addWidget(eyebrow);
            group->addLayout(box);
        }
        for (AppRoute route : routes(section)) {
            auto *row = new SidebarItem(route, model, list);
            m_items.append(row);
            auto *box = new QHBoxLayout;
            box->setContentsMargins(int(Space::s), 0, int(Space::s), 0);
            box->addWidget(row);
            group->addLayout(box);
        }
        sections->addLayout(group);
    }
    sections->addStretch(1);
    scroll->setWidget(list);
    // setWidget turns background filling on; what lies behind must show through.
    list->setAutoFillBackground(false);
    column->addWidget(scroll, 1);
    // A short window hides rows under the bottom block: the active one scrolls back into view
    // whenever the list's height changes.
    scroll->viewport()->installEventFilter(this);

    // Bottom block: hairline, Settings, adb footer.
    auto *bottom = new QVBoxLayout;
    bottom->setContentsMargins(0, 0, 0, int(Space::s));
    bottom->setSpacing(2);
    auto *lineBox = new QHBoxLayout;
    lineBox->setContentsMargins(int(Space::m), 0, int(Space::m), int(Space::s));
    lineBox->addWidget(ViewUpdates::divider(this));
    bottom->addLayout(lineBox);
    auto *settingsRow = new SidebarItem(AppRoute::settings, model, this);
    m_items.append(settingsRow);
    auto *settingsBox = new QHBoxLayout;
    settingsBox->setContentsMargins(int(Space::s), 0, int(Space::s), 0);
    settingsBox->addWidget(settingsRow);
    bottom->addLayout(settingsBox);

    m_footer = new QWidget(this);
    auto *footerRow = new QHBoxLayout(m_footer);
    footerRow->setContentsMargins(int(Space::m + Space::s), int(Space::xs), int(Space::m + Space::s), 0);
    footerRow->setSpacing(int(Space::xs));
    m_footerIcon = new QLabel(m_footer);
    m_footerIcon->setFixedSize(12, 12);
    footerRow->addWidget(m_footerIcon, 0, Qt::AlignVCenter);
    m_footerText = new DeckText(QString(), Typo::caption(), [] { return Ink::textTertiary(); }, m_footer);
    footerRow->addWidget(m_footerText, 1);
    bottom->addWidget(m_footer);
    column->addLayout(bottom);

    ViewUpdates::follow(model, this, [this] { refresh(); }, model->linkStateInputs(), model->snapshot,
                        model->packages, model->debloatSelection, model->route, model->adbVersionText);
    refresh();
}

SidebarView::~SidebarView()
{
    if (m_popover)
        delete m_popover.data();
}

SidebarItem *SidebarView::item(AppRoute route) const
{
    for (SidebarItem *row : m_items)
        if (row->route() == route)
            return row;
    return nullptr;
}

std::optional<QString> SidebarView::badgeFor(AppRoute route, const AppModel &model)
{
    switch (route) {
    case AppRoute::applications:
        if (!model.packages().isEmpty())
            return QString::number(model.packages().size());
        return std::nullopt;
    case AppRoute::debloat:
        if (!model.debloatSelection().isEmpty())
            return QString::number(model.debloatSelection().size());
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

QString SidebarView::deviceTitle() const
{
    if (const auto &snapshot = m_model->snapshot())
        return snapshot->marketingName();
    if (const auto device = m_model->selectedDevice())
        return device->displayName();
    return tr("Нет устройства");
}

QString SidebarView::deviceStateText() const { return m_cardState->text(); }

QString SidebarView::footerText() const
{
    if (const auto version = m_model->adbShortVersion())
        return *version;
    return m_model->service ? tr("ADB готов") : tr("ADB не найден");
}

QString SidebarView::footerIcon() const
{
    return m_model->service ? QStringLiteral("checkmark.seal.fill") : QStringLiteral("exclamationmark.triangle.fill");
}

bool SidebarView::showDevicePopover() const { return !m_popover.isNull(); }
DevicePickerPopover *SidebarView::devicePopover() const { return m_popover.data(); }

void SidebarView::openDevicePopover()
{
    if (m_popover)
        return;
    auto *popover = new DevicePickerPopover(m_model, this);
    m_popover = popover;
    // A window of its own, whose device rows are made again as devices come and go.
    TabOrder::keep(popover);
    connect(popover, &DevicePickerPopover::dismissed, this, [this, popover] {
        if (m_popover == popover)
            m_popover = nullptr;
        popover->deleteLater();
    });
    popover->popUp(m_card);
}

QSize SidebarView::sizeHint() const { return QSize(kIdealWidth, QWidget::sizeHint().height()); }

void SidebarView::refresh()
{
    const LinkState state = m_model->linkState();
    const QString title = deviceTitle();
    m_cardTitle->setText(title);
    m_cardState->setText(::shortTitle(state));
    m_glyph->setState(state);
    m_dot->setTone(::tone(state));
    m_dot->setAnimating(::isLive(state));
    m_card->setAccessibleName(tr("Устройство: ") + ShownText::accessible(title) + QStringLiteral(", ") + ::title(state) +
                              tr(". Открыть список устройств"));

    for (SidebarItem *row : m_items) {
        row->setBadge(badgeFor(row->route(), *m_model));
        row->refresh();
    }

    if (m_revealed != m_model->route()) {
        m_revealed = m_model->route();
        revealActiveRoute();
    }

    m_footerText->setText(footerText());
    const QString iconName = footerIcon();
    if (iconName != m_footerIconName) {
        m_footerIconName = iconName;
        const QColor tint = m_model->service ? Ink::textTertiary() : Ink::warning();
        m_footerIcon->setPixmap(Symbols::pixmap(iconName, 9, tint, devicePixelRatioF()));
    }
    const QString fullVersion = m_model->adbVersionText().value_or(QString());
    m_footer->setToolTip(ViewUpdates::plainToolTip(fullVersion));
    m_footer->setAccessibleName(footerText());
    // The glow at the top follows the link's tone; a repaint for anything else costs for nothing.
    if (::tone(state) != m_glowTone) {
        m_glowTone = ::tone(state);
        update(0, 0, width(), int(kGlowHeight));
    }
}

void SidebarView::revealActiveRoute()
{
    SidebarItem *row = item(m_model->route());
    if (!row || !m_routeList->widget()->isAncestorOf(row))
        return; // Settings sits in the pinned block
    const QWidget *viewport = m_routeList->viewport();
    if (viewport->rect().contains(QRect(row->mapTo(viewport, QPoint(0, 0)), row->size())))
        return;
    // A list still being laid out (no room for one row yet) has nothing to scroll to.
    if (viewport->height() < row->height() + 2 * int(Space::xs))
        return;
    m_routeList->ensureWidgetVisible(row, 0, int(Space::xs));
}

bool SidebarView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_routeList->viewport() && event->type() == QEvent::Resize)
        QMetaObject::invokeMethod(this, &SidebarView::revealActiveRoute, Qt::QueuedConnection);
    return QWidget::eventFilter(watched, event);
}

void SidebarView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Ink::surface());
    QLinearGradient glow(0, 0, 0, kGlowHeight);
    glow.setColorAt(0, withOpacity(foreground(::tone(m_model->linkState())), 0.05));
    glow.setColorAt(1, Qt::transparent);
    p.fillRect(QRectF(0, 0, width(), kGlowHeight), glow);
}
