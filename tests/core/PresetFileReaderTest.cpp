#include "core/PresetFileReader.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

const QString kTooLarge = QStringLiteral("Файл пресета превышает допустимый размер 1 МБ");

QString writeFile(const QTemporaryDir &dir, const QString &name, qint64 size)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    EXPECT_TRUE(f.resize(size)); // sparse: nothing is written, yet the size is real
    return path;
}

TEST(PresetFileReader, SizeLimitIsCheckedBeforeReading)
{
    QTemporaryDir dir;
    const auto atLimit = PresetFileReader::read(writeFile(dir, "ok.json", 1'000'000));
    EXPECT_FALSE(atLimit.error.has_value());
    EXPECT_EQ(atLimit.data.size(), 1'000'000);

    const auto over = PresetFileReader::read(writeFile(dir, "over.json", 1'000'001));
    ASSERT_TRUE(over.error.has_value());
    EXPECT_EQ(over.error->localizedDescription(), kTooLarge);
    EXPECT_TRUE(over.data.isEmpty());

    // A huge file is refused without reading it into memory (reading it would take minutes).
    QElapsedTimer t;
    t.start();
    const auto huge = PresetFileReader::read(writeFile(dir, "huge.json", qint64(64) << 30));
    EXPECT_EQ(huge.error->localizedDescription(), kTooLarge);
    EXPECT_LT(t.elapsed(), 10000);
}

TEST(PresetFileReader, RefusesWhatIsNotARegularFileWithoutBlocking)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe.json"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    struct Case { QString path; QString needle; };
    const Case cases[] = {
        {fifo, QStringLiteral("не является обычным файлом")},
        {QStringLiteral("/dev/zero"), QStringLiteral("не является обычным файлом")},
        {dir.path(), QStringLiteral("это папка")},
        {dir.filePath(QStringLiteral("missing.json")), QStringLiteral("не найден")},
    };
    for (const Case &c : cases) {
        QElapsedTimer t;
        t.start();
        const auto r = PresetFileReader::read(c.path);
        ASSERT_TRUE(r.error.has_value()) << c.path.toStdString();
        EXPECT_EQ(r.error->domain, QStringLiteral("KestrelPreset"));
        EXPECT_TRUE(r.error->localizedDescription().contains(c.needle)) << r.error->message.toStdString();
        EXPECT_LT(t.elapsed(), 10000); // a read would wait for a writer for ever
    }
}

TEST(PresetFileReader, ReadsContentExactly)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.json"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{\"name\":\"Пресет\"}");
    f.close();
    const auto r = PresetFileReader::read(path);
    EXPECT_FALSE(r.error.has_value());
    EXPECT_EQ(r.data, QByteArray("{\"name\":\"Пресет\"}"));
    // A smaller limit applies to the same file.
    EXPECT_TRUE(PresetFileReader::read(path, 5).error.has_value());
}

} // namespace
