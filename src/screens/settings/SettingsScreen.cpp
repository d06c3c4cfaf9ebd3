#include "SettingsScreen.h"

#include "SettingsView.h"

#include <QVBoxLayout>

SettingsScreen::SettingsScreen(AppModel *model, AppSettings *settings, QWidget *parent)
    : QWidget(parent), m_view(new SettingsView(model, settings, this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
}
