#include "ConnectionGateView.h"

ConnectionGateView::ConnectionGateView(AppModel *model, AppSettings *settings, QWidget *parent)
    : QWidget(parent), m_model(model), m_settings(settings)
{
    setObjectName(QStringLiteral("ConnectionGateView"));
}
