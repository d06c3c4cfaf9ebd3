#include "ConsoleScreen.h"

#include "RouteScreens.h"

#include <QVBoxLayout>

ConsoleScreen::ConsoleScreen(AppModel *model, QWidget *parent) : QWidget(parent), m_model(model)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(RouteScreens::placeholder(AppRoute::console));
}
