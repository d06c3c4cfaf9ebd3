#include "screenkit/ConfirmationTexts.h"

#include "bridge/PackageMetadata.h"

#include <gtest/gtest.h>

namespace {

using namespace ConfirmationTexts;

const QString uninstallSentence = QStringLiteral(
    "Пакеты будут удалены только для пользователя 0. APK останется в прошивке, восстановление возможно командой "
    "«Восстановить».");

AndroidPackage package(const QString &name, PackageKind kind, const QString &label = {})
{
    std::optional<PackageMetadata> metadata;
    if (!label.isEmpty()) {
        metadata = PackageMetadata{};
        metadata->packageName = name;
        metadata->label = label;
    }
    return AndroidPackage(name, std::nullopt, kind, metadata);
}

PresetPreview preview(PresetAction action, int installedUser, int installedSystem, int missing)
{
    PackagePreset preset;
    preset.name = QStringLiteral("p");
    preset.action = action;
    QList<PresetPackageEntry> entries;
    for (int i = 0; i < installedUser; ++i)
        entries.append({QStringLiteral("u%1").arg(i), {}, PackageKind::user});
    for (int i = 0; i < installedSystem; ++i)
        entries.append({QStringLiteral("s%1").arg(i), {}, PackageKind::system});
    for (int i = 0; i < missing; ++i)
        entries.append({QStringLiteral("m%1").arg(i), {}, std::nullopt});
    return PresetPreview(preset, entries);
}

TEST(ConfirmationTexts, PackageActionWorkedExample)
{
    // Five names, two system packages, four risky ones; the labels stand in for the names.
    const QList<AndroidPackage> catalogue{
        package(QStringLiteral("com.android.systemui"), PackageKind::system, QStringLiteral("Камера")),
        package(QStringLiteral("com.android.phone"), PackageKind::system, QStringLiteral("Почта")),
        package(QStringLiteral("android"), PackageKind::user, QStringLiteral("Радио")),
        package(QStringLiteral("com.android.shell"), PackageKind::user, QStringLiteral("Заметки")),
        package(QStringLiteral("com.example.notes"), PackageKind::user),
    };
    const QStringList names{QStringLiteral("com.android.systemui"), QStringLiteral("com.android.phone"),
                            QStringLiteral("android"), QStringLiteral("com.android.shell"),
                            QStringLiteral("com.example.notes")};
    EXPECT_EQ(packageActionTitle(PackageAction::uninstall, names.size()),
              QStringLiteral("Удалить для пользователя: 5 приложений?"));
    EXPECT_EQ(packageActionConfirm(PackageAction::uninstall), QStringLiteral("Удалить для пользователя"));
    EXPECT_EQ(packageActionMessage(PackageAction::uninstall, names, catalogue),
              uninstallSentence + QStringLiteral(" Системных пакетов: 2. Повышенный риск: Камера, Почта, Радио и ещё 1."));
}

TEST(ConfirmationTexts, PackageActionSentencesByCase)
{
    const QList<AndroidPackage> catalogue{
        package(QStringLiteral("com.example.app"), PackageKind::user),
        package(QStringLiteral("com.vendor.widget"), PackageKind::system),  // review: no risk sentence
        package(QStringLiteral("com.android.settings"), PackageKind::system), // critical, no label
        package(QStringLiteral("com.android.systemui"), PackageKind::system, QStringLiteral("Интерфейс")),
        package(QStringLiteral("com.android.phone"), PackageKind::system, QStringLiteral("Телефон")),
    };
    const struct {
        std::optional<PackageAction> action;
        QStringList names;
        QString message;
    } cases[] = {
        {PackageAction::uninstall, {QStringLiteral("com.example.app")}, uninstallSentence},
        {PackageAction::clearData,
         {QStringLiteral("com.example.app"), QStringLiteral("gone.package"), QStringLiteral("com.vendor.widget")},
         QStringLiteral("Все данные и настройки выбранных приложений будут стёрты без возможности отмены. "
                        "Системных пакетов: 1.")},
        // A package without a label is listed by its name; exactly three risky: no tail.
        {PackageAction::disable,
         {QStringLiteral("com.android.settings"), QStringLiteral("com.android.systemui"),
          QStringLiteral("com.android.phone")},
         QStringLiteral("Действие обратимо. Системных пакетов: 3. Повышенный риск: com.android.settings, Интерфейс, "
                        "Телефон.")},
        {PackageAction::enable, {}, QStringLiteral("Действие обратимо.")},
        {std::nullopt, {QStringLiteral("com.example.app")}, QString()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(packageActionMessage(c.action, c.names, catalogue), c.message) << c.message.toStdString();

    // The count in the title is the selection's, catalogue or not.
    EXPECT_EQ(packageActionTitle(PackageAction::clearData, 3), QStringLiteral("Очистить данные: 3 приложений?"));
    EXPECT_EQ(packageActionTitle(std::nullopt, 3), QStringLiteral("Подтвердите действие"));
    EXPECT_EQ(packageActionConfirm(std::nullopt), QStringLiteral("Выполнить"));
}

TEST(ConfirmationTexts, FirstPackageOfANameCounts)
{
    const QList<AndroidPackage> catalogue{
        package(QStringLiteral("android"), PackageKind::user, QStringLiteral("Первый")),
        package(QStringLiteral("android"), PackageKind::system, QStringLiteral("Второй")),
    };
    EXPECT_EQ(packageActionMessage(PackageAction::disable, {QStringLiteral("android")}, catalogue),
              QStringLiteral("Действие обратимо. Повышенный риск: Первый."));
}

// A label that holds a line break or a bidirectional control is quoted with them visible: the
// override would otherwise reverse the rest of the sentence in the dialog.
TEST(ConfirmationTexts, LabelControlsNeverReorderOrBreakTheSentence)
{
    const QList<AndroidPackage> catalogue{
        package(QStringLiteral("com.android.systemui"), PackageKind::system, QString::fromUtf16(u"\u202Eevil\nname")),
        package(QStringLiteral("com.android.phone"), PackageKind::system, QStringLiteral("Телефон")),
    };
    EXPECT_EQ(packageActionMessage(PackageAction::disable,
                                   {QStringLiteral("com.android.systemui"), QStringLiteral("com.android.phone")},
                                   catalogue),
              QString::fromUtf16(u"Действие обратимо. Системных пакетов: 2. Повышенный риск: <RLO>evil<LF>name, Телефон."));
}

TEST(ConfirmationTexts, PresetExecution)
{
    const auto plain = preview(PresetAction::disable, 12, 0, 0);
    EXPECT_EQ(presetExecutionTitle(plain), QStringLiteral("Отключить: 12?"));
    EXPECT_EQ(presetExecutionMessage(plain), QStringLiteral("Будут обработаны только найденные на устройстве пакеты."));

    const auto full = preview(PresetAction::uninstall, 1, 2, 4);
    EXPECT_EQ(presetExecutionTitle(full), QStringLiteral("Удалить для пользователя: 3?"));
    EXPECT_EQ(presetExecutionMessage(full),
              QStringLiteral("Будут обработаны только найденные на устройстве пакеты. Отсутствующие пакеты (4) будут "
                             "пропущены. Системных пакетов: 2. Удаление выполняется только для пользователя 0; "
                             "системный APK не стирается из прошивки."));

    EXPECT_EQ(presetExecutionTitle(std::nullopt), QStringLiteral("Подтвердите выполнение пресета"));
    EXPECT_EQ(presetExecutionMessage(std::nullopt), std::nullopt);
    EXPECT_EQ(alertMessage(std::nullopt), QStringLiteral("Неизвестная ошибка"));
    EXPECT_EQ(alertMessage(QStringLiteral("нет файла")), QStringLiteral("нет файла"));
}

} // namespace
