#include "AppTest.h"

#include "core/AppModel.h"
#include "design/DeckSearchField.h"

#include <QAbstractItemView>
#include <QJsonArray>
#include <QJsonObject>
#include <QLineEdit>
#include <QRegularExpression>

#include <functional>

namespace {

class SearchRoad : public AppTest {
protected:
    // A search field by the name the user sees (its placeholder or accessible name), and its list.
    struct Search {
        const char *name;
        std::function<void()> open; // brings the field into view, as the user does
        QString field;
        QString screen; // the screen's object name: the sidebar shares names with lists
        QString list;
        // A part of a row's text that some rows have and others not, chosen from what is shown.
        std::function<QString(const QStringList &rows)> filterFrom;
        // The count the screen shows beside the list, if it shows one.
        QRegularExpression count;
    };

    QLineEdit *field(const QString &name) { return find<QLineEdit>(name); }
    DeckSearchField *searchFieldOf(QLineEdit *edit) const
    {
        for (QWidget *w = edit; w; w = w->parentWidget())
            if (auto *search = qobject_cast<DeckSearchField *>(w))
                return search;
        return nullptr;
    }
    QStringList counts(const QRegularExpression &count) const
    {
        return count.pattern().isEmpty() ? QStringList{} : shownTexts().filter(count);
    }

    // Types a filter into the field, sees the list shrink, then clears the field with its own ×
    // (a mouse click): the whole list and its count come back, and the focus stays in the field.
    void filterAndClear(const Search &s)
    {
        SCOPED_TRACE(s.name);
        auto *list = find<QAbstractItemView>(s.list, find(s.screen));
        QLineEdit *edit = field(s.field);
        ASSERT_TRUE(list && edit);
        ASSERT_TRUE(eventually([&] { return list->model()->rowCount() > 1; })) << "the list fills";
        settle();
        const QStringList full = rowTexts(list);
        const QStringList fullCount = counts(s.count);
        if (!s.count.pattern().isEmpty())
            ASSERT_EQ(fullCount.size(), 1) << "the screen counts its rows";
        const QString filter = s.filterFrom(full);
        ASSERT_FALSE(filter.isEmpty());

        click(edit);
        ASSERT_TRUE(edit->hasFocus());
        type(filter);
        ASSERT_TRUE(eventually([&] {
            const QStringList rows = rowTexts(list);
            return !rows.isEmpty() && rows.size() < full.size();
        })) << "typing \"" << filter.toStdString() << "\" shrinks the list";
        settle();
        if (!s.count.pattern().isEmpty())
            EXPECT_NE(counts(s.count), fullCount);

        DeckSearchField *search = searchFieldOf(edit);
        ASSERT_TRUE(search);
        QWidget *cross = find(QStringLiteral("Очистить поиск"), search);
        ASSERT_TRUE(cross);
        click(cross);
        EXPECT_EQ(edit->text(), QString());
        ASSERT_TRUE(eventually([&] { return rowTexts(list).size() == full.size(); }))
            << "after the ×: " << rowTexts(list).size() << " rows of " << full.size();
        settle();
        EXPECT_EQ(rowTexts(list).size(), full.size());
        EXPECT_EQ(counts(s.count), fullCount);
        EXPECT_TRUE(edit->hasFocus()) << "the × leaves the focus in the field";
        EXPECT_FALSE(reachable(cross)) << "an empty field shows no ×";
    }
};

// A whole name of one row: it picks that row and the few named alike.
QString oneRowsName(const QStringList &rows)
{
    return rows.isEmpty() ? QString() : rows.at(rows.size() / 2);
}

// Every list screen's search field, typed into and cleared with its own ×: the whole list and
// the count the screen shows come back, as the empty field promises.
TEST_F(SearchRoad, EverySearchFieldsCrossBringsTheWholeListBack)
{
    const QList<Search> searches = {
        {"Applications", [&] { goTo(AppRoute::applications); }, QStringLiteral("Поиск приложений"),
         QStringLiteral("applications"), QStringLiteral("packageList"), oneRowsName, QRegularExpression(QStringLiteral("^Показано \\d+ из \\d+"))},
        {"Debloat", [&] { goTo(AppRoute::debloat); }, QStringLiteral("Название, пакет, описание"),
         QStringLiteral("debloatScreen"), QStringLiteral("debloatList"),
         [](const QStringList &rows) {
             return rows.size() > 2 ? rows.at(1) : QString(); // a candidate: the first row is a group heading
         },
         QRegularExpression(QStringLiteral("^\\d+ кандидатов"))},
        {"Permissions' picker", [&] { goTo(AppRoute::permissions); }, QStringLiteral("Поиск приложения"),
         QStringLiteral("permissionsScreen"), QStringLiteral("packagePicker"), oneRowsName, {}},
        {"Permission manager",
         [&] {
             // The user app asking for the most runtime permissions, opened from the picker.
             QString name;
             qsizetype most = 0;
             for (const QJsonValue &v : phone->packages()) {
                 const QJsonObject p = v.toObject();
                 const qsizetype asked = p.value(QStringLiteral("runtimePermissions")).toArray().size();
                 if (!p.value(QStringLiteral("system")).toBool() && asked > most) {
                     most = asked;
                     name = p.value(QStringLiteral("name")).toString();
                 }
             }
             ASSERT_GE(most, 3);
             QString label;
             for (const AndroidPackage &p : model->packages())
                 if (p.name == name)
                     label = p.displayName;
             clickRow(find<QAbstractItemView>(QStringLiteral("packagePicker")), label);
         },
         QStringLiteral("Поиск разрешения"), QStringLiteral("permissionsScreen"), QStringLiteral("Runtime-разрешения"),
         [](const QStringList &rows) { return rows.isEmpty() ? QString() : rows.first(); }, {}},
    };
    for (const Search &s : searches) {
        s.open();
        if (HasFatalFailure())
            return;
        filterAndClear(s);
        if (HasFatalFailure())
            return;
    }
}

} // namespace
