#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// One canned answer of the fake adb/fastboot.
struct FakeResponse {
    QString out;
    QString err;
    int exit = 0;
    int delayMs = 0;
    QByteArray outBytes;      // binary standard output; wins over `out` when set
    QString outFile;          // standard output read from a file; wins over both
    QStringList lines;        // streamed after `out`, one per `intervalMs`
    int intervalMs = 0;
    int holdMs = 0;           // stays alive this long after writing
    bool ignoreInterrupt = false;
    bool ignoreTerminate = false;
    bool stderrFirst = false;
    QString gate;             // answers only once the test opens this gate (FakeTool::open)
    int awaitCalls = 0;       // answers only once this many calls were made in all (shows calls that overlap)
    // Written in order after `out`/`err` and before `lines`, each followed by its pause.
    struct Step {
        QString out;
        QString err;
        int pauseMs = 0;
    };
    QList<Step> steps;
    // Generated threadtime lines ("... Burst: line N ..."), `streamRate` a second for `streamMs`,
    // after `lines`; FakeResponse::burstLine(n) is the n-th of them.
    int streamRate = 0;
    int streamMs = 0;

    static QString burstLine(qint64 n);

    QJsonObject toJson() const;
};

// A scenario folder holding links "adb" and "fastboot" to the fake tool.
class FakeTool {
public:
    FakeTool();

    QString dir() const { return m_dir.path(); }
    QString adbPath() const { return m_dir.path() + QStringLiteral("/adb"); }
    QString fastbootPath() const { return m_dir.path() + QStringLiteral("/fastboot"); }

    // Answers a call whose argument vector is exactly `args` (or begins with it).
    FakeTool &on(const QStringList &args, const FakeResponse &response, const QString &tool = QStringLiteral("adb"));
    FakeTool &onPrefix(const QStringList &args, const FakeResponse &response, const QString &tool = QStringLiteral("adb"));
    // Successive calls get successive answers; the last one repeats.
    FakeTool &onSequence(const QStringList &args, const QList<FakeResponse> &responses,
                         const QString &tool = QStringLiteral("adb"), bool prefix = false);
    FakeTool &setDefault(const FakeResponse &response);

    // Lets every call held at `gate` answer, now and later.
    void open(const QString &gate);
    // Every argument vector the tool was started with, oldest first.
    QList<QStringList> calls(const QString &tool = QStringLiteral("adb")) const;
    void clearCalls();

private:
    void save() const;

    QTemporaryDir m_dir;
    QJsonArray m_rules;
    QJsonObject m_default;
};
