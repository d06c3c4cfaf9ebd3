#include "ADBService.h"
#include "PackageOutputLines.h"
#include "Resources.h"

#include <QCoro/QCoroFuture>
#include <QFuture>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPromise>
#include <QtConcurrent/QtConcurrentRun>

#include <memory>

namespace {

const QString kDevicePath = QStringLiteral("/data/local/tmp/kestrel-metadata.dex");

// Runs in progress by device serial. Every run copies the program to the same device
// path and removes it afterwards, so a second run for a device waits for the first
// and takes its answer instead of racing it. Touched on the main thread only.
QHash<QString, QFuture<PackageMetadataAnswer>> &runsInProgress()
{
    static QHash<QString, QFuture<PackageMetadataAnswer>> runs;
    return runs;
}

} // namespace

QHash<QString, PackageMetadata> ADBService::parsePackageMetadata(const QString &output)
{
    QHash<QString, PackageMetadata> records;
    forEachOutputLine(output, [&](QStringView raw) {
        const QStringView line = trimmedLine(raw);
        if (!line.startsWith(u'{'))
            return;
        const QJsonDocument doc = QJsonDocument::fromJson(line.toUtf8());
        if (!doc.isObject())
            return;
        if (auto record = decodePackageMetadata(doc.object()))
            records.insert(record->packageName, std::move(*record));
    });
    return records;
}

QCoro::Task<PackageMetadataAnswer> ADBService::loadPackageMetadata(QString serial) const
{
    const QString program = Resources::path(QStringLiteral("kestrel-metadata.dex"));
    if (program.isEmpty())
        co_return PackageMetadataAnswer{{}, CommandResult{-1, QString(), QStringLiteral("В bundle отсутствует metadata-helper")}};

    if (runsInProgress().contains(serial)) {
        const QFuture<PackageMetadataAnswer> running = runsInProgress().value(serial);
        co_return co_await running;
    }

    auto promise = std::make_shared<QPromise<PackageMetadataAnswer>>();
    promise->start();
    runsInProgress().insert(serial, promise->future());

    const ADBService self = *this;
    PackageMetadataAnswer answer;
    const CommandResult push = co_await self.run({QStringLiteral("push"), program, kDevicePath}, serial);
    if (!push.succeeded()) {
        answer.result = push;
    } else {
        answer.result = co_await self.run({QStringLiteral("shell"), QStringLiteral("CLASSPATH=") + kDevicePath,
                                           QStringLiteral("app_process"), QStringLiteral("/system/bin"),
                                           QStringLiteral("local.quill.kestrel.MetadataMain")},
                                          serial);
        co_await self.run({QStringLiteral("shell"), QStringLiteral("rm"), QStringLiteral("-f"), kDevicePath}, serial);
        // Thousands of lines with icons: decode off the main thread.
        const QString output = answer.result.stdOut;
        answer.metadata = co_await QtConcurrent::run(processThreadPool(), [output] { return parsePackageMetadata(output); });
    }

    runsInProgress().remove(serial);
    promise->addResult(answer);
    promise->finish();
    co_return answer;
}
