#include "AppInspectorView.h"

#include "AppIconCache.h"
#include "IconSlot.h"
#include "PackageIconView.h"

#include "bridge/Bytes.h"
#include "core/AppModel.h"
#include "design/FocusRing.h"
#include "design/Accessibility.h"
#include "design/DeckButton.h"
#include "design/DeckEmptyState.h"
#include "design/DeckParagraph.h"
#include "design/DeckText.h"
#include "design/FlowLayout.h"
#include "design/InfoRow.h"
#include "design/Ink.h"
#include "design/Labels.h"
#include "design/MenuButton.h"
#include "design/MeterBar.h"
#include "design/Motion.h"
#include "design/NativeMaterial.h"
#include "design/Panel.h"
#include "design/SelectableLine.h"
#include "design/ShadowCache.h"
#include "design/ShownText.h"
#include "design/Skeleton.h"
#include "design/Squircle.h"
#include "design/SymbolGlyph.h"
#include "design/TabularDigits.h"
#include "design/Symbols.h"
#include "design/Theme.h"
#include "design/Transition.h"
#include "design/ToneInk.h"
#include "design/Tokens.h"
#include "design/Typo.h"
#include "screenkit/ViewUpdates.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

QString orDash(const std::optional<QString> &value) { return value ? *value : QStringLiteral("—"); }

QVBoxLayout *column(QWidget *box, qreal spacing, const QMarginsF &margins = {})
{
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(margins.toMargins());
    layout->setSpacing(int(spacing));
    return layout;
}

// The identity block's first row. It draws the package's icon, with its shadow, into the slot
// its layout keeps for it: the icon is no element of its own for accessibility (the title and
// the identifier beside it name the package).
class IdentityRow : public QWidget {
public:
    IdentityRow(const AndroidPackage &package, qreal iconSide, QWidget *parent)
        : QWidget(parent), m_package(package), m_iconSide(iconSide),
          m_slot(new IconSlot(int(std::ceil(iconSide))))
    {
        AppIconCache &cache = AppIconCache::shared();
        connect(&cache, &AppIconCache::iconReady, this, [this](const QString &name) {
            if (name == m_package.name)
                update(iconRect().toAlignedRect());
        });
        connect(&cache, &AppIconCache::cleared, this, [this] { update(); });
    }
    // Owned by the row's layout once added.
    IconSlot *slot() const { return m_slot; }
    QRectF iconRect() const { return QRectF(m_slot->geometry().topLeft(), QSizeF(m_iconSide, m_iconSide)); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const QRectF r = iconRect();
        constexpr qreal blur = 10;
        const QImage shadow = ShadowCache::shadow(r.size(), PackageIconView::tileRadius(r.width()), blur,
                                                  withOpacity(Ink::shadow(), 0.6), devicePixelRatioF());
        const qreal reach = ShadowCache::reach(blur);
        p.drawImage(r.topLeft() + QPointF(-reach, 4 - reach), shadow);
        PackageIconView::paint(p, r, m_package, m_iconSide);
    }

private:
    AndroidPackage m_package;
    qreal m_iconSide;
    IconSlot *m_slot;
};

// The risk panel's rounded fill and border in the risk's tone.
class TonePanel : public QWidget {
public:
    TonePanel(Tone tone, QWidget *parent) : QWidget(parent), m_tone(tone) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r(rect());
        p.fillPath(Squircle::path(r, Radius::m), withOpacity(fill(m_tone), 0.7));
        p.setPen(QPen(withOpacity(foreground(m_tone), 0.28), Stroke::hairline));
        p.drawPath(Squircle::strokePath(r, Radius::m, Stroke::hairline));
    }

private:
    Tone m_tone;
};

// The clickable header of a component group: chevron, symbol, title, count (digits of equal
// width).
class GroupHeader : public QAbstractButton {
public:
    GroupHeader(const QString &title, const QString &icon, qsizetype count, bool open, QWidget *parent)
        : QAbstractButton(parent), m_title(title), m_icon(icon), m_count(QString::number(count)), m_open(open)
    {
        setCursor(Qt::PointingHandCursor);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        setAccessibleName(title + QStringLiteral(", ") + m_count);
    }
    QSize sizeHint() const override
    {
        return QSize(200, int(std::ceil(QFontMetricsF(Typo::bodyMedium()).height() + 2 * Space::xs)));
    }
    void setOpen(bool open)
    {
        m_open = open;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        // The focus ring goes round the whole header: what it shows keeps clear of it.
        const QRectF r = QRectF(rect()).adjusted(Space::xs, 0, -Space::xs, 0);
        const QColor ink = Ink::textSecondary();
        qreal x = r.left();
        Symbols::paint(p, m_open ? QStringLiteral("chevron.down") : QStringLiteral("chevron.right"),
                       QRectF(x, 0, 10, r.height()), 8, ink);
        x += 10 + Space::s;
        Symbols::paint(p, m_icon, QRectF(x, 0, 12, r.height()), 10, ink);
        x += 12 + Space::s;
        const qreal countWidth = TabularDigits::width(m_count, Typo::caption());
        p.setPen(Ink::textTertiary());
        TabularDigits::paint(p, QRectF(r.right() - countWidth, 0, countWidth, r.height()),
                             Qt::AlignRight | Qt::AlignVCenter, m_count, Typo::caption());
        p.setFont(Typo::bodyMedium());
        p.setPen(ink);
        p.drawText(QRectF(x, 0, r.width() - x - countWidth - Space::s, r.height()), Qt::AlignLeft | Qt::AlignVCenter,
                   m_title);
        FocusRing::paintIfShown(p, this, QRectF(rect()), Radius::xs);
    }

private:
    QString m_title;
    QString m_icon;
    QString m_count;
    bool m_open;
};

// The inspector's background: the window material under the surface at 0.4, with a hairline
// along the leading edge.
void paintFrame(QPainter &p, const QRect &rect)
{
    p.fillRect(rect, NativeMaterial::fallback(NativeMaterialKind::contentBackground));
    p.fillRect(rect, withOpacity(Ink::surface(), 0.4));
    p.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), Ink::stroke());
}

} // namespace

AppInspectorView::AppInspectorView(AppModel *model, QWidget *parent) : QWidget(parent), m_model(model)
{
    setObjectName(QStringLiteral("inspector"));
    setAccessibleName(QStringLiteral("Подробности о приложении"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 0, 0, 0);
    layout->setSpacing(0);
    ViewUpdates::follow(model, this, [this] { rebuild(); }, model->inspectorPackageID, model->packages,
                        model->packageDetails, model->isDetailsLoading, model->packageDetailsError,
                        model->deviceReadinessInputs());
    rebuild();
}

void AppInspectorView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    paintFrame(p, rect());
}

void AppInspectorView::toggleGroup(const QString &key)
{
    const bool open = !m_expanded.remove(key);
    if (open)
        m_expanded.insert(key);
    QWidget *group = m_content ? m_content->findChild<QWidget *>(QStringLiteral("group-") + key) : nullptr;
    const std::optional<PackageDetails> &details = m_model->packageDetails();
    if (!group || !details) {
        rebuild();
        return;
    }
    if (auto *header = group->findChild<QAbstractButton *>(QStringLiteral("groupHeader-") + key))
        static_cast<GroupHeader *>(header)->setOpen(open);
    // The list unrolls from under the header and fades in, and rolls up again when closed.
    const std::optional<Animation> motion =
        group->isVisible() ? Motion::resolve(Motion::snap(), A11y::reduceMotion()) : std::nullopt;
    QWidget *list = group->findChild<QWidget *>(QStringLiteral("groupItems-") + key);
    if (list) {
        // A list still rolling up is gone once settled.
        Transition::settle(list);
        if (list->objectName().isEmpty())
            list = nullptr;
    }
    if (open && !list) {
        const QStringList &items = key == QLatin1String("activities") ? details->activities
                                   : key == QLatin1String("services") ? details->services
                                                                      : details->receivers;
        list = componentList(key, items, group);
        group->layout()->addWidget(list);
    }
    if (!list)
        return;
    const int full = std::max(1, list->sizeHint().height());
    const int from = open ? 0 : list->height();
    const int to = open ? full : 0;
    list->setMaximumHeight(from);
    list->show();
    Transition::run(list, motion, {.opacity = open ? std::pair(0.0, 1.0) : std::pair(1.0, 0.0)},
                    {.step = [list, from, to](qreal t) { list->setMaximumHeight(qRound(from + (to - from) * t)); },
                     .done = [list, open] {
                         if (open) {
                             list->setMaximumHeight(QWIDGETSIZE_MAX);
                         } else {
                             list->setObjectName(QString());
                             list->hide();
                             list->deleteLater();
                         }
                     }});
}

