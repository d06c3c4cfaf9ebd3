#include "AppTest.h"

#include "ProcessSweep.h"

#include "core/LogcatModel.h"
#include "design/DeckSearchField.h"
#include "design/FilterChip.h"

#include <QAbstractItemView>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTime>

#include <algorithm>
#include <chrono>
#include <optional>

namespace {

// One shown log line, read back from its row ("MM-DD hh:mm:ss.mmm pid-tid L/Tag: message").
struct ShownLine {
    QString time;
    QChar level;
    QString tag;
    QString message;
};

std::optional<ShownLine> parseRow(const QString &text)
{
    static const QRegularExpression row(QStringLiteral("^(.*?) ?(\\S*)-(\\S*) ([VDIWEF])/([^:]*): ?(.*)$"));
    const QRegularExpressionMatch m = row.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    return ShownLine{m.captured(1), m.captured(4).at(0), m.captured(5), m.captured(6)};
}

constexpr QStringView kLevels = u"VDIWEF";

// Milliseconds from the log time `from` to `to` ("MM-DD hh:mm:ss.mmm", read across midnight);
// none when either cannot be read.
std::optional<qint64> msFromTo(const QString &from, const QString &to)
{
    const auto clock = [](const QString &time) {
        const QTime t = QTime::fromString(time.section(QLatin1Char(' '), 1, 1), QStringLiteral("hh:mm:ss.zzz"));
        return t.isValid() ? std::optional<qint64>(t.msecsSinceStartOfDay()) : std::nullopt;
    };
    const std::optional<qint64> a = clock(from), b = clock(to);
    if (!a || !b)
        return std::nullopt;
    constexpr qint64 day = 24 * 3600 * 1000;
    const qint64 forward = ((*b - *a) % day + day) % day;
    return forward < day / 2 ? forward : forward - day;
}

class LogsRoad : public AppTest {
protected:
    QStringList phoneOptions() const override { return {QStringLiteral("--packages"), QStringLiteral("20")}; }

    static QString longMessage() { return QString(6000, QLatin1Char('x')); }

    // The phone's log from now on: five kinds of lines, one of them longer than a row can keep.
    void writePhoneLog()
    {
        QSaveFile messages(phone->stateFolder() + QStringLiteral("/logcat.txt"));
        ASSERT_TRUE(messages.open(QIODevice::WriteOnly));
        messages.write(QStringLiteral("I/Alpha: первое сообщение\n"
                                      "W/Beta: предупреждение сети\n"
                                      "E/Gamma: ошибка базы\n"
                                      "D/Delta: отладка\n"
                                      "W/Long: %1\n")
                           .arg(longMessage())
                           .toUtf8());
        ASSERT_TRUE(messages.commit());
        QJsonObject device = phone->device();
        QJsonObject logcat = device.value(QStringLiteral("logcat")).toObject();
        logcat.insert(QStringLiteral("rate"), 40);
        logcat.insert(QStringLiteral("max_seconds"), 200);
        device.insert(QStringLiteral("logcat"), logcat);
        QSaveFile state(phone->stateFolder() + QStringLiteral("/device.json"));
        ASSERT_TRUE(state.open(QIODevice::WriteOnly));
        state.write(QJsonDocument(device).toJson());
        ASSERT_TRUE(state.commit());
    }

    QAbstractItemView *stream() const { return lookup<QAbstractItemView>(QStringLiteral("Строки logcat")); }
    // The lines shown (a long message wraps onto rows of its own, which carry no text).
    QList<ShownLine> shownLines() const
    {
        QList<ShownLine> lines;
        for (const QString &text : rowTexts(stream()))
            if (!text.isEmpty())
                if (const auto line = parseRow(text))
                    lines << *line;
        return lines;
    }
    QString newestShownTime() const
    {
        const QList<ShownLine> lines = shownLines();
        return lines.isEmpty() ? QString() : lines.last().time;
    }
    // "Показано N из M · буфер B".
    QString countsText() const
    {
        const QStringList texts = shownTexts(QStringLiteral("Показано "));
        return texts.size() == 1 ? texts.first() : QString();
    }
    FilterChip *levelChip(QChar level) const { return find<FilterChip>(QString(level)); }

