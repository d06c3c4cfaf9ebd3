#include "ConfirmationTexts.h"

#include "bridge/PresetAction.h"
#include "bridge/RemovalRisk.h"
#include "design/ShownText.h"

#include <QHash>

namespace ConfirmationTexts {

QString packageActionTitle(std::optional<PackageAction> action, qsizetype selectedCount)
{
    if (!action)
        return QStringLiteral("Подтвердите действие");
    return rawValue(*action) + QStringLiteral(": ") + QString::number(selectedCount) + QStringLiteral(" приложений?");
}

QString packageActionConfirm(std::optional<PackageAction> action)
{
    return action ? rawValue(*action) : QStringLiteral("Выполнить");
}

QString packageActionMessage(std::optional<PackageAction> action, const QStringList &selectedNames,
                             const QList<AndroidPackage> &packages)
{
    if (!action)
        return {};

    // The first package of each name (walked backwards so the first one wins); a catalogue
    // holds thousands, so index it once.
    QHash<QString, const AndroidPackage *> byName;
    byName.reserve(packages.size());
    for (auto it = packages.crbegin(); it != packages.crend(); ++it)
        byName.insert(it->name, &*it);

    QList<const AndroidPackage *> selected;
    for (const QString &name : selectedNames)
        if (const AndroidPackage *package = byName.value(name))
            selected.append(package);

    int systemCount = 0;
    int userCount = 0;
    QStringList risky;
    for (const AndroidPackage *package : selected) {
        if (package->kind == PackageKind::system)
            ++systemCount;
        else
            ++userCount;
        if (package->risk().risk >= RemovalRisk::advanced)
            risky.append(ShownText::line(package->displayName)); // one name's controls never reorder the sentence
    }

    QStringList sentences;
    switch (*action) {
    case PackageAction::uninstall:
        // Only a package of the firmware stays on the phone to be restored.
        if (userCount == 0)
            sentences << QStringLiteral("Пакеты будут удалены только для пользователя 0. APK останется в прошивке, "
                                        "восстановление возможно командой «Восстановить».");
        else if (systemCount > 0)
            sentences << QStringLiteral("Системные пакеты будут удалены только для пользователя 0. APK останется в "
                                        "прошивке, восстановление возможно командой «Восстановить».");
        if (userCount > 0)
            sentences << userAppsRemoval(userCount);
        break;
    case PackageAction::clearData:
        sentences << QStringLiteral("Все данные и настройки выбранных приложений будут стёрты без возможности отмены.");
        break;
    default:
        sentences << QStringLiteral("Действие обратимо.");
        break;
    }

    if (systemCount > 0)
        sentences << QStringLiteral("Системных пакетов: ") + QString::number(systemCount) + QLatin1Char('.');
    if (!risky.isEmpty()) {
        QString sentence = QStringLiteral("Повышенный риск: ") + risky.mid(0, 3).join(QStringLiteral(", "));
        if (risky.size() > 3)
            sentence += QStringLiteral(" и ещё ") + QString::number(risky.size() - 3);
        sentences << sentence + QLatin1Char('.');
    }
    return sentences.join(QLatin1Char(' '));
}

QString presetExecutionTitle(const std::optional<PresetPreview> &preview)
{
    if (!preview)
        return QStringLiteral("Подтвердите выполнение пресета");
    return title(preview->preset.action) + QStringLiteral(": ") + QString::number(preview->installedEntries().size())
         + QLatin1Char('?');
}

std::optional<QString> presetExecutionMessage(const std::optional<PresetPreview> &preview)
{
    if (!preview)
        return std::nullopt;
    QStringList sentences{QStringLiteral("Будут обработаны только найденные на устройстве пакеты.")};
    if (const qsizetype missing = preview->missingEntries().size(); missing > 0)
        sentences << QStringLiteral("Отсутствующие пакеты (") + QString::number(missing)
                         + QStringLiteral(") будут пропущены.");
    if (const int system = preview->systemCount(); system >= 1)
        sentences << QStringLiteral("Системных пакетов: ") + QString::number(system) + QLatin1Char('.');
    if (preview->preset.action == PresetAction::uninstall) {
        const int user = preview->userCount();
        if (preview->systemCount() >= 1 || user == 0)
            sentences << QStringLiteral("Удаление выполняется только для пользователя 0; системный APK не стирается из "
                                        "прошивки.");
        if (user >= 1)
            sentences << userAppsRemoval(user);
    }
    return sentences.join(QLatin1Char(' '));
}

QString userAppsRemoval(qsizetype userCount)
{
    return QStringLiteral("Пользовательские приложения (") + QString::number(userCount)
         + QStringLiteral(") будут удалены вместе с данными без возможности восстановления.");
}

QString alertMessage(const std::optional<QString> &message)
{
    return message.value_or(QStringLiteral("Неизвестная ошибка"));
}

} // namespace ConfirmationTexts
