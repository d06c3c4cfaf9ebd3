#pragma once

#include "PhoneSession.h"
#include "ProcessSweep.h"

#include "MachineLoad.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>

// The base of every end-to-end test: a session with its adb server and one phone whose
// packages are listed in `phoneOptions()`, connected from outside and found by the model.
// Every process the test started must be gone when it ends.
class E2eTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Options of the phone made for the test (--make-state options).
    virtual QStringList phoneOptions() const { return {QStringLiteral("--packages"), QStringLiteral("120")}; }
    // Options the phone is served with ("--auth", ...).
    virtual QStringList phoneServeOptions() const { return {}; }
    // Whether SetUp connects the phone and makes a model that has found it.
    virtual bool startsWithModel() const { return true; }

    // Runs the event loop until `done` holds; false when the time ran out first.
    static bool eventually(const std::function<bool()> &done, int timeoutMs = 60000)
    {
        return waitUntil(done, timeoutMs);
    }
    // Runs one model operation to its end.
    template <typename T>
    static T finish(QCoro::Task<T> task) { return runSync(std::move(task)); }

    // The model's entry for a package, if it lists one.
    std::optional<AndroidPackage> listed(const QString &name) const;
    // The first of the phone's packages that `wanted` accepts (empty when none does).
    QJsonObject phonePackage(const std::function<bool(const QJsonObject &)> &wanted) const;
    // What "adb shell ..." prints on the phone, run outside the model.
    QString onPhone(const QStringList &shellWords) const;

    // How busy the rest of the machine is: the phone, adb and its server count as this test's own.
    MachineLoad machineLoad() const
    {
        return MachineLoad([marker = session->marker()] {
            QList<pid_t> pids;
            for (const MarkedProcess &p : processesMarkedWith(marker))
                pids << p.pid;
            return pids;
        });
    }

    // Every status line the model showed since it was made, oldest first.
    QStringList statuses;
    void followStatus();

    std::unique_ptr<PhoneSession> session;
    std::unique_ptr<QObject> observer;
    SimulatedPhone *phone = nullptr;
    AppModel *model = nullptr;
};

// Readable failure messages for Qt texts.
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }
