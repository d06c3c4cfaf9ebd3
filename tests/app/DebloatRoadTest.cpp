#include "AppTest.h"

#include "design/DeckParagraph.h"
#include "design/DeckSegmented.h"
#include "design/ScreenHeader.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QJsonArray>
#include <QJsonObject>

namespace {

class DebloatRoad : public AppTest {
protected:
    // The candidate list, once the screen shows it.
    QAbstractItemView *candidates() const { return lookup<QAbstractItemView>(QStringLiteral("Кандидаты на очистку")); }
    // The phone's package the screen shows as `shown` (its label once the phone told it, else its
    // name), when no other is shown so.
    QJsonObject phonePackage(const QString &shown) const
    {
        QJsonObject found;
        int count = 0;
        for (const QJsonValue &v : phone->packages()) {
            const QJsonObject p = v.toObject();
            if (p.value(QStringLiteral("label")).toString() == shown || p.value(QStringLiteral("name")).toString() == shown) {
                found = p;
                ++count;
            }
        }
        return count == 1 ? found : QJsonObject();
    }
    // The label of the first candidate of `riskTitle` that the phone will act on.
    QString candidateOf(const QStringList &riskTitles) const
    {
        const QStringList labels = rowTexts(candidates());
        const QStringList described = rowTexts(candidates(), Qt::AccessibleTextRole);
        for (qsizetype i = 0; i < labels.size(); ++i) {
            const QJsonObject p = phonePackage(labels[i]);
            if (p.isEmpty() || p.contains(QStringLiteral("failures")))
                continue;
            for (const QString &risk : riskTitles)
                if (described[i].startsWith(labels[i] + QStringLiteral(". ") + risk + QStringLiteral(".")))
                    return labels[i];
        }
        return {};
    }
    void clickSegment(DeckSegmented *control, const QString &title)
    {
        ASSERT_TRUE(control);
        const QList<DeckSegmented::Item> items = control->items();
        for (qsizetype i = 0; i < items.size(); ++i)
            if (items[i].title == title) {
                click(control, control->segmentRects().at(i).center().toPoint());
                return;
            }
        FAIL() << "no segment \"" << title.toStdString() << "\"";
    }
    QString headerSubtitle() const
    {
        QWidget *screen = lookup(QStringLiteral("debloatScreen"));
        auto *header = screen ? firstShown<ScreenHeader>(screen) : nullptr;
        return header ? header->subtitleLabel()->text() : QString();
    }
};

// A safe candidate and a riskier one are picked, the action set to removal for the user, the
// plan reviewed and its risk acknowledged: both packages leave user 0 on the phone, nothing else
// is touched, and the screen no longer offers them.
TEST_F(DebloatRoad, PickReviewAcknowledgeAndRunRemovesThePlannedPackages)
{
    goTo(AppRoute::debloat);
    ASSERT_TRUE(eventually([&] { return candidates() && !rowTexts(candidates()).isEmpty(); }));
    const QString safe = candidateOf({QStringLiteral("Безопасно")});
    // The riskier levels are listed once the user turns their chips on.
    for (const QString chip : {QStringLiteral("riskChip-Advanced"), QStringLiteral("riskChip-Critical")}) {
        auto *button = find<QAbstractButton>(chip);
        ASSERT_TRUE(button);
        click(button);
    }
    QString risky;
    ASSERT_TRUE(eventually([&] {
        risky = candidateOf({QStringLiteral("Для опытных"), QStringLiteral("Критично")});
        return !risky.isEmpty();
    })) << "the phone has no advanced or critical candidate";
    ASSERT_FALSE(safe.isEmpty()) << rowTexts(candidates(), Qt::AccessibleTextRole).join(QStringLiteral(" | ")).toStdString();
    const QString subtitleBefore = headerSubtitle();
    const int candidatesBefore = subtitleBefore.section(QLatin1Char(' '), 0, 0).toInt();
    ASSERT_GT(candidatesBefore, 2) << subtitleBefore.toStdString();

    clickRow(candidates(), safe);
    clickRow(candidates(), risky);
    QWidget *bar = nullptr;
    ASSERT_TRUE(eventually([&] {
        const QList<QWidget *> bars = findAll(QStringLiteral("debloatPlanBar"));
        bar = bars.size() == 1 ? bars.first() : nullptr;
        return bar && shownTexts({}, bar).contains(QStringLiteral("2 приложений в плане"));
    })) << "the plan bar counts both";
    clickSegment(find<DeckSegmented>(QStringLiteral("Действие очистки")), QStringLiteral("Удалить для пользователя"));
    settle();
    click(find(QStringLiteral("Просмотреть план"), bar));

    QWidget *review = nullptr;
    ASSERT_TRUE(eventually([&] { return (review = dialog()) != nullptr && review->objectName() == QStringLiteral("debloatReview"); }));
    EXPECT_EQ(findAll(QStringLiteral("Приложений: 2"), review).size(), 1);
    EXPECT_EQ(rowTexts(find<QAbstractItemView>(QStringLiteral("Пакеты плана"), review)).size(), 2);
    QWidget *confirm = find(QStringLiteral("confirmPlan"), review);
    ASSERT_TRUE(confirm);
    EXPECT_EQ(static_cast<QAbstractButton *>(confirm)->text(), QStringLiteral("Удалить 2"));
    EXPECT_FALSE(confirm->isEnabled()) << "a risky plan waits for the acknowledgement";
    settle();
    EXPECT_TRUE(phone->shellCommands().filter(QStringLiteral("pm uninstall")).isEmpty()) << "nothing ran before";

    click(find(QStringLiteral("acknowledgement"), review));
    ASSERT_TRUE(eventually([&] { return confirm->isEnabled(); }, 10000));
    click(confirm);

    const QString safeName = phonePackage(safe).value(QStringLiteral("name")).toString();
    const QString riskyName = phonePackage(risky).value(QStringLiteral("name")).toString();
    ASSERT_TRUE(eventually([&] {
        return !phone->package(safeName).value(QStringLiteral("installed")).toBool()
            && !phone->package(riskyName).value(QStringLiteral("installed")).toBool();
    })) << "both leave user 0";
    EXPECT_EQ(dialog(), nullptr) << "the review closed";
    // The screen no longer offers them, counts two candidates fewer and has no plan left.
    EXPECT_TRUE(eventually([&] {
        const QStringList rows = rowTexts(candidates());
        return !rows.contains(safe) && !rows.contains(risky)
            && headerSubtitle().section(QLatin1Char(' '), 0, 0).toInt() == candidatesBefore - 2
            && findAll(QStringLiteral("debloatPlanBar")).isEmpty();
    })) << headerSubtitle().toStdString();
    settle();
    const QStringList uninstalls = phone->shellCommands().filter(QStringLiteral("pm uninstall"));
    EXPECT_EQ(uninstalls.size(), 2);
    EXPECT_TRUE(uninstalls.contains(QStringLiteral("pm uninstall --user 0 ") + safeName));
    EXPECT_TRUE(uninstalls.contains(QStringLiteral("pm uninstall --user 0 ") + riskyName));
}

} // namespace
