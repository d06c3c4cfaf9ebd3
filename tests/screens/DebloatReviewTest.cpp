#include "screens/packages/DebloatReviewDelegate.h"
#include "screens/packages/DebloatReviewSheet.h"

#include "bridge/Bytes.h"
#include "design/DeckButton.h"

#include "DebloatHarness.h"

#include <QAbstractItemModelTester>
#include <QListView>
#include <QTest>
#include <gtest/gtest.h>

using namespace debloat_test;

namespace {

// The model with the catalogue and every risk level listed, and a review sheet over it.
struct ReviewFixture {
    ShellHarness h;
    std::unique_ptr<QWidget> host = std::make_unique<QWidget>();
    DebloatReviewSheet *sheet = nullptr;

    explicit ReviewFixture(const QSet<QString> &selection, PresetAction action = PresetAction::disable)
    {
        h.connect(QStringLiteral("device"), kDevice);
        h->packages.set(catalogue());
        h->debloatRiskFilter.set({});
        h->debloatSelection.set(selection);
        h->debloatAction.set(action);
        host->resize(900, 800);
        host->show();
        sheet = new DebloatReviewSheet(h.model.get(), host.get());
        sheet->open();
        settle();
    }

    QStringList listed() const
    {
        QStringList out;
        QAbstractItemModel *m = sheet->itemList()->model();
        for (int r = 0; r < m->rowCount(); ++r)
            out << m->index(r, 0).data().toString();
        return out;
    }

    // Presses the exclude button of a package's row as the pointer would.
    void exclude(const QString &displayName)
    {
        QListView *list = sheet->itemList();
        const int row = int(listed().indexOf(displayName));
        ASSERT_GE(row, 0) << displayName.toStdString();
        const QModelIndex index = list->model()->index(row, 0);
        list->scrollTo(index);
        const QRect rect = list->visualRect(index);
        const QPointF at = DebloatReviewDelegate::rowLayout(QRectF(rect), h->debloatPlan().items.at(row)).exclude.center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at.toPoint());
        settle();
    }
};

const QString kAnalytics = QStringLiteral("com.vendor.analytics"), kAds = QStringLiteral("com.vendor.adservice"),
              kMystery = QStringLiteral("com.maker.mystery"), kNfc = QStringLiteral("com.android.nfc"),
              kFiles = QStringLiteral("com.android.documentsui"), kPlay = QStringLiteral("com.android.vending"),
              kSettings = QStringLiteral("com.android.settings"), kBluetooth = QStringLiteral("com.android.bluetooth"),
              kKeychain = QStringLiteral("com.android.keychain");

QList<QStringList> callsWith(ShellHarness &h, const QString &word)
{
    QList<QStringList> out;
    for (const QStringList &call : h.fake.calls())
        if (call.contains(word))
            out << call;
    return out;
}

// The warning's line of each risky package of the catalogue, as the catalogue words its consequence.
const QString kNfcLine = QStringLiteral("• NFC: Перестанут работать бесконтактная оплата и обмен данными по NFC."),
              kFilesLine = QStringLiteral("• Файлы: Приложения не смогут открыть окно выбора файла для загрузки или "
                                          "сохранения."),
              kPlayLine = QStringLiteral("• Play Маркет: Приложения перестанут устанавливаться и обновляться из Play; "
                                         "часть приложений проверяет его наличие и может не запуститься."),
              kSettingsLine = QStringLiteral("• Настройки: Изменить параметры устройства, сети и учётных записей станет "
                                             "нечем; часть системных диалогов перестанет открываться.");

