#include "AppTest.h"

#include "PaintedText.h"

#include "core/AppModel.h"
#include "design/DeckParagraph.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>

namespace {

template <std::size_t N>
QString u(const char16_t (&text)[N])
{
    return QString::fromUtf16(text, N - 1);
}

// The phone reports a label that turns itself around and breaks its line, a label that looks
// like markup, and keeps files whose names do the same.
const QString kEvilLabel = u(u"\u202Eevil.apk\nвторая строка");
const QString kEvilShown = u(u"<RLO>evil.apk<LF>вторая строка");
const QString kMarkupLabel = u(u"<b>Жирный</b> &amp;");
const QString kBrokenFile = u(u"x\ny.txt");
const QString kBrokenFileShown = u(u"x<LF>y.txt");
const QString kTurnedFile = u(u"photo\u202Egnp.apk");
const QString kTurnedFileShown = u(u"photo<RLO>gnp.apk");

class DeviceTextRoad : public AppTest {
protected:
    // Gives the first two user packages of the phone the labels above (the metadata program's
    // answers) and returns their names.
    QStringList relabel()
    {
        QFile file(phone->stateFolder() + QStringLiteral("/app_process.jsonl"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QList<QByteArray> lines = file.readAll().split('\n');
        file.close();
        QStringList names;
        const QStringList labels{kEvilLabel, kMarkupLabel};
        for (QByteArray &line : lines) {
            QJsonObject entry = QJsonDocument::fromJson(line).object();
            if (entry.isEmpty() || entry.value(QStringLiteral("system")).toBool() || names.size() == labels.size())
                continue;
            entry.insert(QStringLiteral("label"), labels[names.size()]);
            names << entry.value(QStringLiteral("package")).toString();
            line = QJsonDocument(entry).toJson(QJsonDocument::Compact);
        }
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return {};
        file.write(lines.join('\n'));
        return names;
    }
    // The text drawn on each baseline inside `area`, top to bottom.
    static QStringList lines(const PaintedText &painted, const QRectF &area)
    {
        QMap<qreal, QList<PaintedText::Run>> byBaseline;
        for (const PaintedText::Run &run : painted.runs)
            if (area.contains(run.at))
                byBaseline[run.at.y()] << run;
        QStringList out;
        for (QList<PaintedText::Run> &runs : byBaseline) {
            std::sort(runs.begin(), runs.end(), [](const auto &a, const auto &b) { return a.at.x() < b.at.x(); });
            QString text;
            for (const PaintedText::Run &run : runs)
                text += run.text;
            out << text;
        }
        return out;
    }
    static bool holdsControls(const PaintedText &painted)
    {
        for (const PaintedText::Run &run : painted.runs)
            for (QChar c : run.text)
                if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
                    return true;
        return false;
    }
    QAbstractItemView *packageList() const
    {
        QWidget *pane = lookup(QStringLiteral("packageListPane"));
        return pane ? firstShown<QAbstractItemView>(pane) : nullptr;
    }
};

TEST_F(DeviceTextRoad, LabelsAndFileNamesFromThePhoneAreDrawnAsTheyAre)
{
    const QStringList relabelled = relabel();
    ASSERT_EQ(relabelled.size(), 2);
    for (const QString &name : {kBrokenFile, kTurnedFile}) {
        QFile file(phone->storagePath(QStringLiteral("/sdcard/") + name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << file.fileName().toStdString();
        file.write("device text\n");
    }

    // The user asks for the list again: the new labels arrive.
    goTo(AppRoute::applications);
    clickNamed(QStringLiteral("Обновить список приложений"));
    ASSERT_TRUE(eventually([&] {
        const QStringList rows = rowTexts(packageList());
        return rows.contains(kEvilLabel) && rows.contains(kMarkupLabel) && !model->isBusy();
    }));

    // Each label is drawn on one line of its row, its controls visible, its markup as text.
    for (const auto &[labelled, expected] : {std::pair(kEvilLabel, kEvilShown), std::pair(kMarkupLabel, kMarkupLabel)}) {
        const QString label = labelled, shown = expected;
        SCOPED_TRACE(shown.toStdString());
        clickRow(packageList(), label);
        settle();
        QAbstractItemView *list = packageList();
        ASSERT_TRUE(list) << "no package list is shown";
        const int row = int(rowTexts(list).indexOf(label));
        const QRect rect = list->visualRect(list->model()->index(row, 0, list->rootIndex()));
        const auto rows = PaintedText::of(*list->viewport());
        EXPECT_FALSE(holdsControls(*rows));
        EXPECT_TRUE(lines(*rows, rect).contains(shown)) << lines(*rows, rect).join(QStringLiteral(" | ")).toStdString();

        // The inspector's title: the same text, read aloud as the phone gave it.
        ASSERT_TRUE(eventually([&] {
            auto *title = lookup<DeckParagraph>(QStringLiteral("inspectorTitle"));
            return title && title->shownText() == shown;
        }));
        auto *title = find<DeckParagraph>(QStringLiteral("inspectorTitle"));
        ASSERT_TRUE(title);
        // It wraps and elides in its narrow panel exactly as the visible text itself would.
        DeckParagraph same(shown, title->font(), [] { return QColor(); });
        same.setMaximumLines(title->maximumLines());
        same.resize(title->size());
        EXPECT_EQ(lines(*PaintedText::of(*title), QRectF(title->rect())),
                  lines(*PaintedText::of(same), QRectF(same.rect())));
        EXPECT_EQ(title->accessibleName(), QString(label).replace(QLatin1Char('\n'), QLatin1Char(' ')));
    }

    // The phone's files: each name on one line of its row, as the listing holds it.
    goTo(AppRoute::files);
    QWidget *pane = find(QStringLiteral("devicePane"));
    ASSERT_TRUE(pane);
    auto *table = firstShown<QAbstractItemView>(pane);
    ASSERT_TRUE(eventually([&] {
        const QStringList rows = rowTexts(table);
        return rows.contains(kBrokenFile) && rows.contains(kTurnedFile);
    })) << rowTexts(table).join(QStringLiteral(" | ")).toStdString();
    settle();
    const auto files = PaintedText::of(*table->viewport());
    EXPECT_FALSE(holdsControls(*files));
    for (const auto &[named, expected] :
         {std::pair(kBrokenFile, kBrokenFileShown), std::pair(kTurnedFile, kTurnedFileShown)}) {
        const QString name = named, shown = expected;
        SCOPED_TRACE(shown.toStdString());
        const int row = int(rowTexts(table).indexOf(name));
        const QRect rect = table->visualRect(table->model()->index(row, 0, table->rootIndex()));
        ASSERT_TRUE(table->viewport()->rect().contains(rect.center()));
        EXPECT_EQ(lines(*files, rect), QStringList{shown});
    }
}

} // namespace