void AppInspectorView::selectOnly(const QString &packageName) { m_model->selectedPackageIDs.set({packageName}); }

void AppInspectorView::rebuild()
{
    const std::optional<AndroidPackage> package = m_model->inspectorPackage();
    const std::optional<QString> shown = package ? std::optional(package->name) : std::nullopt;
    const bool samePackage = shown && shown == m_shown;
    const bool firstShown = !m_shown.has_value();
    const int scroll = samePackage && m_scroll ? m_scroll->verticalScrollBar()->value() : 0;
    // Details arriving rebuild the content of the same package: a fade still running goes on in
    // the new content from where it stands, rather than being cut short.
    std::optional<qreal> fading;
    if (samePackage && m_content && Transition::isRunning(m_content))
        fading = Transition::opacity(m_content);
    if (m_content) {
        m_content->hide();
        m_content->deleteLater();
    }
    m_scroll = nullptr;
    m_shown = shown;

    if (!package) {
        m_content = new DeckEmptyState(QStringLiteral("sidebar.right"), QStringLiteral("Ничего не выбрано"),
                                       QStringLiteral("Выберите приложение в списке, чтобы увидеть подробности."),
                                       Tone::neutral, nullptr, this);
        layout()->addWidget(m_content);
        return;
    }

    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setFocusPolicy(Qt::NoFocus); // a page: Tab stops at its controls, and it follows them
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->viewport()->setAutoFillBackground(false);
    auto *page = new QWidget;
    auto *stack = column(page, Space::l, QMarginsF(Space::l, Space::l, Space::l, Space::l));
    stack->addWidget(identity(*package, page));
    stack->addWidget(riskPanel(*package, page));
    stack->addWidget(actions(*package, page));
    stack->addWidget(detailSection(*package, page));
    if (const auto &details = m_model->packageDetails()) {
        if (details->runtimePermissionsTotal >= 1)
            stack->addWidget(permissionsSection(*details, page));
        if (!details->activities.isEmpty() || !details->services.isEmpty() || !details->receivers.isEmpty())
            stack->addWidget(componentsSection(*details, page));
    }
    stack->addSpacing(int(Space::l));
    stack->addStretch(1);
    m_scroll->setWidget(page);
    page->setAutoFillBackground(false);
    m_content = m_scroll;
    layout()->addWidget(m_scroll);
    if (samePackage) {
        if (fading)
            Transition::run(m_content, Motion::resolve(m_fadeAnimation, A11y::reduceMotion()),
                            {.opacity = std::pair(*fading, 1.0)});
        QPointer<QScrollArea> area = m_scroll;
        QMetaObject::invokeMethod(this, [area, scroll] {
            if (area)
                area->verticalScrollBar()->setValue(scroll);
        }, Qt::QueuedConnection);
    } else {
        fadeIn(firstShown);
    }
}

void AppInspectorView::fadeIn(bool firstShown)
{
    // The content fades in when it first shows, and again, quicker, for each other package;
    // with reduce motion it is simply there.
    m_fadeAnimation = firstShown ? Motion::smooth() : Motion::snap();
    if (m_content)
        Transition::run(m_content, Motion::resolve(m_fadeAnimation, A11y::reduceMotion()),
                        {.opacity = std::pair(0.0, 1.0)});
}

