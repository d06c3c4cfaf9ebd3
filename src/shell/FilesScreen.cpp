#include "FilesScreen.h"

#include "DeckScreen.h"
#include "RouteScreens.h"

#include "core/AppModel.h"
#include "design/DeckText.h"
#include "design/Ink.h"
#include "design/Labels.h"
#include "design/Tokens.h"
#include "design/Typo.h"

#include <QVBoxLayout>

FilesScreen::FilesScreen(AppModel *model, QWidget *parent) : QWidget(parent), m_model(model)
{
    auto *header = new QWidget;
    auto *column = new QVBoxLayout(header);
    column->setContentsMargins(Space::gutter, Space::gutter, Space::gutter, Space::m);
    column->setSpacing(Space::xs);
    column->addWidget(new Eyebrow(eyebrow(AppRoute::files)));
    column->addWidget(new DeckText(QStringLiteral("Файлы"), Typo::screenTitle(), Ink::text));
    m_subtitle = new DeckText(subtitle(*model), Typo::supporting(), Ink::textSecondary);
    column->addWidget(m_subtitle);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new DeckScreen(std::nullopt, header, RouteScreens::placeholder(AppRoute::files)));

    const auto follow = [this] {
        if (m_subtitle)
            m_subtitle->setText(subtitle(*m_model));
    };
    model->observe(model->selectedDeviceID, this, follow);
    model->observe(model->devices, this, follow);
}

QString FilesScreen::subtitle(const AppModel &model)
{
    const auto device = model.selectedDevice();
    return QStringLiteral("Двусторонний обмен между Mac и ") + (device ? device->displayName() : QStringLiteral("Android"));
}

QString FilesScreen::shownSubtitle() const { return m_subtitle ? m_subtitle->text() : QString(); }
