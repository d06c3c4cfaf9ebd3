#include "RouteScreens.h"

#include "ConsoleScreen.h"
#include "FilesScreen.h"
#include "SettingsScreen.h"

#include "design/DeckText.h"
#include "design/Ink.h"
#include "design/Symbols.h"
#include "design/Typo.h"

#include <QLabel>
#include <QVBoxLayout>

namespace RouteScreens {

QWidget *placeholder(AppRoute route)
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("placeholder-") + rawValue(route));
    auto *layout = new QVBoxLayout(page);
    layout->addStretch(1);
    auto *glyph = new QLabel;
    glyph->setPixmap(Symbols::pixmap(icon(route), 34, Ink::textTertiary(), page->devicePixelRatioF()));
    glyph->setAlignment(Qt::AlignCenter);
    layout->addWidget(glyph);
    auto *heading = new DeckText(title(route), Typo::cardTitle(), Ink::text);
    heading->setAlignment(Qt::AlignCenter);
    layout->addWidget(heading);
    layout->addStretch(1);
    return page;
}

QWidget *build(AppRoute route, AppModel *model, AppSettings *settings)
{
    switch (route) {
    case AppRoute::files:
        return new FilesScreen(model);
    case AppRoute::console:
        return new ConsoleScreen(model);
    case AppRoute::settings:
        return new SettingsScreen(model, settings);
    default:
        return placeholder(route);
    }
}

} // namespace RouteScreens