QWidget *AppInspectorView::identity(const AndroidPackage &p, QWidget *parent)
{
    auto *box = new QWidget(parent);
    box->setObjectName(QStringLiteral("identity"));
    auto *rows = column(box, Space::m);

    auto *first = new IdentityRow(p, 56, box);
    first->setObjectName(QStringLiteral("identityRow"));
    auto *line = new QHBoxLayout(first);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(int(Space::m));
    line->addItem(first->slot()); // the icon's place, at the top of the row
    auto *names = new QVBoxLayout;
    names->setSpacing(int(Space::xs));
    // A label is one paragraph however it is broken.
    auto *heading =
        new DeckParagraph(ShownText::line(p.displayName), Typo::screenTitle(), [] { return Ink::text(); }, first);
    heading->setObjectName(QStringLiteral("inspectorTitle"));
    heading->setAccessibleName(ShownText::accessible(p.displayName));
    heading->setMaximumLines(2);
    names->addWidget(heading);
    auto *id = new CopyableValue(p.name, Typo::mono(), [] { return Ink::textSecondary(); },
                                 QStringLiteral("Идентификатор пакета"), first);
    names->addWidget(id, 0, Qt::AlignLeft);
    line->addLayout(names, 1);
    auto *close = new IconButton(QStringLiteral("xmark"), IconButtonStyle{24, Tone::neutral, false}, first);
    close->setObjectName(QStringLiteral("closeInspector"));
    close->setAccessibleName(QStringLiteral("Закрыть панель подробностей"));
    connect(close, &QAbstractButton::clicked, this, [this] { m_model->showInspector(std::nullopt); });
    line->addWidget(close, 0, Qt::AlignTop);
    rows->addWidget(first);

    auto *badges = new QWidget(box);
    badges->setObjectName(QStringLiteral("identityBadges"));
    // Four badges pass the width of a narrow panel: they wrap rather than widen the column.
    auto *badgeRow = new FlowLayout(badges);
    badgeRow->setContentsMargins(0, 0, 0, 0);
    badgeRow->setFlowSpacing(Space::xs, Space::xs);
    const RemovalRisk risk = p.risk().risk;
    badgeRow->addWidget(new StatusBadge(icon(p.kind), shortTitle(p.kind), Tone::neutral, BadgeStyle::outline, false, badges));
    badgeRow->addWidget(new StatusBadge(icon(p.state), shortTitle(p.state), tone(p.state), BadgeStyle::soft, false, badges));
    badgeRow->addWidget(new StatusBadge(icon(risk), title(risk), tone(risk), BadgeStyle::soft, false, badges));
    if (p.apkSize)
        badgeRow->addWidget(new StatusBadge(QStringLiteral("externaldrive"), Bytes::shortText(p.apkSize), Tone::neutral,
                                            BadgeStyle::outline, false, badges));
    rows->addWidget(badges);
    return box;
}

QWidget *AppInspectorView::riskPanel(const AndroidPackage &p, QWidget *parent)
{
    const DebloatVerdict &verdict = p.risk();
    const Tone t = tone(verdict.risk);
    auto *panel = new TonePanel(t, parent);
    panel->setObjectName(QStringLiteral("riskPanel"));
    auto *rows = column(panel, Space::s, QMarginsF(Space::m, Space::m, Space::m, Space::m));
    auto *header = new QHBoxLayout;
    header->setSpacing(int(Space::s));
    header->addWidget(new SymbolGlyph(icon(verdict.risk), 12, [t] { return foreground(t); }, panel));
    auto *category = new DeckText(verdict.category, Typo::label(), [t] { return foreground(t); }, panel);
    header->addWidget(category, 1);
    rows->addLayout(header);
    rows->addWidget(new DeckParagraph(verdict.summary, Typo::body(), [] { return Ink::text(); }, panel));
    rows->addWidget(new DeckParagraph(verdict.consequence, Typo::supporting(), [] { return Ink::textSecondary(); }, panel));
    if (verdict.risk >= RemovalRisk::advanced) {
        rows->addSpacing(2);
        auto *explain = new DeckParagraph(explanation(verdict.risk), Typo::caption(), [t] { return foreground(t); }, panel);
        explain->setObjectName(QStringLiteral("riskExplanation"));
        rows->addWidget(explain);
    }
    return panel;
}

