#include "RootView.h"

#include "AppDialogs.h"
#include "ConnectionGateView.h"
#include "DevicePickerPopover.h" // the sidebar's inline accessor needs the whole type
#include "OperationOverlay.h"
#include "RouteScreens.h"
#include "screenkit/ScreenMemory.h"
#include "screenkit/TabOrder.h"
#include "SidebarView.h"
#include "ThemeHost.h"
#include "ToastStack.h"

#include "core/AppModel.h"
#include "core/AppSettings.h"
#include "design/Accessibility.h"
#include "design/DeckSizeReader.h"
#include "design/Ink.h"
#include "design/Motion.h"
#include "design/OperationBar.h"
#include "design/Theme.h"
#include "design/Transition.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QSplitter>

namespace {

// The detail column's stack: the canvas with the current screen laid over it. A screen
// entering slides up from `offset` px below its place.
class DetailStack : public QWidget {
public:
    using QWidget::QWidget;
    void setContent(QWidget *content)
    {
        m_content = content;
        m_offset = 0;
        place();
    }
    void setOffset(qreal offset)
    {
        m_offset = offset;
        place();
    }

protected:
    void resizeEvent(QResizeEvent *) override { place(); }
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), Ink::canvas()); }

private:
    void place()
    {
        if (m_content)
            m_content->setGeometry(0, qRound(m_offset), width(), height());
    }
    QPointer<QWidget> m_content;
    qreal m_offset = 0;
};

} // namespace

RootView::RootView(AppModel *model, AppSettings *settings, QWidget *parent)
    : QWidget(parent), m_model(model), m_settings(settings), m_memory(std::make_unique<ScreenMemory>())
{
    m_themeKey = ThemeHost::resolve(settings->appearance());

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_split = new QSplitter(Qt::Horizontal, this);
    m_split->setChildrenCollapsible(false);
    m_split->setHandleWidth(1);
    layout->addWidget(m_split);

    m_detail = new DetailStack;
    m_reader = new DeckSizeReader(m_detail);
    rebuildSidebar();
    m_split->addWidget(m_reader);
    m_split->setStretchFactor(0, 0);
    m_split->setStretchFactor(1, 1);
    syncDetail();

    m_dialogs = new AppDialogs(model, this);
    // Over everything, sidebar included.
    m_toasts = new ToastStack(model, this);
    m_operation = new OperationOverlay(model, this);

    // Change handlers: none runs for the value present at construction.
    settings->observe(settings->appearance, this, [this] {
        m_settings->applyAppearance();
        resolveTheme();
    });
    model->observe(model->route, this, [this] {
        m_settings->lastRoute.set(m_model->route());
        syncDetail();
    });
    model->observe(model->selectedDeviceID, this, [this] {
        m_model->ensureDeviceData(); // owned by the model; runs on after this returns
        syncDetail();
    });
    model->observe(model->devices, this, [this] { syncDetail(); });
    // Another window may have changed the theme (the same setting, read there first).
    connect(Theme::notifier(), &ThemeNotifier::changed, this, [this] {
        if (Theme::key() != m_themeKey)
            resolveTheme();
    });
}

RootView::~RootView()
{
    // The screens may still write their state as they go: the current ones go here, the retired
    // ones with m_retired, both before the memory they keep it in.
    delete m_split;
}

QString RootView::routeIdentity() const
{
    return rawValue(m_model->route()) + QLatin1Char('-')
         + (m_model->isDeviceUsable() ? QStringLiteral("true") : QStringLiteral("false")) + QLatin1Char('-')
         + Theme::key();
}

bool RootView::isGateShown() const { return needsDevice(m_model->route()) && !m_model->isDeviceUsable(); }

void RootView::start()
{
    m_started = true;
    m_settings->applyAppearance();
    resolveTheme();
    m_model->route.set(m_settings->lastRoute());
    m_model->ensureDeviceData(); // owned by the model
}

void RootView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_started) {
        // The sidebar sets its column's width; the detail takes the rest.
        const int side = std::max(m_sidebar->minimumWidth(), m_sidebar->sizeHint().width());
        m_split->setSizes({side, std::max(0, width() - side)});
        start();
    }
    layoutOverlays();
}

void RootView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutOverlays();
}

void RootView::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), Ink::canvas());
}

void RootView::resolveTheme()
{
    const QString key = ThemeHost::resolve(m_settings->appearance());
    if (key == m_themeKey)
        return;
    m_themeKey = key;
    rebuildSidebar();
    syncDetail();
    update();
}

void RootView::rebuildSidebar()
{
    QList<int> sizes = m_split->sizes();
    m_retired.retire(m_sidebar);
    m_sidebar = new SidebarView(m_model, m_settings);
    m_split->insertWidget(0, m_sidebar);
    TabOrder::keep(m_sidebar);
    if (sizes.size() == 2)
        m_split->setSizes(sizes);
}

void RootView::syncDetail()
{
    const QString identity = routeIdentity();
    if (identity == m_builtIdentity && m_content)
        return;
    const bool first = m_builtIdentity.isEmpty();
    m_builtIdentity = identity;
    auto *stack = static_cast<DetailStack *>(m_detail);
    const std::optional<Animation> animation = Motion::resolve(Motion::smooth(), A11y::reduceMotion());

    // The leaving screen fades out as a picture; the widget itself goes at once, so nothing
    // it started can write into it afterwards.
    if (m_content && animation && !first && isVisible()) {
        auto *ghost = new QLabel(m_detail);
        ghost->setPixmap(m_content->grab());
        ghost->setGeometry(m_content->geometry());
        ghost->setAttribute(Qt::WA_TransparentForMouseEvents);
        ghost->show();
        Transition::run(ghost, animation, {.opacity = std::pair(1.0, 0.0)}, {.done = [ghost] { ghost->deleteLater(); }});
    }
    m_retired.retire(m_content);

    QWidget *content = isGateShown() ? static_cast<QWidget *>(new ConnectionGateView(m_model, m_settings))
                                     : RouteScreens::build(m_model->route(), m_model, m_settings, m_memory.get());
    content->setParent(m_detail);
    content->setObjectName(content->objectName().isEmpty() ? identity : content->objectName());
    m_content = content;
    // Tab follows the reading order of every screen, also of rows it makes again later.
    TabOrder::keep(content);
    stack->setContent(content);
    content->lower();
    content->show();

    if (animation && !first && isVisible())
        Transition::run(content, animation, {.opacity = std::pair(0.0, 1.0)},
                        {.step = [stack](qreal t) { stack->setOffset(8 * (1 - t)); }});
    Q_EMIT detailRebuilt();
}

void RootView::layoutOverlays()
{
    if (m_toasts) {
        m_toasts->place(size());
        m_toasts->raise();
    }
    if (m_operation) {
        m_operation->place();
        if (m_operation->bar())
            m_operation->bar()->raise();
    }
}
