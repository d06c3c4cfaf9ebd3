#include "ApplicationsState.h"

#include "bridge/Bytes.h"
#include "core/AppModel.h"
#include "design/ShownText.h"

#include "shell/ViewUpdates.h"

namespace {

bool sameIcon(const std::optional<QByteArray> &a, const std::optional<QByteArray> &b)
{
    if (a.has_value() != b.has_value())
        return false;
    // Shared bytes are the same bytes; others are compared only when the sizes agree.
    return !a || a->constData() == b->constData() || *a == *b;
}

} // namespace

ApplicationsState::ApplicationsState(AppModel *model, QObject *parent) : Observable(parent), m_model(model)
{
    m_listModel = new ListModelAdapter<PackageRow>(
        rows,
        [](const PackageRow &row, int, int role) -> QVariant {
            switch (role) {
            case Qt::DisplayRole: return row.package.displayName;
            case Qt::AccessibleTextRole: return accessibilityLabel(row.package);
            case PackageNameRole: return row.package.name;
            default: return {};
            }
        },
        this);
    m_pending.setSingleShot(true);
    m_pending.setInterval(0);
    connect(&m_pending, &QTimer::timeout, this, &ApplicationsState::refreshNow);
    ViewUpdates::forEachProperty([this](const auto &property) { m_model->observe(property, this, [this] {
                                     m_pending.start();
                                 }); },
                                 m_model->displayedPackagesInputs());
    refreshNow();
}

void ApplicationsState::refreshNow()
{
    m_pending.stop();
    const QList<AndroidPackage> shown = m_model->displayedPackages();
    if (sameRows(rows(), shown))
        return;
    QList<PackageRow> next;
    next.reserve(shown.size());
    QHash<QString, int> index;
    index.reserve(shown.size());
    for (const AndroidPackage &p : shown) {
        index.insert(p.name, int(next.size()));
        next.append(PackageRow{p});
    }
    m_rowOfName = std::move(index);
    rows.set(std::move(next));
}

bool ApplicationsState::sameRows(const QList<PackageRow> &a, const QList<AndroidPackage> &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const AndroidPackage &x = a[i].package, &y = b[i];
        if (x.name != y.name || x.state != y.state || x.kind != y.kind || x.apkSize != y.apkSize
            || x.displayName != y.displayName || x.apkPath != y.apkPath || !sameIcon(x.iconData, y.iconData))
            return false;
    }
    return true;
}

QString ApplicationsState::accessibilityLabel(const AndroidPackage &p)
{
    const QString size = p.apkSize ? Bytes::shortText(p.apkSize) : QStringLiteral("неизвестен");
    return ShownText::accessible(p.displayName) + QStringLiteral(", ") + shortTitle(p.kind) + QStringLiteral(", ") + title(p.state)
        + QStringLiteral(", риск ") + title(p.risk().risk) + QStringLiteral(", размер ") + size;
}
