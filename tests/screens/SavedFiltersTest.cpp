#include "screens/packages/ApplicationsFilterBar.h"
#include "screens/packages/SaveFilterSheet.h"

#include "design/DeckButton.h"
#include "design/DeckSegmented.h"
#include "design/FilterChip.h"
#include "design/MenuButton.h"
#include "screenkit/DeckTextField.h"
#include "screenkit/DialogPresenter.h"

#include "ApplicationsHarness.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

SavedFilter stored(const QString &name, const QString &query = {}, const QString &kind = QStringLiteral("Все"),
                   const QStringList &states = {}, const QList<int> &risks = {})
{
    SavedFilter f;
    f.name = name;
    f.query = query;
    f.kind = kind;
    f.states = states;
    f.risks = risks;
    return f;
}

QMenu *savedMenu(AppsHarness &h) { return h.view->filterBar()->savedFilterMenu(); }

// Opens the sheet from the menu, as the user does.
SaveFilterSheet *openSheet(AppsHarness &h)
{
    menuAction(savedMenu(h), QStringLiteral("Сохранить текущий фильтр…"))->trigger();
    settle();
    return qobject_cast<SaveFilterSheet *>(h.view->saveFilterPresenter()->dialog());
}

TEST(SavedFilters, MenuListsFiltersInStoredOrderWithADeleteSubmenu)
{
    AppsHarness h;
    EXPECT_EQ(menuTexts(savedMenu(h)), S({"Сохранённых фильтров нет", "—", "Сохранить текущий фильтр…"}));
    EXPECT_FALSE(menuAction(savedMenu(h), QStringLiteral("Сохранённых фильтров нет"))->isEnabled());
    h.settings->savedFilters.set({stored(QStringLiteral("Отключённые")), stored(QStringLiteral("A&B")),
                                  stored(QStringLiteral("Отключённые"))});
    EXPECT_EQ(menuTexts(savedMenu(h)), S({"Отключённые", "A&&B", "Отключённые", "—", "Удалить", "—",
                                          "Сохранить текущий фильтр…"}));
    QMenu *remove = menuAction(savedMenu(h), QStringLiteral("Удалить"))->menu();
    ASSERT_TRUE(remove);
    EXPECT_EQ(menuTexts(remove), S({"Отключённые", "A&&B", "Отключённые"}));
    // Deleting one of two namesakes removes only that one.
    const QUuid second = h.settings->savedFilters()[2].id;
    remove->actions()[2]->trigger();
    ASSERT_EQ(h.settings->savedFilters().size(), 2);
    EXPECT_NE(h.settings->savedFilters()[0].id, second);
    EXPECT_EQ(h.settings->savedFilters()[0].name, QStringLiteral("Отключённые"));
}

TEST(SavedFilters, TheSheetOffersTheNextNumberAndSavesTheNameAsTyped)
{
    AppsHarness h;
    h.settings->savedFilters.set({stored(QStringLiteral("Один")), stored(QStringLiteral("Два"))});
    SaveFilterSheet *sheet = openSheet(h);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
    EXPECT_EQ(sheet->width(), SaveFilterSheet::kWidth);
    EXPECT_EQ(sheet->nameField()->text(), QStringLiteral("Фильтр 3"));
    sheet->cancelButton()->click();
    settle();
    EXPECT_FALSE(h.view->state()->showSaveFilter());
    EXPECT_EQ(h.settings->savedFilters().size(), 2);

    // After a deletion the number follows the count, even when that name is taken.
    h.settings->savedFilters.set({stored(QStringLiteral("Фильтр 2"))});
    sheet = openSheet(h);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->nameField()->text(), QStringLiteral("Фильтр 2"));

    const struct {
        const char *typed;
        bool usable;
    } names[] = {{"", false}, {"   ", false}, {" \t ", false}, {"\n", true}, {"  Мои  ", true}};
    for (const auto &n : names) {
        sheet->nameField()->lineEdit()->setText(QString::fromUtf8(n.typed));
        Q_EMIT sheet->nameField()->textEdited(QString::fromUtf8(n.typed));
        EXPECT_EQ(sheet->saveButton()->isEnabled(), n.usable) << n.typed;
    }
    // Return does not save.
    QTest::keyClick(sheet->nameField()->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(h.settings->savedFilters().size(), 1);

    h->searchText.set(QStringLiteral(" камера "));
    h->packageFilter.set(PackageFilter::system);
    h->stateFilters.set({PackageState::disabled});
    h->riskFilters.set({RemovalRisk::safe, RemovalRisk::critical});
    sheet->saveButton()->click();
    settle();
    EXPECT_FALSE(h.view->state()->showSaveFilter());
    ASSERT_EQ(h.settings->savedFilters().size(), 2);
    const SavedFilter saved = h.settings->savedFilters().last();
    EXPECT_EQ(saved.name, QStringLiteral("  Мои  "));
    EXPECT_EQ(saved.query, QStringLiteral(" камера "));
    EXPECT_EQ(saved.kind, QStringLiteral("Системные"));
    EXPECT_EQ(saved.states, S({"disabled"}));
    QList<int> risks = saved.risks;
    std::sort(risks.begin(), risks.end());
    EXPECT_EQ(risks, (QList<int>{0, 3}));
}

