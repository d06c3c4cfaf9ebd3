// Writes the file manager in its main states, both schemes and both size classes, as PNG files
// under <build>/screenshots/files for a person to look at.
#include "FileManagerHarness.h"
#include "ScreenTestSupport.h"

#include "design/Accessibility.h"
#include "design/Theme.h"

#include <QDir>
#include <QSplitter>
#include <gtest/gtest.h>

namespace {

using Entry = FileScreenHarness::Entry;

struct SchemeGuard {
    SchemeGuard() { A11y::setReduceMotion(true); }
    ~SchemeGuard()
    {
        FileScreenHarness::scheme = ColorScheme::dark;
        Theme::apply(ColorScheme::dark, false);
        A11y::resetForTesting();
    }
};

const QList<Entry> kPhone{{QStringLiteral("Alarms"), true},
                          {QStringLiteral("DCIM"), true},
                          {QStringLiteral("Download"), true},
                          {QStringLiteral("Music"), true},
                          {QStringLiteral("Документы"), true},
                          {QStringLiteral("base.apk"), false, 48'300'000},
                          {QStringLiteral("IMG_20240612_184512.jpg"), false, 3'912'004},
                          {QStringLiteral("notes.txt"), false, 512},
                          {QStringLiteral("Отчёт за квартал с очень длинным названием файла.pdf"), false, 1'250'000},
                          {QStringLiteral("recording.m4a"), false, 12'000'000},
                          {QStringLiteral("video.mp4"), false, 650'000'000}};
const QStringList kComputer{QStringLiteral("Projects/"), QStringLiteral("Screenshots/"), QStringLiteral("archive.tar.gz"),
                            QStringLiteral("photo.png"), QStringLiteral("readme.md"), QStringLiteral("report.pdf")};

// Saves the screen's picture; what a person would see wrong in it fails the test.
bool save(FileScreenHarness &f, const QString &name)
{
    f.settleScreen();
    EXPECT_EQ(GeometryWalk::seenFaults(f.reader.get()), QStringList()) << name.toStdString();
    return f.reader->grab().save(shotDir(QStringLiteral("files")) + QLatin1Char('/') + name + QStringLiteral(".png"));
}

TEST(FileManagerScreenshots, MainStatesInBothSchemesAndSizes)
{
    SchemeGuard guard;
    for (const auto &[scheme, schemeName] : kSchemes) {
        for (const auto &[width, sizeName] : {std::pair{1180, "wide"}, std::pair{700, "compact"}}) {
            FileScreenHarness::scheme = scheme;
            const QString suffix = QStringLiteral("-%1-%2").arg(QString::fromUtf8(sizeName), QString::fromUtf8(schemeName));
            {
                FileScreenHarness f(kPhone, kComputer, width);
                f.reader->resize(width, 620);
                f.model()->deviceSelection.set({QStringLiteral("/sdcard/IMG_20240612_184512.jpg"),
                                                QStringLiteral("/sdcard/notes.txt")});
                f.model()->localSelection.set({f.downloads + QStringLiteral("/report.pdf")});
                EXPECT_TRUE(save(f, QStringLiteral("both-panes") + suffix));
            }
            {
                FileScreenHarness f({}, kComputer, width);
                f.reader->resize(width, 620);
                EXPECT_TRUE(save(f, QStringLiteral("empty-device-folder") + suffix));
            }
        }
    }
    {
        FileScreenHarness::scheme = ColorScheme::dark;
        FileScreenHarness f(kPhone, kComputer, 1180, false);
        EXPECT_TRUE(save(f, QStringLiteral("no-device-wide-dark")));
    }
}

} // namespace
