#pragma once

#include "design/Panel.h"

#include <QList>

#include <functional>

class AppModel;
class DeckButton;
class RollingText;
class FlowLayout;
class MenuButton;
class QAction;

// The bar over the bottom of the list while packages are selected: the count of selected names
// (hidden ones included; a change rolls with Motion::snap), the four bulk actions and a menu of
// more. Everything on it acts on the whole selection and is disabled while no device action can
// run. Its items wrap onto more lines in a narrow pane.
class SelectionBar : public DeckPanel {
    Q_OBJECT
public:
    // `exportSelected` asks for a folder and exports the selected packages' APK files.
    SelectionBar(AppModel *model, std::function<void()> exportSelected, QWidget *parent = nullptr);

    RollingText *countLabel() const { return m_count; }
    QList<DeckButton *> buttons() const { return m_buttons; }
    MenuButton *moreButton() const { return m_more; }
    QAction *permissionsAction() const { return m_permissions; }

    // Shows the count and the enable state of now.
    void refresh();

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

private:
    AppModel *m_model;
    FlowLayout *m_flow;
    RollingText *m_count;
    QList<DeckButton *> m_buttons;
    MenuButton *m_more;
    QAction *m_permissions;
};
