#include "PermissionManagerSheet.h"

#include "PermissionManagerContent.h"

#include "design/Ink.h"
#include "design/ShownText.h"

#include <QPainter>
#include <QVBoxLayout>

PermissionManagerSheet::PermissionManagerSheet(AppModel *model, AndroidPackage package, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("permissionSheet"));
    setWindowTitle(ShownText::line(package.displayName));
    setFixedSize(kWidth, kHeight);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_content = new PermissionManagerContent(model, std::move(package), true, this);
    layout->addWidget(m_content);
}

void PermissionManagerSheet::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Ink::canvas());
}
