#include "E2eTest.h"

#include "E2eTools.h"

#include <QJsonArray>
#include <QJsonObject>

void E2eTest::SetUp()
{
    if (const auto why = E2eTools::unavailableReason())
        GTEST_SKIP() << "end-to-end suite skipped: " << why->toStdString();
    session = std::make_unique<PhoneSession>();
    ASSERT_TRUE(session->isValid());
    QString error;
    ASSERT_TRUE(session->startAdbServer(&error)) << error.toStdString();
    phone = session->addPhone(phoneOptions(), phoneServeOptions(), &error);
    ASSERT_NE(phone, nullptr) << error.toStdString();
    if (!startsWithModel())
        return;
    ASSERT_TRUE(session->connect(*phone, &error)) << error.toStdString();
    model = &session->makeModel(true);
    followStatus();
    ASSERT_TRUE(eventually([&] {
        const auto device = model->selectedDevice();
        return device && device->id == phone->serial() && device->isReady() && !model->packages().isEmpty()
            && !model->isBusy();
    })) << "the model finds the phone and lists its packages";
}

void E2eTest::TearDown()
{
    if (!session)
        return;
    const QByteArray marker = session->marker();
    observer.reset();
    model = nullptr;
    phone = nullptr;
    session->shutdown();
    QList<MarkedProcess> left;
    EXPECT_TRUE(awaitNoneMarkedWith(marker, 30000, &left))
        << "processes left behind:\n" << describe(left).toStdString();
    if (HasFailure()) {
        session->keepFolder();
        std::cerr << "the session's folder is kept: " << marker.toStdString() << "\n";
    }
    session.reset();
}

void E2eTest::followStatus()
{
    observer = std::make_unique<QObject>();
    model->observe(model->statusText, observer.get(), [this] { statuses << model->statusText(); });
}

std::optional<AndroidPackage> E2eTest::listed(const QString &name) const
{
    for (const AndroidPackage &p : model->packages())
        if (p.name == name)
            return p;
    return std::nullopt;
}

QJsonObject E2eTest::phonePackage(const std::function<bool(const QJsonObject &)> &wanted) const
{
    for (const QJsonValue &value : phone->packages())
        if (wanted(value.toObject()))
            return value.toObject();
    return {};
}

QString E2eTest::onPhone(const QStringList &shellWords) const
{
    const CommandResult result =
        session->adb(QStringList{QStringLiteral("-s"), phone->serial(), QStringLiteral("shell")} + shellWords);
    return result.stdOut;
}
