#include "screenkit/DeckTextField.h"

#include "core/Observable.h"
#include "design/Accessibility.h"
#include "design/Ink.h"
#include "design/Theme.h"

#include "TestSupport.h"
#include "../shell/UiTestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct TextOwner : Observable {
    Published<QString> value{this};
};

TEST(DeckTextField, MonoAndProportionalShareTheHeightAndThePlaceholderNamesTheField)
{
    QWidget host;
    auto *row = new QHBoxLayout(&host);
    auto *mono = new DeckTextField(QStringLiteral("192.168.1.25:5555"), true);
    auto *body = new DeckTextField(QStringLiteral("Название"));
    row->addWidget(mono);
    row->addWidget(body);
    host.show();
    EXPECT_EQ(mono->height(), 28);
    EXPECT_EQ(body->height(), 28);
    // The address field draws every character in the same room, the name field does not.
    const auto advances = [](DeckTextField *field) {
        const QFontMetricsF fm(field->lineEdit()->font());
        return QList<qreal>{fm.horizontalAdvance(QLatin1Char('i')), fm.horizontalAdvance(QLatin1Char('W')),
                            fm.horizontalAdvance(QLatin1Char('0'))};
    };
    const QList<qreal> monoAdvances = advances(mono);
    EXPECT_EQ(monoAdvances, QList<qreal>(3, monoAdvances[0]));
    const QList<qreal> bodyAdvances = advances(body);
    EXPECT_LT(bodyAdvances[0], bodyAdvances[1]);
    mono->lineEdit()->setText(QStringLiteral("10.0.0.2"));
    EXPECT_EQ(mono->accessibleName(), QStringLiteral("192.168.1.25:5555"));
    EXPECT_EQ(mono->lineEdit()->accessibleName(), QStringLiteral("192.168.1.25:5555"));
    EXPECT_EQ(mono->placeholder(), QStringLiteral("192.168.1.25:5555"));
}

TEST(DeckTextField, ReturnRunsTheSubmitActionOnlyWhenOneIsGiven)
{
    // A dialog's default button must not fire either when the field has no action.
    QDialog dialog;
    auto *row = new QHBoxLayout(&dialog);
    int submitted = 0;
    auto *plain = new DeckTextField(QStringLiteral("адрес"));
    auto *acting = new DeckTextField(QStringLiteral("имя"), false, [&] { ++submitted; });
    auto *ok = new QPushButton(QStringLiteral("OK"));
    ok->setDefault(true);
    row->addWidget(plain);
    row->addWidget(acting);
    row->addWidget(ok);
    int accepted = 0;
    QObject::connect(&dialog, &QDialog::accepted, [&] { ++accepted; });
    dialog.show();

    giveFocus(plain->lineEdit());
    typeText(plain->lineEdit(), QStringLiteral("abc"));
    pressReturn(plain->lineEdit());
    EXPECT_EQ(plain->text(), QStringLiteral("abc"));
    EXPECT_EQ(submitted, 0);
    EXPECT_EQ(accepted, 0);

    giveFocus(acting->lineEdit());
    pressReturn(acting->lineEdit());
    EXPECT_EQ(submitted, 1);
}

TEST(DeckTextField, CommitsOnReturnOrLeavingAfterAnEditOnly)
{
    QWidget host;
    auto *row = new QHBoxLayout(&host);
    auto *field = new DeckTextField(QStringLiteral("/opt/homebrew/bin/adb"), true);
    auto *other = new DeckTextField(QStringLiteral("другое"));
    row->addWidget(field);
    row->addWidget(other);
    host.show();
    QStringList commits;
    int edits = 0;
    QObject::connect(field, &DeckTextField::committed, [&](const QString &t) { commits << t; });
    QObject::connect(field, &DeckTextField::textEdited, [&] { ++edits; });

    giveFocus(field->lineEdit());
    typeText(field->lineEdit(), QStringLiteral("/usr"));
    EXPECT_EQ(edits, 4);
    EXPECT_TRUE(commits.isEmpty());
    pressReturn(field->lineEdit());
    EXPECT_EQ(commits, QStringList{QStringLiteral("/usr")});

    // Leaving without a further edit commits nothing; leaving after one commits once.
    giveFocus(other->lineEdit());
    EXPECT_EQ(commits.size(), 1);
    giveFocus(field->lineEdit());
    typeText(field->lineEdit(), QStringLiteral("/bin"));
    giveFocus(other->lineEdit());
    EXPECT_EQ(commits, (QStringList{QStringLiteral("/usr"), QStringLiteral("/usr/bin")}));

    // Text set by the program is no user edit.
    field->setText(QStringLiteral("/x"));
    EXPECT_EQ(edits, 8);
}

TEST(DeckTextField, FocusTurnsTheHairlineIntoTheAccentRing)
{
    ReducedMotion rm;
    QWidget host;
    auto *row = new QHBoxLayout(&host);
    auto *field = new DeckTextField(QStringLiteral("поле"));
    auto *other = new DeckTextField(QStringLiteral("другое"));
    row->addWidget(field);
    row->addWidget(other);
    host.show();
    EXPECT_EQ(field->ringWidth(), 1);
    EXPECT_EQ(field->ringColor(), Ink::stroke());
    giveFocus(field->lineEdit());
    EXPECT_TRUE(field->isFocused());
    EXPECT_EQ(field->ringWidth(), 2);
    EXPECT_EQ(field->ringColor(), withOpacity(Ink::accent(), 0.75));
    giveFocus(other->lineEdit());
    EXPECT_EQ(field->ringWidth(), 1);
    EXPECT_EQ(field->ringColor(), Ink::stroke());
}

TEST(DeckTextField, TwoFieldsBoundToOnePropertyShowTheSameText)
{
    TextOwner owner;
    DeckTextField a(QStringLiteral("a")), b(QStringLiteral("b"));
    owner.value.set(QStringLiteral("start"));
    bindDeckTextField(&a, &owner, owner.value);
    bindDeckTextField(&b, &owner, owner.value);
    EXPECT_EQ(a.text(), QStringLiteral("start"));
    a.show();
    giveFocus(a.lineEdit());
    a.lineEdit()->end(false);
    typeText(a.lineEdit(), QStringLiteral("!"));
    EXPECT_EQ(owner.value(), QStringLiteral("start!"));
    EXPECT_EQ(b.text(), QStringLiteral("start!"));
    owner.value.set(QString());
    EXPECT_EQ(a.text(), QString());
}

} // namespace
