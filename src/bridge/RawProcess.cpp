#include "RawProcess.h"

#include <QProcess>
#include <QStringDecoder>

RawCommandResult runProcessRaw(const QString &executable, const QStringList &arguments, RunTimeout timeout)
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(executable, arguments);
    RawCommandResult result;
    if (!process.waitForStarted(-1)) {
        result.exitCode = -1;
        result.startError = QStringLiteral("Не удалось запустить «%1»: %2").arg(executable, process.errorString());
        return result;
    }
    const int wait = timeout ? int(timeout->count()) : -1;
    if (!process.waitForFinished(wait)) {
        process.kill();
        process.waitForFinished(-1);
        result.exitCode = -1;
        result.stdOut = process.readAllStandardOutput();
        result.stdErr = QStringLiteral("Команда не завершилась за %1 с и была остановлена.")
                            .arg(double(timeout ? timeout->count() : 0) / 1000.0)
                            .toUtf8();
        return result;
    }
    result.stdOut = process.readAllStandardOutput();
    result.stdErr = process.readAllStandardError();
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return result;
}

std::optional<QString> decodeUtf8Strict(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}
