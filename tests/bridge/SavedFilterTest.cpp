#include "bridge/SavedFilter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>

namespace {

SavedFilter sample(const QString &name)
{
    SavedFilter f;
    f.name = name;
    f.query = QStringLiteral("goo");
    f.kind = QStringLiteral("Системные");
    f.states = {QStringLiteral("disabled"), QStringLiteral("enabled")};
    f.risks = {3, 0};
    return f;
}

TEST(SavedFilter, EncodesEveryKeyAndRoundTrips)
{
    SavedFilter empty;
    empty.kind = QStringLiteral("Все");
    const QJsonObject o = empty.toJson();
    EXPECT_EQ(o.value("query").toString(QStringLiteral("x")), QString());
    EXPECT_TRUE(o.value("states").isArray() && o.value("states").toArray().isEmpty());
    EXPECT_TRUE(o.value("risks").isArray() && o.value("risks").toArray().isEmpty());
    EXPECT_EQ(o.value("id").toString(), empty.id.toString(QUuid::WithoutBraces).toUpper());

    const QList<SavedFilter> list = {sample(QStringLiteral("a")), empty};
    EXPECT_EQ(SavedFilter::decodeList(SavedFilter::encodeList(list)), list);
    SavedFilter reordered = list[0];
    std::reverse(reordered.states.begin(), reordered.states.end());
    EXPECT_NE(reordered, list[0]);
}

TEST(SavedFilter, OneBadElementDoesNotWipeTheList)
{
    QJsonArray array;
    const SavedFilter good = sample(QStringLiteral("good"));
    QJsonObject lower = good.toJson();
    lower.insert("id", good.id.toString(QUuid::WithoutBraces).toLower());
    lower.insert("version", 2);
    array.append(lower);
    const auto broken = [&](const char *key, const QJsonValue &value) {
        QJsonObject o = sample(QStringLiteral("bad")).toJson();
        if (value.isUndefined())
            o.remove(QString::fromLatin1(key));
        else
            o.insert(QString::fromLatin1(key), value);
        return o;
    };
    array.append(broken("risks", QJsonValue::Undefined));
    array.append(broken("states", QJsonValue::Null));
    array.append(broken("name", 5));
    array.append(broken("risks", QJsonArray{"1"}));
    array.append(broken("id", "not-a-uuid"));
    array.append(42);
    int skipped = -1;
    const auto list = SavedFilter::decodeList(QJsonDocument(array).toJson(), &skipped);
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list[0], good); // the lower-case id is the same identity
    EXPECT_EQ(skipped, 6);
    EXPECT_TRUE(SavedFilter::decodeList("[]", &skipped).isEmpty());
    EXPECT_EQ(skipped, 0);
}

} // namespace
