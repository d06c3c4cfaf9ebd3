#include "AppTest.h"
#include "E2eTools.h"
#include "FakeDesktop.h"

#include "core/AppModel.h"
#include "design/ToastView.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

namespace {

// Installs and exports chosen from the Applications header tell the user how they went: a toast
// at once and an entry in the Overview's history, a failure with the phone's own reason.
class InstallExportRoad : public AppTest {
protected:
    FakeDesktop desktop;
    QTemporaryDir files;

    // The texts of the toasts shown now ("title. detail").
    QStringList shownToasts() const
    {
        QStringList texts;
        for (QWidget *top : windows())
            for (ToastView *toast : top->findChildren<ToastView *>())
                if (toast->isVisible())
                    texts << toast->accessibleName();
        return texts;
    }
    bool toastShown(const QString &text) const
    {
        for (const QString &toast : shownToasts())
            if (toast.startsWith(text))
                return true;
        return false;
    }
    void chooseFromInstallMenu(const QString &item)
    {
        QWidget *button = nullptr;
        ASSERT_TRUE(eventually([&] {
            const QList<QWidget *> found = findAll(QStringLiteral("Установка и выгрузка APK"));
            button = found.size() == 1 && found.first()->isEnabled() ? found.first() : nullptr;
            // The toast of the last outcome lies over the header until it goes, as the user sees.
            return button && reachable(button);
        }, 20000)) << "the install menu stays disabled or covered";
        click(button);
        chooseInMenu(item);
    }
    QAbstractItemView *packageList() const
    {
        const QList<QWidget *> panes = findAll(QStringLiteral("packageListPane"));
        return panes.size() == 1 ? firstShown<QAbstractItemView>(panes.first()) : nullptr;
    }
};

TEST_F(InstallExportRoad, OutcomesShowInAToastAndInTheHistory)
{
    goTo(AppRoute::applications);
    ASSERT_TRUE(eventually([&] { return packageList() && !rowTexts(packageList()).isEmpty() && !model->isBusy(); }));

    // Not an APK: the phone refuses it and says why.
    const QString notes = files.filePath(QStringLiteral("заметки.apk"));
    {
        QFile file(notes);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("just some notes\n");
    }
    const int packagesBefore = int(phone->packages().size());
    desktop.openFilesAnswer = {notes};
    chooseFromInstallMenu(QStringLiteral("Установить APK или APKS…"));
    if (HasFatalFailure())
        return;
    const QString refused = QStringLiteral("Ошибка установки. заметки.apk: INSTALL_PARSE_FAILED_NOT_APK");
    EXPECT_TRUE(eventually([&] { return toastShown(refused); }, 30000)) << shownToasts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(phone->packages().size(), packagesBefore);

    // A real APK goes on the phone.
    const QString packageName = QStringLiteral("org.kestrel.roadprobe");
    const QString apk = files.filePath(QStringLiteral("Проба.apk"));
    QString error;
    ASSERT_TRUE(E2eTools::writeApk(apk, packageName, 3, &error)) << error.toStdString();
    settle();
    desktop.openFilesAnswer = {apk};
    chooseFromInstallMenu(QStringLiteral("Установить APK или APKS…"));
    if (HasFatalFailure())
        return;
    EXPECT_TRUE(eventually([&] { return toastShown(QStringLiteral("Установка завершена. Проба.apk")); }, 30000))
        << shownToasts().join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(eventually([&] { return !phone->package(packageName).isEmpty(); }));

    // The phone's metadata program knows nothing of the new package: the list names it.
    ASSERT_TRUE(eventually([&] { return rowTexts(packageList()).contains(packageName) && !model->isBusy(); }, 30000))
        << "the list shows the installed package";
    clickRow(packageList(), packageName);
    ASSERT_TRUE(eventually([&] { return model->selectedPackageIDs() == QSet<QString>{packageName}; }));
    const QString target = files.filePath(QStringLiteral("выгрузка"));
    // The new package is exported into a dated folder of the chosen one.
    ASSERT_TRUE(QDir().mkpath(target));
    desktop.folderAnswer = target;
    chooseFromInstallMenu(QStringLiteral("Выгрузить выбранные APK…"));
    if (HasFatalFailure())
        return;
    QString exported;
    ASSERT_TRUE(eventually([&] {
        const QStringList made = QDir(target).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        exported = made.size() == 1 ? QDir(target).filePath(made.first()) : QString();
        return !exported.isEmpty() && toastShown(QStringLiteral("Выгрузка APK завершена. APK-файлов: 1 · ") + exported);
    }, 30000)) << shownToasts().join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(QFile::exists(exported + QLatin1Char('/') + packageName + QStringLiteral("/base.apk")));

    // The Overview's history keeps all three, newest first.
    goTo(AppRoute::overview);
    QStringList rows;
    EXPECT_TRUE(eventually([&] {
        rows = historyRows();
        return rows.size() >= 3;
    }, 20000)) << rows.join(QLatin1Char('\n')).toStdString();
    ASSERT_GE(rows.size(), 3);
    EXPECT_TRUE(rows[0].startsWith(QStringLiteral("Выгрузка APK завершена, APK-файлов: 1 · ") + exported)) << rows[0].toStdString();
    EXPECT_TRUE(rows[1].startsWith(QStringLiteral("Установка завершена, Проба.apk, "))) << rows[1].toStdString();
    EXPECT_TRUE(rows[2].startsWith(QStringLiteral("Ошибка установки, заметки.apk: INSTALL_PARSE_FAILED_NOT_APK, ")))
        << rows[2].toStdString();
}

} // namespace
