#include "PackageListPane.h"

#include "ApplicationsState.h"
#include "PackageContextMenu.h"
#include "PackageListView.h"
#include "PackageRowDelegate.h"
#include "SelectionBar.h"

#include "core/AppModel.h"
#include "core/AppSettings.h"
#include "design/Accessibility.h"
#include "design/Transition.h"
#include "design/DeckButton.h"
#include "design/DeckEmptyState.h"
#include "design/Ink.h"
#include "design/Skeleton.h"
#include "design/Tokens.h"
#include "screenkit/ViewUpdates.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QVBoxLayout>

namespace {

// Overlays fill the list area on the canvas colour.
class CanvasBox : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), Ink::canvas());
    }
};

} // namespace

PackageListPane::PackageListPane(AppModel *model, AppSettings *settings, ApplicationsState *state,
                                 std::function<void()> exportSelected, QWidget *parent)
    : QWidget(parent), m_model(model), m_settings(settings), m_state(state)
{
    setObjectName(QStringLiteral("packageListPane"));
    setMinimumWidth(300);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_list = new PackageListView(model, state, this);
    layout->addWidget(m_list);
    connect(m_list, &PackageListView::contextMenuRequested, this, [this](const QString &name, const QPoint &at) {
        if (QMenu *menu = contextMenuFor(name))
            menu->popup(at);
    });

    m_bar = new SelectionBar(model, std::move(exportSelected), this);
    m_bar->hide();

    applyDensity();
    settings->observe(settings->density, this, [this] { applyDensity(); });
    settings->observe(settings->showRiskColumn, this, [this] {
        m_list->rowDelegate()->setShowRisk(m_settings->showRiskColumn());
        m_list->viewport()->update();
    });
    m_list->rowDelegate()->setShowRisk(settings->showRiskColumn());

    ViewUpdates::follow(model, this, [this] { refreshOverlay(); }, model->isBusy, model->packages)
        ->on(state, state->rows);
    ViewUpdates::follow(model, this, [this] { refreshBar(); }, model->selectedPackageIDs,
                        model->deviceReadinessInputs());
    // The selection rule: only changes, not the selection found when the pane is first shown.
    model->observe(model->selectedPackageIDs, this, [this] {
        const QSet<QString> &names = m_model->selectedPackageIDs();
        if (names.size() == 1)
            m_model->showInspector(*names.cbegin());
        else if (names.isEmpty())
            m_model->showInspector(std::nullopt);
    });
    refreshOverlay();
    refreshBar();
}

QMenu *PackageListPane::contextMenuFor(const QString &packageName)
{
    const int row = m_state->rowOf(packageName);
    if (row < 0)
        return nullptr;
    return PackageContextMenu::build(m_model, m_state->packageAt(row), this);
}

void PackageListPane::applyDensity()
{
    m_list->rowDelegate()->setDensity(m_settings->density());
    // Uniform rows: the new height applies to every row at once.
    m_list->reset();
    m_list->syncSelectionFromModel();
    if (m_overlayKind == Overlay::skeleton) {
        m_overlayKind = Overlay::none;
        refreshOverlay();
    }
}

void PackageListPane::refreshOverlay()
{
    Overlay kind = Overlay::none;
    if (m_model->isBusy() && m_model->packages().isEmpty())
        kind = Overlay::skeleton;
    else if (m_state->rows.size() == 0)
        kind = m_model->packages().isEmpty() ? Overlay::emptyCatalogue : Overlay::noMatches;
    if (kind == m_overlayKind)
        return;
    m_overlayKind = kind;
    delete m_overlay;
    m_overlay = nullptr;
    if (kind == Overlay::skeleton)
        m_overlay = buildSkeleton();
    else if (kind != Overlay::none)
        m_overlay = buildEmptyState(kind);
    if (m_overlay) {
        m_overlay->setGeometry(m_list->geometry());
        m_overlay->show();
        m_overlay->raise();
        m_bar->raise();
    }
}