QWidget *AppInspectorView::actions(const AndroidPackage &p, QWidget *parent)
{
    auto *box = new QWidget(parent);
    box->setObjectName(QStringLiteral("inspectorActions"));
    auto *rows = column(box, Space::s);
    auto *buttons = new QWidget(box);
    buttons->setObjectName(QStringLiteral("actionButtons"));
    auto *row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(int(Space::xs));
    // The buttons wrap in a narrow panel rather than widen it; the menu keeps the right edge.
    auto *flow = new QWidget(buttons);
    flow->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    auto *line = new FlowLayout(flow);
    line->setContentsMargins(0, 0, 0, 0);
    line->setFlowSpacing(Space::xs, Space::xs);
    row->addWidget(flow, 1);
    const QString name = p.name;
    const auto request = [this, name](PackageAction action) {
        return [this, name, action] {
            selectOnly(name);
            m_model->request(action);
        };
    };
    DeckButton *state = nullptr;
    switch (p.state) {
    case PackageState::enabled:
        state = new DeckButton(QStringLiteral("Отключить"), {DeckButtonRole::secondary, DeckButtonSize::small}, buttons);
        connect(state, &QAbstractButton::clicked, this, request(PackageAction::disable));
        break;
    case PackageState::disabled:
        state = new DeckButton(QStringLiteral("Включить"), {DeckButtonRole::primary, DeckButtonSize::small}, buttons);
        connect(state, &QAbstractButton::clicked, this, request(PackageAction::enable));
        break;
    case PackageState::removedForUser:
        state = new DeckButton(QStringLiteral("Восстановить"), {DeckButtonRole::primary, DeckButtonSize::small}, buttons);
        connect(state, &QAbstractButton::clicked, this, request(PackageAction::restore));
        break;
    }
    line->addWidget(state);
    auto *remove = new DeckButton(QStringLiteral("Удалить"), {DeckButtonRole::destructive, DeckButtonSize::small}, buttons);
    connect(remove, &QAbstractButton::clicked, this, request(PackageAction::uninstall));
    line->addWidget(remove);
    auto *permissions = new DeckButton(QStringLiteral("Разрешения"), {DeckButtonRole::secondary, DeckButtonSize::small}, buttons);
    connect(permissions, &QAbstractButton::clicked, this, [this, name] {
        selectOnly(name);
        m_model->openPermissionManager();
    });
    line->addWidget(permissions);
    auto *more = new MenuButton(QStringLiteral("ellipsis"), QString(), 24, buttons);
    more->setObjectName(QStringLiteral("inspectorMore"));
    more->setAccessibleName(QStringLiteral("Дополнительные действия над приложением"));
    auto *menu = new QMenu(more);
    menu->addAction(QStringLiteral("Запустить"), this, [this] { m_model->launchInspectedPackage(); });
    menu->addAction(QStringLiteral("Остановить принудительно"), this, [this] { m_model->forceStopInspectedPackage(); });
    menu->addSeparator();
    menu->addAction(QStringLiteral("Очистить данные…"), this, request(PackageAction::clearData));
    menu->addSeparator();
    menu->addAction(QStringLiteral("Обновить подробности"), this, [this] { m_model->loadPackageDetails(); });
    more->setMenu(menu);
    row->addWidget(more, 0, Qt::AlignTop);
    // Nothing can be requested without a ready, idle device.
    buttons->setEnabled(m_model->canRunDeviceAction());
    rows->addWidget(buttons);

    if (p.risk().risk >= RemovalRisk::advanced) {
        auto *warning = new QWidget(box);
        warning->setObjectName(QStringLiteral("riskWarning"));
        auto *warnLine = new QHBoxLayout(warning);
        warnLine->setContentsMargins(0, 0, 0, 0);
        warnLine->setSpacing(int(Space::xs));
        warnLine->addWidget(new SymbolGlyph(QStringLiteral("exclamationmark.triangle.fill"), 9, [] { return Ink::warning(); }, warning),
                            0, Qt::AlignVCenter);
        warnLine->addWidget(new DeckParagraph(QStringLiteral("Начните с отключения — его можно отменить одним действием."),
                                              Typo::caption(), [] { return Ink::warning(); }, warning),
                            1);
        rows->addWidget(warning);
    }
    return box;
}