TEST(DebloatReview, SafePlanNeedsNoTickAndShowsItsSummary)
{
    ReviewFixture f({kAnalytics, kAds, kMystery});
    QAbstractItemModelTester tester(f.sheet->itemList()->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(f.sheet->size(), QSize(720, 640));
    EXPECT_TRUE(f.sheet->acknowledgement()->isHidden());
    EXPECT_EQ(f.sheet->shownWarningTitle(), QString());
    EXPECT_TRUE(f.sheet->confirmButton()->isEnabled());
    EXPECT_EQ(f.sheet->confirmButton()->text(), QStringLiteral("Отключить 3"));
    EXPECT_EQ(f.sheet->actionText(), QStringLiteral("Действие: Отключить"));
    // Plan order: risk, then size largest first (the ad service has no size).
    EXPECT_EQ(f.listed(), (QStringList{"Аналитика", "Реклама", "Загадка"}));
    using Cell = QPair<QString, QString>;
    EXPECT_EQ(f.sheet->summary(), (QList<Cell>{{"3", "Приложений"},
                                               {Bytes::shortText(140 * MB), "Освободится до"},
                                               {"3", "Системных"},
                                               {title(RemovalRisk::review), "Максимальный риск"}}));
}

// Every action-dependent element follows the one test of the plan's action.
TEST(DebloatReview, ActionPicksTextsAndConfirmRole)
{
    ReviewFixture f({kAnalytics});
    EXPECT_EQ(f.sheet->confirmButton()->buttonStyle().role, DeckButtonRole::primary);
    EXPECT_EQ(f.sheet->explanationText(),
              QStringLiteral("Выбранные пакеты будут отключены для пользователя 0. Действие полностью обратимо кнопкой "
                             "«Включить»."));
    f.h->debloatAction.set(PresetAction::uninstall);
    settle();
    EXPECT_EQ(f.sheet->confirmButton()->text(), QStringLiteral("Удалить 1"));
    EXPECT_EQ(f.sheet->confirmButton()->buttonStyle().role, DeckButtonRole::destructive);
    EXPECT_EQ(f.sheet->actionText(), QStringLiteral("Действие: Удалить для пользователя"));
    EXPECT_EQ(f.sheet->explanationText(),
              QStringLiteral("Выбранные пакеты будут удалены для пользователя 0. APK остаётся в прошивке — "
                             "восстановление возможно через «Восстановить»."));
}

// A user app in the plan is not part of the firmware: uninstalling it for user 0 removes it whole,
// so the explanation promises the restore only for the system packages, and follows the plan.
TEST(DebloatReview, UninstallPromisesARestoreOnlyForSystemPackages)
{
    const QString kGame = QStringLiteral("com.user.game");
    const QString gone = QStringLiteral("Пользовательские приложения (1) будут удалены вместе с данными без "
                                        "возможности восстановления.");
    const struct {
        const char *what;
        QSet<QString> selection;
        PresetAction action;
        QString explanation;
    } cases[] = {
        {"system packages only", {kAnalytics, kAds}, PresetAction::uninstall,
         QStringLiteral("Выбранные пакеты будут удалены для пользователя 0. APK остаётся в прошивке — "
                        "восстановление возможно через «Восстановить».")},
        {"one user app", {kGame}, PresetAction::uninstall, gone},
        {"mixed", {kGame, kAnalytics}, PresetAction::uninstall,
         QStringLiteral("Системные пакеты будут удалены для пользователя 0. APK остаётся в прошивке — "
                        "восстановление возможно через «Восстановить». ")
             + gone},
        {"disabling a user app", {kGame, kAnalytics}, PresetAction::disable,
         QStringLiteral("Выбранные пакеты будут отключены для пользователя 0. Действие полностью обратимо кнопкой "
                        "«Включить».")},
    };
    for (const auto &c : cases) {
        ReviewFixture f(c.selection, c.action);
        EXPECT_EQ(f.sheet->explanationText(), c.explanation) << c.what;
        EXPECT_EQ(f.sheet->confirmButton()->buttonStyle().role,
                  c.action == PresetAction::uninstall ? DeckButtonRole::destructive : DeckButtonRole::primary)
            << c.what;
    }

    // Excluding the user app gives the system package back its sentence.
    ReviewFixture f({kGame, kAnalytics}, PresetAction::uninstall);
    f.exclude(QStringLiteral("Игра"));
    EXPECT_EQ(f.sheet->explanationText(),
              QStringLiteral("Выбранные пакеты будут удалены для пользователя 0. APK остаётся в прошивке — "
                             "восстановление возможно через «Восстановить»."));
}

TEST(DebloatReview, WarningListsFourRiskyPackagesAndCountsTheRest)
{
    // Advanced: NFC 4 MB, Files 6 MB, Play 80 MB; critical: Settings 30 MB, Bluetooth 9 MB,
    // Keychain 1 MB. The plan lists lower risks first, then larger packages first.
    struct Case {
        QSet<QString> selection;
        int risky;
        QStringList lines;
        QString highestRisk;
    };
    const Case cases[] = {
        {{kAnalytics, kNfc}, 1, {kNfcLine}, QStringLiteral("Для опытных")},
        {{kNfc, kFiles, kPlay, kSettings}, 4, {kPlayLine, kFilesLine, kNfcLine, kSettingsLine}, QStringLiteral("Критично")},
        {{kNfc, kFiles, kPlay, kSettings, kBluetooth},
         5,
         {kPlayLine, kFilesLine, kNfcLine, kSettingsLine, QStringLiteral("и ещё 1 — они отмечены в списке ниже.")},
         QStringLiteral("Критично")},
        {{kNfc, kFiles, kPlay, kSettings, kBluetooth, kKeychain, kAnalytics},
         6,
         {kPlayLine, kFilesLine, kNfcLine, kSettingsLine, QStringLiteral("и ещё 2 — они отмечены в списке ниже.")},
         QStringLiteral("Критично")},
    };
    for (const Case &c : cases) {
        ReviewFixture f(c.selection);
        EXPECT_EQ(f.sheet->shownWarningTitle(),
                  QStringLiteral("В плане есть %1 пакетов с повышенным риском").arg(c.risky));
        EXPECT_EQ(f.sheet->shownWarningLines(), c.lines);
        EXPECT_FALSE(f.sheet->acknowledgement()->isHidden());
        EXPECT_EQ(f.sheet->acknowledgement()->label(),
                  QStringLiteral("Я понимаю, что в плане есть пакеты уровня «%1», и последствия описаны выше.")
                      .arg(c.highestRisk));
        EXPECT_FALSE(f.sheet->confirmButton()->isEnabled());
        f.sheet->acknowledgement()->click();
        EXPECT_TRUE(f.sheet->confirmButton()->isEnabled());
    }
}

TEST(DebloatReview, ExcludingUpdatesTheWholeSheetAndKeepsItOpen)
{
    ReviewFixture f({kAnalytics, kNfc});
    ASSERT_FALSE(f.sheet->confirmButton()->isEnabled());
    // Excluding the one risky package drops the warning and the tick, whatever the tick was.
    f.exclude(QStringLiteral("NFC"));
    EXPECT_EQ(f.h->debloatSelection(), QSet<QString>{kAnalytics});
    EXPECT_EQ(f.sheet->shownWarningTitle(), QString());
    EXPECT_TRUE(f.sheet->acknowledgement()->isHidden());
    EXPECT_TRUE(f.sheet->confirmButton()->isEnabled());
    // Excluding the last: an empty plan, a disabled "… 0", and the sheet stays.
    f.exclude(QStringLiteral("Аналитика"));
    EXPECT_TRUE(f.listed().isEmpty());
    using Cell = QPair<QString, QString>;
    EXPECT_EQ(f.sheet->summary(), (QList<Cell>{{"0", "Приложений"},
                                               {"—", "Освободится до"},
                                               {"0", "Системных"},
                                               {"Безопасно", "Максимальный риск"}}));
    EXPECT_EQ(f.sheet->confirmButton()->text(), QStringLiteral("Отключить 0"));
    EXPECT_FALSE(f.sheet->confirmButton()->isEnabled());
    EXPECT_TRUE(f.sheet->isVisible());
}

// A tick given for a smaller plan does not cover a risky package that joins it later.
TEST(DebloatReview, TickIsTakenBackWhenARiskyPackageJoins)
{
    ReviewFixture f({kAnalytics, kNfc});
    f.sheet->acknowledgement()->click();
    ASSERT_TRUE(f.sheet->confirmButton()->isEnabled());
    // A safe package joining keeps the tick.
    f.h->toggleDebloatSelection(kAds);
    settle();
    EXPECT_TRUE(f.sheet->isAcknowledged());
    // Leaving keeps it too: what was acknowledged only shrank.
    f.h->toggleDebloatSelection(kAds);
    settle();
    EXPECT_TRUE(f.sheet->isAcknowledged());
    // A critical package joining (a refresh brings it back) takes it back.
    f.h->toggleDebloatSelection(kSettings);
    settle();
    EXPECT_FALSE(f.sheet->isAcknowledged());
    EXPECT_FALSE(f.sheet->confirmButton()->isEnabled());
    // So does a risky package hidden by the filter coming back into the plan.
    f.sheet->acknowledgement()->click();
    f.h->debloatRiskFilter.set({RemovalRisk::safe, RemovalRisk::advanced});
    settle();
    EXPECT_TRUE(f.sheet->isAcknowledged());
    f.h->debloatRiskFilter.set({});
    settle();
    EXPECT_FALSE(f.sheet->isAcknowledged());
}

// Confirming runs the plan in plan order for user 0; the model ends the review.
TEST(DebloatReview, ConfirmRunsThePlanWithExactCommandLines)
{
    for (const PresetAction action : {PresetAction::disable, PresetAction::uninstall}) {
        ReviewFixture f({kNfc, kAnalytics, kMystery}, action);
        f.h->isDebloatReviewPresented.set(true);
        f.sheet->acknowledgement()->click();
        f.sheet->confirmButton()->click();
        EXPECT_FALSE(f.h->isDebloatReviewPresented());
        ASSERT_TRUE(waitUntil([&] { return f.h->debloatSelection().isEmpty(); }));
        ASSERT_TRUE(settleCommands());
        const QString verb = action == PresetAction::disable ? QStringLiteral("disable-user") : QStringLiteral("uninstall");
        const QStringList head{"-s", kDevice, "shell", "pm", verb, "--user", "0"};
        EXPECT_EQ(callsWith(f.h, verb),
                  (QList<QStringList>{head + QStringList{kAnalytics}, head + QStringList{kMystery},
                                      head + QStringList{kNfc}}));
    }
}

TEST(DebloatReview, EscapeAndCancelDismissWithoutRunning)
{
    ReviewFixture f({kAnalytics});
    QTest::keyClick(f.sheet, Qt::Key_Escape);
    EXPECT_FALSE(f.sheet->isVisible());
    EXPECT_EQ(f.sheet->result(), QDialog::Rejected);
    EXPECT_EQ(f.h->debloatSelection(), QSet<QString>{kAnalytics});
}

} // namespace