    // The logcat processes of this test: the phone's and adb clients.
    int logcatProcesses() const
    {
        int count = 0;
        for (const MarkedProcess &p : processesMarkedWith(session->marker()))
            count += p.commandLine.contains(QStringLiteral("logcat")) ? 1 : 0;
        return count;
    }
    // The time of the newest line the phone has written, read as a user would in a terminal.
    QString phonesNewestTime() const
    {
        const CommandResult result =
            session->adb({QStringLiteral("-s"), phone->serial(), QStringLiteral("logcat"), QStringLiteral("-d"),
                          QStringLiteral("-t"), QStringLiteral("1"), QStringLiteral("-v"), QStringLiteral("threadtime")});
        QString newest;
        for (const QString &line : result.stdOut.split(QLatin1Char('\n'))) {
            // "MM-DD hh:mm:ss.mmm  pid  tid L tag: message"
            const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (fields.size() > 5 && fields.at(4).size() == 1 && kLevels.contains(fields.at(4).at(0)))
                newest = fields.at(0) + QLatin1Char(' ') + fields.at(1);
        }
        return newest;
    }

    // One click each, while the stream counts: the level chips keep their places as their counts
    // appear and grow, and so do the fields after them.
    void chooseLevel(QChar level)
    {
        click(levelChip(level));
        ASSERT_TRUE(levelChip(level)->isOn()) << "level " << QString(level).toStdString();
    }
    void filterIn(const QString &fieldName, const QString &text)
    {
        auto *edit = find<QLineEdit>(fieldName);
        ASSERT_TRUE(edit);
        click(edit);
        ASSERT_TRUE(edit->hasFocus());
        type(text);
    }
    void clearWithCross(const QString &fieldName)
    {
        auto *edit = find<QLineEdit>(fieldName);
        ASSERT_TRUE(edit);
        QWidget *search = edit->parentWidget();
        ASSERT_TRUE(qobject_cast<DeckSearchField *>(search));
        click(find(QStringLiteral("Очистить поиск"), search));
        EXPECT_EQ(edit->text(), QString());
    }
};

// The stream as the user drives it: started, filtered by level, tag and text while it streams
// (each filter cleared with its own ×), paused while the phone writes on, resumed and stopped;
// the phone's logcat ends with it. A message longer than a row keeps stays one line.
TEST_F(LogsRoad, FilteredPausedResumedAndStoppedWhileThePhoneWrites)
{
    writePhoneLog();
    if (HasFatalFailure())
        return;
    goTo(AppRoute::logs);
    ASSERT_EQ(logcatProcesses(), 0);
    clickNamed(QStringLiteral("Запустить поток"));
    ASSERT_TRUE(eventually([&] { return shownLines().size() > 60; })) << "the stream shows the phone's log";
    EXPECT_GT(logcatProcesses(), 0) << "the phone runs logcat";
    const auto levelsShown = [&](QStringView allowed) {
        const QList<ShownLine> lines = shownLines();
        return !lines.isEmpty() && std::all_of(lines.begin(), lines.end(), [&](const ShownLine &l) {
                   return allowed.contains(l.level);
               });
    };

    // Level: Warning and above.
    chooseLevel(u'W');
    ASSERT_TRUE(eventually([&] { return levelsShown(u"WEF"); })) << "only W and above";
    // Tag, while it streams.
    filterIn(QStringLiteral("Тег"), QStringLiteral("beta"));
    ASSERT_TRUE(eventually([&] {
        const QList<ShownLine> lines = shownLines();
        return !lines.isEmpty() && std::all_of(lines.begin(), lines.end(), [](const ShownLine &l) {
                   return l.tag == QStringLiteral("Beta");
               });
    })) << "only the tag typed";
    clearWithCross(QStringLiteral("Тег"));
    ASSERT_TRUE(eventually([&] {
        const QList<ShownLine> lines = shownLines();
        return std::any_of(lines.begin(), lines.end(), [](const ShownLine &l) { return l.tag == QStringLiteral("Gamma"); });
    })) << "the × brings the other tags back";
    EXPECT_TRUE(levelsShown(u"WEF")) << "the level filter stays";

    // Text, at every level again.
    chooseLevel(u'V');
    filterIn(QStringLiteral("Поиск в сообщениях"), QStringLiteral("ОШИБКА"));
    ASSERT_TRUE(eventually([&] {
        const QList<ShownLine> lines = shownLines();
        return !lines.isEmpty() && std::all_of(lines.begin(), lines.end(), [](const ShownLine &l) {
                   return l.message == QStringLiteral("ошибка базы");
               });
    })) << "only messages holding the text, whatever its case";
    clearWithCross(QStringLiteral("Поиск в сообщениях"));
    ASSERT_TRUE(eventually([&] { return levelsShown(u"VDIWEF") && !levelsShown(u"E"); }))
        << "the × brings every message back";

    // Paused: the window holds still while the phone writes on.
    clickNamed(QStringLiteral("Пауза"));
    ASSERT_TRUE(eventually([&] { return !findAll(QStringLiteral("Продолжить")).isEmpty(); }));
    settle();
    const QString heldCounts = countsText();
    const QString heldNewest = newestShownTime();
    ASSERT_FALSE(heldNewest.isEmpty());
    // The phone writes on for several flush intervals past the newest line held while the event
    // loop runs: a window that still took lines in would show some of them by then.
    const qint64 writeOnMs = 5 * std::chrono::milliseconds(LogcatModel().flushInterval).count();
    ASSERT_TRUE(eventually([&] { return msFromTo(heldNewest, phonesNewestTime()).value_or(0) > writeOnMs; }, 30000))
        << "the phone writes on";
    EXPECT_EQ(countsText(), heldCounts);
    EXPECT_EQ(newestShownTime(), heldNewest);
    EXPECT_TRUE(shownTexts(QStringLiteral("Пауза")).size() >= 1) << "the status says so";

    // What the window holds while paused, read against the level counts: a long message is one
    // line of its level and tag ending in "…", never a second line tagged "logcat".
    const QList<ShownLine> held = shownLines();
    int longLines = 0;
    QStringList wrong;
    for (const ShownLine &line : held) {
        if (line.tag == QStringLiteral("Long")) {
            ++longLines;
            if (line.level != u'W' || line.time.isEmpty() || !line.message.startsWith(QStringLiteral("xxxx"))
                || !line.message.endsWith(QStringLiteral("…")))
                wrong << QStringLiteral("a long line shown as ") + line.time + QLatin1Char(' ') + line.level
                             + QLatin1Char('/') + line.tag + QStringLiteral(": …") + line.message.right(20);
        }
        if (line.tag == QStringLiteral("logcat") && !line.message.startsWith(QStringLiteral("--------- ")))
            wrong << QStringLiteral("a stray logcat line: ") + line.message.left(40) + QStringLiteral("…");
    }
    EXPECT_EQ(wrong.size(), 0) << wrong.mid(0, 3).join(QStringLiteral("\n")).toStdString();
    EXPECT_GT(longLines, 0) << "the phone wrote long messages";
    // Nothing has left the window yet, so each level chip counts the lines shown at that level.
    ASSERT_TRUE(heldCounts.startsWith(QStringLiteral("Показано %1 из %1 ").arg(held.size())))
        << heldCounts.toStdString();
    for (const QChar level : kLevels) {
        const auto shown = std::count_if(held.begin(), held.end(), [&](const ShownLine &l) { return l.level == level; });
        EXPECT_EQ(levelChip(level)->count().value_or(0), shown) << "level " << QString(level).toStdString();
    }

    // Resumed: what waited shows at once, and new lines keep coming.
    clickNamed(QStringLiteral("Продолжить"));
    ASSERT_TRUE(eventually([&] { return newestShownTime() > heldNewest; }));

    // Stopped: the phone's logcat ends.
    clickNamed(QStringLiteral("Остановить"));
    ASSERT_TRUE(eventually([&] { return !shownTexts(QStringLiteral("Поток остановлен")).isEmpty(); }));
    EXPECT_TRUE(eventually([&] { return logcatProcesses() == 0; }, 30000)) << "the phone's logcat ended";
    EXPECT_TRUE(phone->shellCommands().filter(QStringLiteral("logcat")).size() >= 1);
}

} // namespace