QWidget *AppInspectorView::detailSection(const AndroidPackage &p, QWidget *parent)
{
    auto *box = new QWidget(parent);
    box->setObjectName(QStringLiteral("detailSection"));
    auto *rows = column(box, Space::s);
    const bool loading = m_model->isDetailsLoading();
    QWidget *reading = nullptr;
    if (loading) {
        auto *text = new DeckText(QStringLiteral("чтение…"), Typo::caption(), [] { return Ink::textTertiary(); }, box);
        text->setObjectName(QStringLiteral("detailsReading"));
        reading = text;
    }
    rows->addWidget(new SectionHeader(QStringLiteral("Сведения"), std::nullopt, reading, box));

    auto *panel = new DeckPanel(PanelStyle{PanelKind::sunken, Radius::m, Elevation::flat(), true, true}, box);
    panel->setPadding(QMarginsF(Space::m, Space::m, Space::m, Space::m));
    const std::optional<PackageDetails> &details = m_model->packageDetails();
    if (loading && !details) {
        panel->setObjectName(QStringLiteral("detailsSkeleton"));
        auto *skeletons = column(panel, Space::s);
        for (int i = 0; i < 6; ++i) {
            auto *line = new QHBoxLayout;
            line->setSpacing(int(Space::m));
            line->addWidget(new Skeleton(96, 9, Radius::xs, panel));
            line->addWidget(new Skeleton(140, 9, Radius::xs, panel));
            line->addStretch(1);
            skeletons->addLayout(line);
        }
        rows->addWidget(panel);
        return box;
    }
    panel->setObjectName(QStringLiteral("detailsRows"));
    auto *facts = column(panel, Space::xs);
    if (const auto &error = m_model->packageDetailsError()) {
        auto *message = new DeckParagraph(*error, Typo::supporting(), [] { return Ink::warning(); }, panel);
        message->setObjectName(QStringLiteral("detailsError"));
        facts->addWidget(message);
    }
    const PackageDetails none;
    const PackageDetails &d = details ? *details : none;
    const struct {
        const char *label;
        std::optional<QString> value;
        bool mono;
    } lines[] = {
        {"Версия", d.versionName, false},         {"Код версии", d.versionCode, true},
        {"Target SDK", d.targetSDK, true},        {"Min SDK", d.minSDK, true},
        {"Установщик", d.installer, true},        {"Установлено", d.firstInstallTime, false},
        {"Обновлено", d.lastUpdateTime, false},   {"Архитектура", d.primaryCPUABI, true},
    };
    for (const auto &line : lines) {
        auto *row = new InfoRow(QString::fromUtf8(line.label), orDash(line.value), line.mono, false, {}, panel);
        // A long unbroken value (an installer's package name) is cut at the panel's edge rather
        // than widening the whole column past it; it stays selectable and shows in the tooltip.
        row->valueText()->setMinimumWidth(1);
        row->valueText()->setToolTip(ViewUpdates::plainToolTip(orDash(line.value)));
        facts->addWidget(row);
    }
    facts->addWidget(new InfoRow(QStringLiteral("Каталог данных"), orDash(d.dataDirectory), true,
                                 d.dataDirectory.has_value(), {}, panel));
    if (details && !details->apkPaths.isEmpty()) {
        for (qsizetype i = 0; i < details->apkPaths.size(); ++i)
            facts->addWidget(new InfoRow(i == 0 ? QStringLiteral("APK") : QStringLiteral("Split %1").arg(i),
                                         details->apkPaths[i], true, true, {}, panel));
    } else if (p.apkPath) {
        facts->addWidget(new InfoRow(QStringLiteral("APK"), *p.apkPath, true, true, {}, panel));
    }
    rows->addWidget(panel);
    return box;
}

