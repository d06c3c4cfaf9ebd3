#include "ThemeHost.h"

#include "core/AppSettings.h"
#include "design/Accessibility.h"
#include "design/Ink.h"
#include "design/Theme.h"
#include "screenkit/TabOrder.h"

#include <QPainter>
#include <QVBoxLayout>

QString ThemeHost::resolve(AppearanceMode mode)
{
    const std::optional<AppColorScheme> chosen = colorScheme(mode);
    const ColorScheme scheme = chosen ? (*chosen == AppColorScheme::dark ? ColorScheme::dark : ColorScheme::light)
                                      : Theme::systemScheme();
    const bool contrast = A11y::increaseContrast();
    if (!Theme::isApplied() || scheme != Theme::scheme() || contrast != Theme::increaseContrast())
        Theme::apply(scheme, contrast);
    return Theme::key();
}

ThemeHost::ThemeHost(AppSettings *settings, Factory content, QWidget *parent)
    : QWidget(parent), m_settings(settings), m_factory(std::move(content))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_key = resolve(m_settings->appearance());
    rebuild();
    settings->observe(settings->appearance, this, [this] { refresh(); });
    // Another host (or the main window) may have changed the theme.
    connect(Theme::notifier(), &ThemeNotifier::changed, this, [this] {
        if (Theme::key() != m_key) {
            m_key = Theme::key();
            rebuild();
        }
    });
}

void ThemeHost::refresh()
{
    const QString key = resolve(m_settings->appearance());
    if (key == m_key)
        return;
    m_key = key;
    rebuild();
}

void ThemeHost::rebuild()
{
    // The old tree leaves the screen at once and is destroyed back in the event loop, in case
    // the change came from one of its own controls.
    m_retired.retire(m_content);
    m_content = m_factory ? m_factory() : nullptr;
    if (m_content) {
        layout()->addWidget(m_content);
        TabOrder::keep(m_content);
    }
    update();
}

void ThemeHost::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), Ink::canvas());
}