QWidget *PackageListPane::buildSkeleton()
{
    auto *box = new CanvasBox(this);
    box->setObjectName(QStringLiteral("loadingSkeleton"));
    box->setAccessibleName(QStringLiteral("Загрузка каталога устройства"));
    const ListDensity density = m_settings->density();
    auto *column = new QVBoxLayout(box);
    column->setContentsMargins(0, int(Space::s), 0, 0);
    column->setSpacing(int(Space::s));
    for (int i = 0; i < kSkeletonRows; ++i) {
        auto *row = new QWidget(box);
        row->setFixedHeight(rowHeight(density));
        auto *line = new QHBoxLayout(row);
        line->setContentsMargins(int(Space::gutter), 0, int(Space::gutter), 0);
        line->setSpacing(int(Space::m));
        const qreal side = iconSize(density);
        line->addWidget(new Skeleton(side, side, Radius::s, row), 0, Qt::AlignVCenter);
        auto *texts = new QVBoxLayout;
        texts->setSpacing(5);
        texts->addWidget(new Skeleton(180, 10, Radius::xs, row));
        texts->addWidget(new Skeleton(240, 8, Radius::xs, row));
        line->addLayout(texts);
        line->addStretch(1);
        line->addWidget(new Skeleton(56, 9, Radius::xs, row), 0, Qt::AlignVCenter);
        column->addWidget(row);
    }
    column->addStretch(1);
    return box;
}

QWidget *PackageListPane::buildEmptyState(Overlay kind)
{
    auto *box = new CanvasBox(this);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    DeckButton *button;
    DeckEmptyState *empty;
    if (kind == Overlay::noMatches) {
        box->setObjectName(QStringLiteral("noMatches"));
        button = new DeckButton(QStringLiteral("Сбросить фильтры"), {DeckButtonRole::secondary, DeckButtonSize::regular});
        connect(button, &QAbstractButton::clicked, this, [this] { m_model->clearFilters(); });
        empty = new DeckEmptyState(QStringLiteral("magnifyingglass"), QStringLiteral("Ничего не найдено"),
                                   QStringLiteral("Ни одно приложение не подходит под текущий поиск и фильтры."),
                                   Tone::neutral, button, box);
    } else {
        box->setObjectName(QStringLiteral("emptyCatalogue"));
        button = new DeckButton(QStringLiteral("Обновить"), {DeckButtonRole::primary, DeckButtonSize::regular});
        // Unlike the header's refresh, this one leaves the icon cache alone.
        connect(button, &QAbstractButton::clicked, this, [this] { m_model->refreshPackages(true); });
        empty = new DeckEmptyState(
            QStringLiteral("square.stack.3d.up.slash"), QStringLiteral("Каталог приложений пуст"),
            QStringLiteral("Устройство не вернуло ни одного пакета. Обновите список или проверьте авторизацию ADB."),
            Tone::neutral, button, box);
    }
    layout->addWidget(empty);
    return box;
}

bool PackageListPane::isSelectionBarShown() const { return m_barWanted; }

void PackageListPane::refreshBar()
{
    m_bar->refresh();
    const bool wanted = !m_model->selectedPackageIDs().isEmpty();
    if (wanted == m_barWanted) {
        placeBar();
        return;
    }
    m_barWanted = wanted;
    // Slides in from the bottom edge while fading; under reduce motion it only fades.
    if (wanted)
        m_bar->show();
    // From where a bar still on its way stands, so a quick change of mind never jumps.
    const qreal from = m_barPresence;
    const qreal to = wanted ? 1 : 0;
    Transition::run(m_bar, Motion::quick(), {.opacity = std::pair(from, to)},
                    {.step = [this, from, to](qreal t) {
                         m_barPresence = from + (to - from) * t;
                         placeBar();
                     },
                     .done = [this] {
                         if (!m_barWanted) {
                             m_bar->hide();
                             placeBar();
                         }
                     }});
}

void PackageListPane::placeBar()
{
    const qreal t = m_barPresence;
    const QMargins shadow = Panel::shadowMargins(m_bar->panelStyle()).toMargins();
    // The panel's shape sits Space::l inside the pane; its shadow reaches beyond the shape.
    const int width = std::max(0, this->width() - 2 * int(Space::l)) + shadow.left() + shadow.right();
    const int height = m_bar->heightForWidth(width);
    const int restingTop = this->height() - int(Space::l) - height + shadow.bottom();
    const int slide = A11y::reduceMotion() ? 0 : int((1 - t) * (height + Space::l));
    m_bar->setGeometry(int(Space::l) - shadow.left(), restingTop + slide, width, height);
    m_bar->raise();
    // While the bar is out, the list scrolls its last row up to the bar's resting top edge.
    m_list->setBottomPadding(m_bar->isHidden() ? 0 : this->height() - restingTop - shadow.top());
}

void PackageListPane::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_overlay)
        m_overlay->setGeometry(m_list->geometry());
    placeBar();
}
