#include "PlatformTexts.h"

#include <QHash>
#include <QtGlobal>

namespace {

// Mac text → the text on a Linux desktop.
const QHash<QString, QString> &table()
{
    using namespace PlatformTexts;
    static const QHash<QString, QString> t{
        // The shell: the gate, Settings, the link diagram, the files route.
        {connectCableStep,
         QStringLiteral("Подключите Android к компьютеру кабелем, который передаёт данные, а не только питание.")},
        {sameNetworkStep, QStringLiteral("Для сетевого подключения убедитесь, что компьютер и Android в одной сети Wi-Fi.")},
        {installToolsStep, QStringLiteral("Установите Android Platform Tools: sudo apt install adb")},
        {systemAppearance,
         QStringLiteral("Тёмная тема — основной режим командного центра. «Системная» следует настройкам системы.")},
        {adbPathPlaceholder, QStringLiteral("/usr/bin/adb")},
        {systemRowTitle, QStringLiteral("Версия Qt")},
        {systemRowValue, QStringLiteral(QT_VERSION_STR)},
        {diagramName, QStringLiteral("Схема подключения компьютера и Android: ")},
        {filesExchange, QStringLiteral("Двусторонний обмен между компьютером и ")},
        {computerSymbol, QStringLiteral("terminal")},
        // The file manager.
        {QStringLiteral("Mac"), QStringLiteral("Компьютер")},
        {QStringLiteral("Mac ⇄ "), QStringLiteral("Компьютер ⇄ ")},
        {QStringLiteral("Не удалось открыть папку Mac: "), QStringLiteral("Не удалось открыть папку компьютера: ")},
        {QStringLiteral("Папка Mac не найдена: "), QStringLiteral("Папка компьютера не найдена: ")},
        {QStringLiteral("На Mac "), QStringLiteral("На компьютер ")},
        {QStringLiteral("Скопировано на Mac: "), QStringLiteral("Скопировано на компьютер: ")},
        {QStringLiteral("На Mac"), QStringLiteral("На ПК")}, // the label of a narrow button
        {QStringLiteral("Скопировать выбранные объекты с Mac на Android"),
         QStringLiteral("Скопировать выбранные объекты с компьютера на Android")},
        {QStringLiteral("Скопировать выбранное с Mac на Android"),
         QStringLiteral("Скопировать выбранное с компьютера на Android")},
        {QStringLiteral("Скопировать выбранные объекты с Android на Mac"),
         QStringLiteral("Скопировать выбранные объекты с Android на компьютер")},
        {QStringLiteral("Скопировать выбранное с Android на Mac"),
         QStringLiteral("Скопировать выбранное с Android на компьютер")},
        {QStringLiteral("Объекты с Mac будут перемещены в Корзину, откуда их можно восстановить."),
         QStringLiteral("Объекты с компьютера будут перемещены в Корзину, откуда их можно восстановить.")},
        {QStringLiteral("Выберите папку Mac"), QStringLiteral("Выберите папку компьютера")},
        {QStringLiteral("Выбрать папку на Mac"), QStringLiteral("Выбрать папку на компьютере")},
        {QStringLiteral("Открыть папку библиотеки в Finder"),
         QStringLiteral("Открыть папку библиотеки в файловом менеджере")},
    };
    return t;
}

} // namespace

PlatformTexts::HostSystem PlatformTexts::host()
{
#ifdef Q_OS_MACOS
    return HostSystem::macOS;
#else
    return HostSystem::linuxDesktop;
#endif
}

QString PlatformTexts::text(const QString &macText, HostSystem system)
{
    return system == HostSystem::macOS ? macText : table().value(macText, macText);
}

QString PlatformTexts::text(const QString &macText) { return text(macText, host()); }

QStringList PlatformTexts::macTexts() { return table().keys(); }
