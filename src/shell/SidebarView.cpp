#include "SidebarView.h"

SidebarView::SidebarView(AppModel *model, AppSettings *settings, QWidget *parent)
    : QWidget(parent), m_model(model), m_settings(settings)
{
    setObjectName(QStringLiteral("SidebarView"));
    setMinimumWidth(240);
}
