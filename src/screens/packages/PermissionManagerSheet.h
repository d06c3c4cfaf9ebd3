#pragma once

#include "bridge/AndroidPackage.h"

#include <QDialog>

class AppModel;
class PermissionManagerContent;

// The permission manager outside the Permissions screen: 780 × 620, with the package header
// and its close button. The shell presents it while a package is open on any other route.
class PermissionManagerSheet : public QDialog {
    Q_OBJECT
public:
    PermissionManagerSheet(AppModel *model, AndroidPackage package, QWidget *parent = nullptr);

    PermissionManagerContent *content() const { return m_content; }

    static constexpr int kWidth = 780;
    static constexpr int kHeight = 620;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    PermissionManagerContent *m_content;
};