TEST(SavedFilters, SavingWithNoFilterActiveStoresEmptyValues)
{
    AppsHarness h;
    SaveFilterSheet *sheet = openSheet(h);
    ASSERT_TRUE(sheet);
    sheet->saveButton()->click();
    ASSERT_EQ(h.settings->savedFilters().size(), 1);
    const SavedFilter saved = h.settings->savedFilters()[0];
    EXPECT_EQ(saved.name, QStringLiteral("Фильтр 1"));
    EXPECT_EQ(saved.query, QString());
    EXPECT_EQ(saved.kind, QStringLiteral("Все"));
    EXPECT_TRUE(saved.states.isEmpty());
    EXPECT_TRUE(saved.risks.isEmpty());
}

TEST(SavedFilters, ApplyingSkipsWhatItDoesNotKnowAndKeepsSortSelectionAndInspector)
{
    AppsHarness h;
    h->sortOrder.set(PackageSort::size);
    h->selectedPackageIDs.set({QStringLiteral("com.example.beta")});
    const struct {
        SavedFilter filter;
        PackageFilter kind;
        QSet<PackageState> states;
        QSet<RemovalRisk> risks;
    } cases[] = {
        {stored(QStringLiteral("a"), QStringLiteral("бета"), QStringLiteral("Пользовательские"), {QStringLiteral("enabled")},
                {2}),
         PackageFilter::user, {PackageState::enabled}, {RemovalRisk::advanced}},
        {stored(QStringLiteral("b"), QString(), QString(), {QStringLiteral("disabled"), QStringLiteral("frozen")}, {1, 7}),
         PackageFilter::all, {PackageState::disabled}, {RemovalRisk::review}},
        {stored(QStringLiteral("c"), QString(), QStringLiteral("system"),
                {QStringLiteral("removedForUser"), QStringLiteral("removedForUser")}, {-1, 3, 3}),
         PackageFilter::all, {PackageState::removedForUser}, {RemovalRisk::critical}},
    };
    for (const auto &c : cases) {
        h.settings->savedFilters.set({c.filter});
        menuAction(savedMenu(h), c.filter.name)->trigger();
        SCOPED_TRACE(c.filter.name.toStdString());
        EXPECT_EQ(h->searchText(), c.filter.query);
        EXPECT_EQ(h->packageFilter(), c.kind);
        EXPECT_EQ(h->stateFilters(), c.states);
        EXPECT_EQ(h->riskFilters(), c.risks);
        EXPECT_EQ(h->sortOrder(), PackageSort::size);
        EXPECT_EQ(h->selectedPackageIDs().size(), 1);
    }
}

TEST(SavedFilters, FilterBarCountsTheWholeCatalogueAndShowsResetWhileFiltering)
{
    AppsHarness h;
    ApplicationsFilterBar *bar = h.view->filterBar();
    const auto counts = [&] {
        QList<int> values;
        for (const DeckSegmented::Item &item : bar->kindSegments()->items())
            values << item.count.value_or(-1);
        return values;
    };
    EXPECT_EQ(counts(), (QList<int>{6, 3, 3}));
    EXPECT_EQ(bar->stateChip(PackageState::enabled)->count(), 4);
    EXPECT_EQ(bar->stateChip(PackageState::disabled)->count(), 1);
    EXPECT_EQ(bar->stateChip(PackageState::removedForUser)->count(), 1);
    EXPECT_FALSE(bar->resetButton()->isVisible());

    bar->stateChip(PackageState::disabled)->click();
    chooseSegment(bar->kindSegments(), QVariant(int(PackageFilter::user)));
    settle();
    EXPECT_EQ(h->stateFilters(), QSet<PackageState>{PackageState::disabled});
    EXPECT_EQ(h->packageFilter(), PackageFilter::user);
    EXPECT_TRUE(bar->stateChip(PackageState::disabled)->isOn());
    EXPECT_EQ(counts(), (QList<int>{6, 3, 3}));
    EXPECT_EQ(bar->stateChip(PackageState::enabled)->count(), 4);
    EXPECT_TRUE(bar->resetButton()->isVisible());

    // Hiding the risk chips keeps a risk filter in force, and "Сбросить" clears it.
    h->packageFilter.set(PackageFilter::all);
    h->stateFilters.set({});
    bar->riskChip(RemovalRisk::critical)->click();
    h.settings->showRiskColumn.set(false);
    settle();
    EXPECT_FALSE(bar->riskChip(RemovalRisk::critical)->isVisible());
    EXPECT_EQ(h.shownNames(), S({"com.android.systemui"}));
    EXPECT_TRUE(bar->resetButton()->isVisible());
    bar->resetButton()->click();
    settle();
    EXPECT_TRUE(h->riskFilters().isEmpty());
    EXPECT_FALSE(bar->resetButton()->isVisible());
    // Blank search is no filter.
    h->searchText.set(QStringLiteral("  "));
    settle();
    EXPECT_FALSE(bar->resetButton()->isVisible());
}

} // namespace
