#include "FileTableModel.h"

#include "design/ShownText.h"

QString fileSymbol(const QString &name, bool isDirectory)
{
    if (isDirectory)
        return QStringLiteral("folder.fill");
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : name.mid(dot + 1).toLower();
    static const QList<std::pair<QStringList, QString>> groups{
        {{QStringLiteral("apk"), QStringLiteral("apks")}, QStringLiteral("shippingbox")},
        {{QStringLiteral("png"), QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("heic"),
          QStringLiteral("gif"), QStringLiteral("webp")},
         QStringLiteral("photo")},
        {{QStringLiteral("mp4"), QStringLiteral("mov"), QStringLiteral("mkv"), QStringLiteral("avi")},
         QStringLiteral("film")},
        {{QStringLiteral("mp3"), QStringLiteral("wav"), QStringLiteral("flac"), QStringLiteral("ogg"),
          QStringLiteral("m4a")},
         QStringLiteral("waveform")},
        {{QStringLiteral("zip"), QStringLiteral("gz"), QStringLiteral("tar"), QStringLiteral("7z"), QStringLiteral("rar")},
         QStringLiteral("archivebox")},
        {{QStringLiteral("json"), QStringLiteral("xml"), QStringLiteral("txt"), QStringLiteral("log"), QStringLiteral("md")},
         QStringLiteral("doc.text")},
        {{QStringLiteral("pdf")}, QStringLiteral("doc.richtext")},
    };
    if (!extension.isEmpty())
        for (const auto &[extensions, symbol] : groups)
            if (extensions.contains(extension))
                return symbol;
    return QStringLiteral("doc");
}

QString fileAccessibleText(const QString &name, bool isDirectory)
{
    return (isDirectory ? QStringLiteral("Папка ") : QStringLiteral("Файл ")) + ShownText::accessible(name);
}

QString fileDateText(const std::optional<QDateTime> &when)
{
    if (!when || !when->isValid())
        return QStringLiteral("—");
    // The locale's short date; the time to the minute (some short formats carry seconds).
    const QDateTime local = when->toLocalTime();
    const QLocale locale;
    return locale.toString(local.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           local.time().toString(QStringLiteral("HH:mm"));
}
