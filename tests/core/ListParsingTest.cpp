#include "core/AppModel.h"

#include <gtest/gtest.h>

namespace {

QString s(const char *text) { return QString::fromUtf8(text); }

TEST(ParseDevices, LinesTable)
{
    struct Case {
        const char *name;
        QString output;
        QList<AndroidDevice> devices;
    };
    const QList<Case> cases = {
        {"heading only", s("List of devices attached\n\n"), {}},
        {"emulator with keys",
         s("List of devices attached\nemulator-5554 device product:sdk_gphone64_arm64 model:sdk_gphone64_arm64 "
           "device:emu64a transport_id:1\n"),
         {{s("emulator-5554"), s("device"), s("sdk_gphone64_arm64"), s("1")}}},
        {"unauthorized without keys", s("R58M123 unauthorized\n"), {{s("R58M123"), s("unauthorized"), {}, {}}}},
        {"single word and blank lines skipped", s("lonely\n \t \nA device\n"), {{s("A"), s("device"), {}, {}}}},
        {"tabs and runs of spaces", s("A\t  device   model:X\t\ttransport_id:7"), {{s("A"), s("device"), s("X"), s("7")}}},
        {"same serial twice kept", s("A device\nA offline\n"), {{s("A"), s("device"), {}, {}}, {s("A"), s("offline"), {}, {}}}},
        {"value keeps later colons", s("A device model:b:c"), {{s("A"), s("device"), s("b:c"), {}}}},
        {"leading colons dropped", s("A device ::model:Z"), {{s("A"), s("device"), s("Z"), {}}}},
        {"empty value ignored", s("A device model: usb: transport_id:"), {{s("A"), s("device"), {}, {}}}},
        {"word without colon ignored", s("A device junk model:M"), {{s("A"), s("device"), s("M"), {}}}},
        {"every line break", s("A device\rB device\r\nC device\vD device\fE device\u0085F device\u2028G device\u2029H device"),
         {{s("A"), s("device"), {}, {}}, {s("B"), s("device"), {}, {}}, {s("C"), s("device"), {}, {}},
          {s("D"), s("device"), {}, {}}, {s("E"), s("device"), {}, {}}, {s("F"), s("device"), {}, {}},
          {s("G"), s("device"), {}, {}}, {s("H"), s("device"), {}, {}}}},
        {"network serial", s("192.168.1.5:5555 device product:p model:Pixel_7 device:d transport_id:12"),
         {{s("192.168.1.5:5555"), s("device"), s("Pixel_7"), s("12")}}},
        {"unrelated text", s("* daemon started successfully"), {{s("*"), s("daemon"), {}, {}}}},
        {"empty", QString(), {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(AppModel::parseDevices(c.output), c.devices) << c.name;
}

TEST(ParseDevices, RepeatedKeyStillGivesTheDevice)
{
    const auto list = AppModel::parseDevices(s("A device model:One model:Two"));
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list[0].model, s("One"));
}

TEST(ParsePackages, LinesTable)
{
    struct Case {
        const char *name;
        QString output;
        QList<std::pair<QString, std::optional<QString>>> packages; // name, apk path
    };
    const QList<Case> cases = {
        {"path and name", s("package:/data/app/~~x==/com.a-1/base.apk=com.a\n"),
         {{s("com.a"), s("/data/app/~~x==/com.a-1/base.apk")}}},
        {"split at the last equals sign", s("package:/p=q/r=s/base.apk=com.example"),
         {{s("com.example"), s("/p=q/r=s/base.apk")}}},
        {"no equals sign: name only", s("package:com.b"), {{s("com.b"), std::nullopt}}},
        {"empty path kept", s("package:=com.c"), {{s("com.c"), s("")}}},
        {"bare prefix skipped", s("package:\npackage:/x.apk=\n"), {}},
        {"case and leading space matter", s("Package:com.d\n package:com.e\npackages:com.f"), {}},
        {"spaces kept", s("package:/a b.apk= com.g "), {{s(" com.g "), s("/a b.apk")}}},
        {"order and crlf", s("package:a=x\r\npackage:b=y\r\n\r\n"), {{s("x"), s("a")}, {s("y"), s("b")}}},
        {"unrelated", s("Error: something\n"), {}},
    };
    for (const Case &c : cases) {
        for (PackageKind kind : allCases<PackageKind>()) {
            const auto list = AppModel::parsePackages(c.output, kind);
            ASSERT_EQ(list.size(), c.packages.size()) << c.name;
            for (qsizetype i = 0; i < list.size(); ++i) {
                EXPECT_EQ(list[i].name, c.packages[i].first) << c.name;
                EXPECT_EQ(list[i].apkPath, c.packages[i].second) << c.name;
                EXPECT_EQ(list[i], AndroidPackage(c.packages[i].first, c.packages[i].second, kind)) << c.name;
                EXPECT_EQ(list[i].state, PackageState::enabled);
                EXPECT_EQ(list[i].displayName, list[i].name);
            }
        }
    }
}

} // namespace
