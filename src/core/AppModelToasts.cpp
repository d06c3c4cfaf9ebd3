#include "AppModel.h"

#include <QDateTime>
#include <QTimer>

void AppModel::toast(const QString &title, const std::optional<QString> &detail, const QString &icon, Tone tone)
{
    const ToastMessage message(icon, title, detail, tone);
    toasts.mutate([&](QList<ToastMessage> &list) { list.append(message); });
    // Each toast leaves on its own clock; a released model takes its timers with it.
    const QUuid id = message.id;
    QTimer::singleShot(toastLifetime, Qt::PreciseTimer, this, [this, id] { removeToast(id); });
}

void AppModel::dismissToast(const QUuid &id)
{
    removeToast(id);
}

void AppModel::removeToast(const QUuid &id)
{
    const auto &list = toasts();
    if (std::none_of(list.begin(), list.end(), [&](const ToastMessage &t) { return t.id == id; }))
        return;
    toasts.mutate([&](QList<ToastMessage> &l) { l.removeIf([&](const ToastMessage &t) { return t.id == id; }); });
}

void AppModel::record(const QString &title, const QString &detail, bool succeeded)
{
    recentOperations.mutate([&](QList<OperationRecord> &list) {
        list.prepend(OperationRecord(title, detail, QDateTime::currentDateTime(), succeeded));
        if (list.size() > maxRecentOperations)
            list.resize(maxRecentOperations);
    });
    if (succeeded)
        toast(title, detail, QStringLiteral("checkmark.circle.fill"), Tone::success);
    else
        toast(title, detail, QStringLiteral("exclamationmark.triangle.fill"), Tone::warning);
}

void AppModel::clearOperationDeviceState()
{
    runningOperation.set(std::nullopt);
}
