#pragma once

#include "bridge/AndroidPackage.h"
#include "bridge/PackageDetails.h"
#include "design/Motion.h"

#include <QPointer>
#include <QSet>
#include <QWidget>

#include <optional>

class AppModel;
class DeckButton;
class MenuButton;
class QScrollArea;

// The panel beside the Applications list that shows the inspected package in depth: identity,
// removal risk, the per-package actions, the facts read from the device, runtime permissions and
// manifest components. Every action first makes the package the whole selection, then asks the
// model; the action row is disabled while no device action can run.
class AppInspectorView : public QWidget {
    Q_OBJECT
public:
    explicit AppInspectorView(AppModel *model, QWidget *parent = nullptr);

    static constexpr int kMinimumWidth = 280;
    static constexpr int kIdealWidth = 360;
    static constexpr int kMaximumWidth = 460;
    static constexpr int kComponentRowLimit = 40;

    // Component groups open now ("activities", "services", "receivers"); kept while the panel lives.
    // A toggle unrolls or rolls up that group's list with Motion::snap (at once under reduce motion).
    const QSet<QString> &expandedGroups() const { return m_expanded; }
    void toggleGroup(const QString &key);
    // The package shown (none: the empty state).
    std::optional<QString> shownPackage() const { return m_shown; }
    QWidget *content() const { return m_content; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void rebuild();
    QWidget *identity(const AndroidPackage &p, QWidget *parent);
    QWidget *riskPanel(const AndroidPackage &p, QWidget *parent);
    QWidget *actions(const AndroidPackage &p, QWidget *parent);
    QWidget *detailSection(const AndroidPackage &p, QWidget *parent);
    QWidget *permissionsSection(const PackageDetails &details, QWidget *parent);
    QWidget *componentsSection(const PackageDetails &details, QWidget *parent);
    QWidget *componentGroup(const QString &title, const QString &key, const QStringList &items, const QString &icon,
                            QWidget *parent);
    QWidget *componentList(const QString &key, const QStringList &items, QWidget *parent);
    // Makes the package the whole selection before a selection-based operation.
    void selectOnly(const QString &packageName);
    void fadeIn(bool firstShown);

    AppModel *m_model;
    QPointer<QWidget> m_content;
    QScrollArea *m_scroll = nullptr;
    QSet<QString> m_expanded;
    std::optional<QString> m_shown;
    Animation m_fadeAnimation; // the one the content last faded in with
};
