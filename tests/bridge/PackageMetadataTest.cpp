#include "bridge/ADBService.h"
#include "bridge/Resources.h"

#include "FakeTool.h"
#include "TestSupport.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include "MetadataProgramFixture.h"

#include <gtest/gtest.h>

namespace {

const QStringList kRun = QStringList{QStringLiteral("-s"), QStringLiteral("S1")} + kMetadataRun;
const QStringList kRemove = QStringList{QStringLiteral("-s"), QStringLiteral("S1")} + kMetadataRemove;

TEST(PackageMetadata, DecodesOneObjectPerLine)
{
    struct Case { const char *line; bool decodes; bool hasIcon; };
    const Case cases[] = {
        {R"({"package":"a","label":"A","size":1,"icon":"aGk="})", true, true},
        {R"({"package":"a","label":"A","size":1})", true, false},
        {R"({"package":"a","label":"A","size":1,"icon":null})", true, false},
        {R"({"package":"a","label":"A","size":1,"icon":""})", true, false},
        {R"({"package":"a","label":"A","size":1,"icon":"not base64!"})", true, false},
        {R"({"package":"a","label":"A","size":1,"icon":"aG k="})", true, false},
        {R"({"package":"a","label":"A","size":1,"icon":"aGk"})", true, false},
        {R"({"package":"a","label":"A","size":1,"icon":"a=Gk"})", true, false},
        {R"({"package":"a","label":"A","size":1,"icon":"===="})", true, false},
        {R"({"package":"a","label":"A","size":1,"icon":"aGk=aGk="})", true, false},
        {R"({"package":"a","label":"A","size":1,"icon":"aGk\n"})", true, false},
        {R"({"package":"a","label":"A","size":0,"extra":[1]})", true, false},
        {R"({"package":"a","label":"A","size":9007199254740993})", true, false},
        {R"({"package":"a","label":"A","size":1,"icon":5})", false, false},
        {R"({"package":"a","label":"A","size":1.5})", false, false},
        {R"({"package":"a","label":"A","size":"1"})", false, false},
        {R"({"package":"a","label":"A"})", false, false},
        {R"({"package":"a","label":null,"size":1})", false, false},
        {R"({"package":7,"label":"A","size":1})", false, false},
        {R"({"package":"a","label":"A","size":1e30})", false, false},
    };
    for (const Case &c : cases) {
        const auto records = ADBService::parsePackageMetadata(QString::fromUtf8(c.line));
        ASSERT_EQ(records.contains(QStringLiteral("a")), c.decodes) << c.line;
        if (c.decodes)
            EXPECT_EQ(records.value(QStringLiteral("a")).iconData.has_value(), c.hasIcon) << c.line;
    }
    const auto big = ADBService::parsePackageMetadata(QStringLiteral(R"({"package":"a","label":"A","size":9007199254740993})"));
    EXPECT_EQ(big.value(QStringLiteral("a")).size, 9007199254740993LL);
    EXPECT_EQ(ADBService::parsePackageMetadata(QStringLiteral(R"({"package":"a","label":"A","size":1,"icon":"aGk="})"))
                  .value(QStringLiteral("a")).iconData, QByteArray("hi"));
    EXPECT_EQ(ADBService::parsePackageMetadata(QStringLiteral(R"({"package":"a","label":"A","size":1,"icon":"aGVsbG8gd29ybGQ="})"))
                  .value(QStringLiteral("a")).iconData, QByteArray("hello world"));
    EXPECT_EQ(ADBService::parsePackageMetadata(QStringLiteral(R"({"package":"a","label":"A","size":1,"icon":"aGVsbG8gd29ybA=="})"))
                  .value(QStringLiteral("a")).iconData, QByteArray("hello worl"));
    EXPECT_EQ(ADBService::parsePackageMetadata(QStringLiteral(R"({"package":"a","label":"A","size":1,"icon":"aGVsbG8gd29y"})"))
                  .value(QStringLiteral("a")).iconData, QByteArray("hello wor"));
}

TEST(PackageMetadata, LinesAreTrimmedFilteredAndTheLastWins)
{
    const QString out = QStringLiteral(
        "Loading packages...\n"
        "   {\"package\":\"a\",\"label\":\"Old\",\"size\":1}\r\n"
        "[{\"package\":\"b\",\"label\":\"B\",\"size\":1}]\n"
        "x {\"package\":\"c\",\"label\":\"C\",\"size\":1}\n"
        "{\"package\":\"d\",\n\"label\":\"D\",\"size\":1}\n"
        "{\"package\":\"a\",\"label\":\"New\",\"size\":2}\u2029"
        "{\"package\":\"e\",\"label\":\"E\",\"size\":3}");
    const auto records = ADBService::parsePackageMetadata(out);
    EXPECT_EQ(records.size(), 2);
    EXPECT_EQ(records.value(QStringLiteral("a")).label, QStringLiteral("New"));
    EXPECT_EQ(records.value(QStringLiteral("a")).size, 2);
    EXPECT_EQ(records.value(QStringLiteral("e")).packageName, QStringLiteral("e"));
}

TEST(PackageMetadata, MissingProgramRunsNothing)
{
    QTemporaryDir empty;
    Resources::setRootForTesting(empty.path());
    FakeTool fake;
    const PackageMetadataAnswer a = runSync(ADBService(fake.adbPath()).loadPackageMetadata(QStringLiteral("S1")));
    Resources::setRootForTesting(QString());
    EXPECT_TRUE(a.metadata.isEmpty());
    EXPECT_EQ(a.result, (CommandResult{-1, QString(), QStringLiteral("В bundle отсутствует metadata-helper")}));
    EXPECT_TRUE(fake.calls().isEmpty());
}

TEST(PackageMetadata, PushFailureStopsBeforeTheRun)
{
    MetadataProgramResource resource;
    FakeTool fake;
    fake.on(resource.push(QStringLiteral("S1")), {.err = QStringLiteral("adb: error: no space"), .exit = 1});
    const PackageMetadataAnswer a = runSync(ADBService(fake.adbPath()).loadPackageMetadata(QStringLiteral("S1")));
    EXPECT_TRUE(a.metadata.isEmpty());
    EXPECT_EQ(a.result.exitCode, 1);
    EXPECT_EQ(a.result.stdErr, QStringLiteral("adb: error: no space"));
    EXPECT_EQ(fake.calls(), QList<QStringList>{resource.push(QStringLiteral("S1"))});
}

TEST(PackageMetadata, PushRunRemoveAndParseEvenOnFailure)
{
    MetadataProgramResource resource;
    FakeTool fake;
    fake.on(resource.push(QStringLiteral("S1")), {.out = QStringLiteral("1 file pushed")});
    fake.on(kRun, {.out = QStringLiteral("{\"package\":\"a\",\"label\":\"A\",\"size\":5}\n"), .err = QStringLiteral("crash"), .exit = 255});
    fake.on(kRemove, {.exit = 1});
    const PackageMetadataAnswer a = runSync(ADBService(fake.adbPath()).loadPackageMetadata(QStringLiteral("S1")));
    EXPECT_EQ(fake.calls(), (QList<QStringList>{resource.push(QStringLiteral("S1")), kRun, kRemove}));
    EXPECT_EQ(a.result.exitCode, 255);
    EXPECT_EQ(a.result.stdErr, QStringLiteral("crash"));
    EXPECT_EQ(a.metadata.value(QStringLiteral("a")).size, 5);
}

TEST(PackageMetadata, OverlappingRunsForOneDeviceShareTheProgram)
{
    MetadataProgramResource resource;
    FakeTool fake;
    fake.on(resource.push(QStringLiteral("S1")), {.delayMs = 200});
    fake.on(kRun, {.out = QStringLiteral("{\"package\":\"a\",\"label\":\"A\",\"size\":5}\n"), .delayMs = 200});
    fake.on(kRemove, {});
    const ADBService adb(fake.adbPath());
    std::optional<PackageMetadataAnswer> first, second;
    auto runOne = [](ADBService service, std::optional<PackageMetadataAnswer> *into) -> QCoro::Task<void> {
        *into = co_await service.loadPackageMetadata(QStringLiteral("S1"));
    };
    auto t1 = runOne(adb, &first);
    auto t2 = runOne(adb, &second);
    ASSERT_TRUE(waitUntil([&] { return first && second; }));
    // One push, one run, one removal: the second call never removed the file under the first.
    EXPECT_EQ(fake.calls(), (QList<QStringList>{resource.push(QStringLiteral("S1")), kRun, kRemove}));
    EXPECT_EQ(first->metadata, second->metadata);
    EXPECT_EQ(second->metadata.size(), 1);

    // Once the run is over, a new call runs the program again.
    runSync(adb.loadPackageMetadata(QStringLiteral("S1")));
    EXPECT_EQ(fake.calls().size(), 6);
}

} // namespace
