#include "E2eTest.h"

#include "E2eTools.h"

#include "bridge/Resources.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

using MetadataProgram = E2eTest;

// A 1×1 PNG.
const QByteArray kIcon = QByteArray::fromBase64(
    "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mNk+M9QDwADhgGAWjR9awAAAABJRU5ErkJggg==");

// The catalogue's labels, sizes and icons come from the metadata program's run on the
// phone: the built program is copied to the device, started there, and removed again.
// The simulated phone answers the program's start with lines of the program's format,
// one per installed package; a label that needs JSON escapes travels too.
TEST_F(MetadataProgram, LabelsSizesAndIconsComeFromTheProgramsRun)
{
    const QString program = E2eTools::resourcesFolder() + QStringLiteral("/kestrel-metadata.dex");
    ASSERT_TRUE(QFileInfo(program).isFile()) << "the build makes " << program.toStdString();

    QMap<QString, PackageMetadata> expected;
    QByteArray lines;
    int index = 0;
    for (const QJsonValue &value : phone->packages()) {
        const QJsonObject p = value.toObject();
        if (!p.value(QStringLiteral("installed")).toBool())
            continue;
        const QString name = p.value(QStringLiteral("name")).toString();
        const QString label =
            index == 0 ? QStringLiteral("Камера \"Про\"\\новая") : p.value(QStringLiteral("label")).toString();
        const qint64 size = p.value(QStringLiteral("codeSize")).toInteger() + p.value(QStringLiteral("dataSize")).toInteger();
        PackageMetadata record{name, label, size, index % 2 == 0 ? std::optional(kIcon) : std::nullopt};
        QJsonObject line{{QStringLiteral("package"), record.packageName},
                         {QStringLiteral("label"), record.label},
                         {QStringLiteral("size"), record.size}};
        if (record.iconData)
            line.insert(QStringLiteral("icon"), QString::fromLatin1(record.iconData->toBase64()));
        lines += QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n';
        expected.insert(name, record);
        ++index;
    }
    QDir().mkpath(phone->stateFolder() + QStringLiteral("/app_process"));
    QFile fixture(phone->stateFolder() + QStringLiteral("/app_process/local.quill.kestrel.MetadataMain.jsonl"));
    ASSERT_TRUE(fixture.open(QIODevice::WriteOnly) && fixture.write(lines) == lines.size());
    fixture.close();

    Resources::setRootForTesting(E2eTools::resourcesFolder());
    finish(model->refreshPackages(true));
    Resources::setRootForTesting(QString());

    int described = 0;
    for (const AndroidPackage &p : model->packages()) {
        SCOPED_TRACE(p.name.toStdString());
        const auto record = expected.constFind(p.name);
        if (record == expected.constEnd()) {
            EXPECT_FALSE(p.apkSize.has_value());
            continue;
        }
        ++described;
        EXPECT_EQ(p.displayName, record->label);
        EXPECT_EQ(p.apkSize, record->size);
        EXPECT_EQ(p.iconData, record->iconData);
    }
    EXPECT_EQ(described, expected.size());

    // On the phone: copied, started with the copy as its class path, removed.
    const QStringList services = phone->services();
    EXPECT_TRUE(services.contains(QStringLiteral("sync:")));
    const QString start = QStringLiteral(
        "CLASSPATH=/data/local/tmp/kestrel-metadata.dex app_process /system/bin local.quill.kestrel.MetadataMain");
    const QString removal = QStringLiteral("rm -f /data/local/tmp/kestrel-metadata.dex");
    const QStringList commands = phone->shellCommands();
    ASSERT_TRUE(commands.contains(start));
    EXPECT_GT(commands.lastIndexOf(removal), commands.lastIndexOf(start));
    EXPECT_FALSE(QFileInfo::exists(phone->stateFolder() + QStringLiteral("/fs/data/local/tmp/kestrel-metadata.dex")));
}

} // namespace