QWidget *AppInspectorView::permissionsSection(const PackageDetails &d, QWidget *parent)
{
    auto *box = new QWidget(parent);
    box->setObjectName(QStringLiteral("permissionsSection"));
    auto *rows = column(box, Space::s);
    rows->addWidget(new SectionHeader(QStringLiteral("Разрешения"),
                                      QStringLiteral("Предоставлено %1 из %2")
                                          .arg(d.runtimePermissionsGranted)
                                          .arg(d.runtimePermissionsTotal),
                                      nullptr, box));
    const double progress = double(d.runtimePermissionsGranted) / double(std::max<qint64>(d.runtimePermissionsTotal, 1));
    auto *meter = new MeterBar(progress, d.runtimePermissionsGranted > 0 ? Tone::accent : Tone::neutral, 5, box);
    meter->setObjectName(QStringLiteral("permissionsMeter"));
    rows->addWidget(meter);
    auto *open = new DeckButton(QStringLiteral("Открыть менеджер разрешений"),
                                {DeckButtonRole::secondary, DeckButtonSize::small}, box);
    const QString name = d.packageName;
    connect(open, &QAbstractButton::clicked, this, [this, name] {
        selectOnly(name);
        m_model->openPermissionManager();
    });
    rows->addWidget(open, 0, Qt::AlignLeft);
    return box;
}

QWidget *AppInspectorView::componentsSection(const PackageDetails &d, QWidget *parent)
{
    auto *box = new QWidget(parent);
    box->setObjectName(QStringLiteral("componentsSection"));
    auto *rows = column(box, Space::s);
    rows->addWidget(new SectionHeader(QStringLiteral("Компоненты"), QStringLiteral("Объявлены в манифесте приложения"),
                                      nullptr, box));
    const struct {
        const char *title;
        const char *key;
        const QStringList *items;
        const char *icon;
    } groups[] = {
        {"Активности", "activities", &d.activities, "rectangle.on.rectangle"},
        {"Сервисы", "services", &d.services, "gearshape.arrow.triangle.2.circlepath"},
        {"Приёмники", "receivers", &d.receivers, "antenna.radiowaves.left.and.right"},
    };
    for (const auto &g : groups)
        if (!g.items->isEmpty())
            rows->addWidget(componentGroup(QString::fromUtf8(g.title), QString::fromLatin1(g.key), *g.items,
                                           QString::fromLatin1(g.icon), box));
    return box;
}

QWidget *AppInspectorView::componentGroup(const QString &title, const QString &key, const QStringList &items,
                                          const QString &icon, QWidget *parent)
{
    auto *box = new QWidget(parent);
    box->setObjectName(QStringLiteral("group-") + key);
    auto *rows = column(box, Space::xs);
    const bool open = m_expanded.contains(key);
    auto *header = new GroupHeader(title, icon, items.size(), open, box);
    header->setObjectName(QStringLiteral("groupHeader-") + key);
    connect(header, &QAbstractButton::clicked, this, [this, key] { toggleGroup(key); });
    rows->addWidget(header);
    if (open)
        rows->addWidget(componentList(key, items, box));
    return box;
}

QWidget *AppInspectorView::componentList(const QString &key, const QStringList &items, QWidget *parent)
{
    auto *list = new DeckPanel(PanelStyle{PanelKind::sunken, Radius::s, Elevation::flat(), true, true}, parent);
    list->setObjectName(QStringLiteral("groupItems-") + key);
    list->setPadding(QMarginsF(Space::s, Space::s, Space::s, Space::s));
    auto *lines = column(list, 3);
    // At most this many rows however long the list; the rest is one line.
    const qsizetype shown = std::min<qsizetype>(items.size(), kComponentRowLimit);
    for (qsizetype i = 0; i < shown; ++i) {
        auto *line = new SelectableLine(items[i], Typo::monoSmall(), [] { return Ink::textTertiary(); }, list);
        line->setToolTip(ViewUpdates::plainToolTip(items[i]));
        lines->addWidget(line);
    }
    if (items.size() > kComponentRowLimit) {
        auto *more = new DeckText(QStringLiteral("и ещё %1").arg(items.size() - kComponentRowLimit), Typo::caption(),
                                  [] { return Ink::textTertiary(); }, list);
        more->setObjectName(QStringLiteral("groupMore-") + key);
        lines->addWidget(more);
    }
    return list;
}
