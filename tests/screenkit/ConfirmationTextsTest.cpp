#include "screenkit/ConfirmationTexts.h"

#include "bridge/PackageMetadata.h"

#include <gtest/gtest.h>

namespace {

using namespace ConfirmationTexts;

const QString uninstallSentence = QStringLiteral(
    "Пакеты будут удалены только для пользователя 0. APK останется в прошивке, восстановление возможно командой "
    "«Восстановить».");
// Beside user apps the restore is promised for the system packages alone.
const QString systemUninstallSentence = QStringLiteral(
    "Системные пакеты будут удалены только для пользователя 0. APK останется в прошивке, восстановление возможно "
    "командой «Восстановить».");
const QString presetUninstallSentence =
    QStringLiteral("Удаление выполняется только для пользователя 0; системный APK не стирается из прошивки.");

QString userAppsGone(int count)
{
    return QStringLiteral("Пользовательские приложения (%1) будут удалены вместе с данными без возможности "
                          "восстановления.")
        .arg(count);
}

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
              systemUninstallSentence + QLatin1Char(' ') + userAppsGone(3)
                  + QStringLiteral(" Системных пакетов: 2. Повышенный риск: Камера, Почта, Радио и ещё 1."));
}

// Uninstalling for user 0 leaves a package of the firmware to restore; an app the user installed
// goes whole, with its data. The confirmation promises the restore only where it can happen.
TEST(ConfirmationTexts, UninstallPromisesARestoreOnlyForSystemPackages)
{
    const QList<AndroidPackage> catalogue{
        package(QStringLiteral("com.example.notes"), PackageKind::user),
        package(QStringLiteral("com.example.radio"), PackageKind::user),
        package(QStringLiteral("com.example.maps"), PackageKind::user),
        package(QStringLiteral("com.vendor.widget"), PackageKind::system),  // review: no risk sentence
        package(QStringLiteral("com.vendor.weather"), PackageKind::system), // review
        package(QStringLiteral("com.android.phone"), PackageKind::system, QStringLiteral("Телефон")), // critical
    };
    const struct {
        const char *what;
        QStringList names;
        QString message;
    } cases[] = {
        {"one system package", {QStringLiteral("com.vendor.widget")},
         uninstallSentence + QStringLiteral(" Системных пакетов: 1.")},
        {"system packages only",
         {QStringLiteral("com.vendor.widget"), QStringLiteral("com.vendor.weather"), QStringLiteral("com.android.phone")},
         uninstallSentence + QStringLiteral(" Системных пакетов: 3. Повышенный риск: Телефон.")},
        {"one user app", {QStringLiteral("com.example.notes")}, userAppsGone(1)},
        {"user apps only",
         {QStringLiteral("com.example.notes"), QStringLiteral("com.example.radio"), QStringLiteral("com.example.maps")},
         userAppsGone(3)},
        {"mixed",
         {QStringLiteral("com.example.notes"), QStringLiteral("com.vendor.widget"), QStringLiteral("com.example.radio"),
          QStringLiteral("com.android.phone")},
         systemUninstallSentence + QLatin1Char(' ') + userAppsGone(2)
             + QStringLiteral(" Системных пакетов: 2. Повышенный риск: Телефон.")},
        // A name the catalogue no longer holds is neither kind.
        {"user app and a gone name", {QStringLiteral("com.example.maps"), QStringLiteral("gone.package")},
         userAppsGone(1)},
        {"only gone names", {QStringLiteral("gone.package")}, uninstallSentence},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(packageActionMessage(PackageAction::uninstall, c.names, catalogue), c.message) << c.what;
        EXPECT_EQ(packageActionConfirm(PackageAction::uninstall), QStringLiteral("Удалить для пользователя")) << c.what;
    }
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
                             "системный APK не стирается из прошивки. ")
                  + userAppsGone(1));

    EXPECT_EQ(presetExecutionTitle(std::nullopt), QStringLiteral("Подтвердите выполнение пресета"));
    EXPECT_EQ(presetExecutionMessage(std::nullopt), std::nullopt);
    EXPECT_EQ(alertMessage(std::nullopt), QStringLiteral("Неизвестная ошибка"));
    EXPECT_EQ(alertMessage(QStringLiteral("нет файла")), QStringLiteral("нет файла"));
}

// A preset that uninstalls says, as the package action dialog does, that its user apps cannot be
// restored; one of system packages alone keeps its sentence.
TEST(ConfirmationTexts, UninstallingPresetPromisesNoRestoreForUserApps)
{
    const QString found = QStringLiteral("Будут обработаны только найденные на устройстве пакеты.");
    const struct {
        const char *what;
        PresetPreview preview;
        QString message;
    } cases[] = {
        {"system packages only", preview(PresetAction::uninstall, 0, 2, 0),
         found + QStringLiteral(" Системных пакетов: 2. ") + presetUninstallSentence},
        {"one system package, one missing", preview(PresetAction::uninstall, 0, 1, 1),
         found + QStringLiteral(" Отсутствующие пакеты (1) будут пропущены. Системных пакетов: 1. ")
             + presetUninstallSentence},
        {"one user app", preview(PresetAction::uninstall, 1, 0, 0), found + QLatin1Char(' ') + userAppsGone(1)},
        {"user apps only, two missing", preview(PresetAction::uninstall, 5, 0, 2),
         found + QStringLiteral(" Отсутствующие пакеты (2) будут пропущены. ") + userAppsGone(5)},
        {"mixed", preview(PresetAction::uninstall, 3, 1, 0),
         found + QStringLiteral(" Системных пакетов: 1. ") + presetUninstallSentence + QLatin1Char(' ')
             + userAppsGone(3)},
        {"disabling user apps", preview(PresetAction::disable, 3, 1, 0),
         found + QStringLiteral(" Системных пакетов: 1.")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(presetExecutionMessage(c.preview), c.message) << c.what;
}

} // namespace
