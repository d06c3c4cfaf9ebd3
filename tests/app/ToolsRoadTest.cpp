#include "AppTest.h"

#include "core/AppModel.h"
#include "design/FilterChip.h"
#include "design/InfoRow.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QRegularExpression>

namespace {

class ToolsRoad : public AppTest {
protected:
    QStringList phoneOptions() const override { return {QStringLiteral("--packages"), QStringLiteral("20")}; }

    // The text input called `name` (a text field and its input share the name).
    QLineEdit *input(const QString &name) const
    {
        for (QWidget *w : findAll(name))
            if (auto *edit = qobject_cast<QLineEdit *>(w))
                return edit;
        ADD_FAILURE() << "no text input \"" << name.toStdString() << "\"";
        return nullptr;
    }
    // The button called `name` in the same row as `beside`.
    QWidget *buttonBeside(QWidget *beside, const QString &name) const
    {
        for (QWidget *row = beside ? beside->parentWidget() : nullptr; row; row = row->parentWidget()) {
            const QList<QWidget *> found = findAll(name, row);
            if (found.size() == 1)
                return found.first();
            if (found.size() > 1)
                break;
        }
        ADD_FAILURE() << "no button \"" << name.toStdString() << "\" beside the field";
        return nullptr;
    }
    // What an information row shows ("Разрешение" → "1080x2400").
    QString shownValue(const QString &label) const
    {
        const QString prefix = label + QStringLiteral(": ");
        for (InfoRow *row : mainWindow()->findChildren<InfoRow *>())
            if (row->isVisible() && row->accessibleName().startsWith(prefix))
                return row->accessibleName().mid(prefix.size());
        return {};
    }
    // Display commands run one at a time: the next button waits, enabled again, for the last to end.
    void clickWhenEnabled(QWidget *button)
    {
        ASSERT_TRUE(button);
        ASSERT_TRUE(eventually([&] { return button->isEnabled(); }));
        click(button);
    }
    void typeInto(const QString &field, const QString &text)
    {
        QLineEdit *edit = input(field);
        ASSERT_TRUE(edit);
        click(edit);
        edit->selectAll(); // as a user selects what is there before typing over it
        type(text);
    }
    QJsonObject display() const { return phone->device().value(QStringLiteral("display")).toObject(); }
    QString screenTimeout() const
    {
        QFile file(phone->stateFolder() + QStringLiteral("/settings.json"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QJsonDocument::fromJson(file.readAll())
            .object()
            .value(QStringLiteral("system"))
            .toObject()
            .value(QStringLiteral("screen_off_timeout"))
            .toString();
    }
    // Whether the chip called `name` is on; none while it is not shown.
    std::optional<bool> chipOn(const QString &name) const
    {
        const auto *chip = lookup<FilterChip>(name);
        return chip ? std::optional(chip->isOn()) : std::nullopt;
    }
    bool rebootSent() const { return !phone->services().filter(QRegularExpression(QStringLiteral("^reboot:"))).isEmpty(); }
};

// The display tools change the phone (size, density, screen time-out) and show what it has now;
// a reboot asked for and cancelled sends nothing, one confirmed sends it, and the phone is
// shown again once it is back.
TEST_F(ToolsRoad, DisplayChangesReachThePhoneAndARebootComesBack)
{
    goTo(AppRoute::tools);
    ASSERT_TRUE(eventually([&] { return shownValue(QStringLiteral("Разрешение")) == QStringLiteral("1080x2400"); }))
        << shownValue(QStringLiteral("Разрешение")).toStdString();

    // Size.
    typeInto(QStringLiteral("Ширина"), QStringLiteral("720"));
    typeInto(QStringLiteral("Высота"), QStringLiteral("1600"));
    clickWhenEnabled(buttonBeside(input(QStringLiteral("Ширина")), QStringLiteral("Применить")));
    ASSERT_TRUE(eventually([&] { return display().value(QStringLiteral("override_size")).toString() == QStringLiteral("720x1600"); }));
    EXPECT_TRUE(eventually([&] { return shownValue(QStringLiteral("Разрешение")) == QStringLiteral("720x1600"); }))
        << shownValue(QStringLiteral("Разрешение")).toStdString();

    // Density.
    typeInto(QStringLiteral("dpi"), QStringLiteral("320"));
    clickWhenEnabled(buttonBeside(input(QStringLiteral("dpi")), QStringLiteral("Применить")));
    ASSERT_TRUE(eventually([&] { return display().value(QStringLiteral("override_density")).toInt() == 320; }));
    EXPECT_TRUE(eventually([&] { return shownValue(QStringLiteral("Плотность")) == QStringLiteral("320 dpi"); }))
        << shownValue(QStringLiteral("Плотность")).toStdString();

    // Both back to the phone's own.
    clickWhenEnabled(buttonBeside(input(QStringLiteral("Ширина")), QStringLiteral("Сброс")));
    ASSERT_TRUE(eventually([&] { return display().value(QStringLiteral("override_size")).isNull(); }));
    clickWhenEnabled(buttonBeside(input(QStringLiteral("dpi")), QStringLiteral("Сброс")));
    ASSERT_TRUE(eventually([&] { return display().value(QStringLiteral("override_density")).isNull(); }));
    EXPECT_TRUE(eventually([&] {
        return shownValue(QStringLiteral("Разрешение")) == QStringLiteral("1080x2400")
            && shownValue(QStringLiteral("Плотность")) == QStringLiteral("420 dpi");
    }));

    // Screen time-out.
    ASSERT_EQ(screenTimeout(), QStringLiteral("30000"));
    ASSERT_TRUE(eventually([&] { return chipOn(QStringLiteral("30 с")) == true; }));
    clickWhenEnabled(find(QStringLiteral("1 мин")));
    ASSERT_TRUE(eventually([&] { return screenTimeout() == QStringLiteral("60000"); }));
    EXPECT_TRUE(eventually([&] {
        return chipOn(QStringLiteral("1 мин")) == true && chipOn(QStringLiteral("30 с")) == false;
    }));

    // A reboot asked for and cancelled: nothing reaches the phone.
    const int bootCount = phone->device().value(QStringLiteral("boot_count")).toInt();
    clickNamed(QStringLiteral("Перезагрузить систему"));
    answer(QStringLiteral("Отмена"));
    ASSERT_TRUE(eventually([&] { return dialog() == nullptr; }, 10000));
    settle();
    EXPECT_FALSE(rebootSent());

    // Confirmed: the phone reboots, goes away and comes back, and the application shows it again.
    clickNamed(QStringLiteral("Перезагрузить систему"));
    answer(QStringLiteral("Перезагрузить"));
    ASSERT_TRUE(eventually([&] { return rebootSent(); }, 10000));
    ASSERT_TRUE(eventually([&] {
        const auto device = model->selectedDevice();
        return !device || !device->isReady();
    })) << "the application sees the phone go";
    ASSERT_TRUE(eventually([&] {
        return phone->device().value(QStringLiteral("boot_count")).toInt() == bootCount + 1
            && shownValue(QStringLiteral("Разрешение")) == QStringLiteral("1080x2400");
    }, 90000)) << "the phone is back and its tools show again";
    EXPECT_TRUE(eventually([&] {
        const QList<QWidget *> power = findAll(QStringLiteral("Перезагрузить систему"));
        return power.size() == 1 && power.first()->isEnabled();
    })) << "the reboot can be asked for again";
    EXPECT_EQ(phone->services().filter(QRegularExpression(QStringLiteral("^reboot:"))).size(), 1);
}

} // namespace
