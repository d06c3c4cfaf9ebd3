#include "PlatformTexts.h"

#include <QHash>
#include <QStringList>

namespace {

const QHash<QString, QString> &table()
{
    static const QHash<QString, QString> t{
        {QStringLiteral("Mac"), QStringLiteral("Компьютер")},
        {QStringLiteral("Mac ⇄ "), QStringLiteral("Компьютер ⇄ ")},
        {QStringLiteral("Двусторонний обмен между Mac и "), QStringLiteral("Двусторонний обмен между компьютером и ")},
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

QString PlatformTexts::text(const QString &macText)
{
#ifdef Q_OS_MACOS
    return macText;
#else
    return table().value(macText, macText);
#endif
}

QStringList PlatformTexts::macTexts() { return table().keys(); }
