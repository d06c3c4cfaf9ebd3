#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Which layers a layer may include, beside itself. The linker already keeps Qt Gui and
// Widgets out of the bridge and core; this keeps their headers apart as well.
const QHash<QString, QStringList> kAllowed = {
    {QStringLiteral("bridge"), {}},
    {QStringLiteral("core"), {QStringLiteral("bridge")}},
    {QStringLiteral("design"), {QStringLiteral("bridge")}},
    {QStringLiteral("screenkit"), {QStringLiteral("bridge"), QStringLiteral("core"), QStringLiteral("design")}},
    {QStringLiteral("screens"),
     {QStringLiteral("bridge"), QStringLiteral("core"), QStringLiteral("design"), QStringLiteral("screenkit")}},
};

// The layer of a path below `src`: its first folder (the shell is the top and may include anything).
QString layerOf(const QString &srcRoot, const QString &path)
{
    const QString relative = QDir(srcRoot).relativeFilePath(QDir::cleanPath(path));
    return relative.startsWith(QLatin1String("..")) ? QString() : relative.section(QLatin1Char('/'), 0, 0);
}

// Every include of a header of a layer that its file may not include, as "file: header".
QStringList layerViolations(const QString &srcRoot)
{
    static const QRegularExpression include(QStringLiteral(R"(^\s*#\s*include\s*["<]([^">]+)[">])"),
                                            QRegularExpression::MultilineOption);
    QStringList found;
    QDirIterator files(srcRoot, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString file = files.next();
        const QString layer = layerOf(srcRoot, file);
        if (!kAllowed.contains(layer))
            continue;
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(f.readAll());
        for (auto it = include.globalMatch(text); it.hasNext();) {
            const QString header = it.next().captured(1);
            // A header beside the file (or reached from it) first, then one named from src.
            const QString beside = QFileInfo(file).dir().filePath(header);
            const QString target = QFileInfo::exists(beside) ? beside : QDir(srcRoot).filePath(header);
            if (!QFileInfo::exists(target))
                continue; // a system or library header
            const QString targetLayer = layerOf(srcRoot, target);
            if (targetLayer != layer && !kAllowed.value(layer).contains(targetLayer))
                found << QDir(srcRoot).relativeFilePath(file) + QStringLiteral(": ") + header;
        }
    }
    found.sort();
    return found;
}

TEST(Layering, TheCheckSeesEachKindOfViolation)
{
    QTemporaryDir src;
    const auto write = [&](const QString &relative, const QByteArray &text) {
        QDir().mkpath(QFileInfo(src.filePath(relative)).path());
        QFile f(src.filePath(relative));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    };
    for (const char *header : {"bridge/Tone.h", "core/Model.h", "design/Ink.h", "screenkit/Kit.h", "shell/Window.h",
                               "screens/a/Screen.h", "screens/b/Other.h"})
        write(QString::fromUtf8(header), "#pragma once\n");
    write(QStringLiteral("bridge/Fine.cpp"), "#include \"Tone.h\"\n#include <QString>\n#include \"bridge/Tone.h\"\n");
    write(QStringLiteral("core/Fine.cpp"), "#include \"Model.h\"\n#include \"bridge/Tone.h\"\n");
    write(QStringLiteral("design/Fine.cpp"), "#include \"Ink.h\"\n#include \"bridge/Tone.h\"\n");
    write(QStringLiteral("shell/Fine.cpp"),
          "#include \"core/Model.h\"\n#include \"design/Ink.h\"\n#include \"screens/a/Screen.h\"\n");
    write(QStringLiteral("screenkit/Fine.cpp"),
          "#include \"Kit.h\"\n#include \"bridge/Tone.h\"\n#include \"core/Model.h\"\n#include \"design/Ink.h\"\n");
    write(QStringLiteral("screens/a/Fine.cpp"), "#include \"Screen.h\"\n#include \"screens/b/Other.h\"\n"
                                                "#include \"screenkit/Kit.h\"\n#include \"core/Model.h\"\n");
    write(QStringLiteral("bridge/Up.cpp"), "#include \"core/Model.h\"\n");
    write(QStringLiteral("bridge/Relative.h"), "  #  include \"../design/Ink.h\"\n");
    write(QStringLiteral("core/Widgets.h"), "#include <design/Ink.h>\n#include \"shell/Window.h\"\n");
    write(QStringLiteral("core/Screen.cpp"), "#include \"screens/a/Screen.h\"\n");
    write(QStringLiteral("design/Model.cpp"), "#include \"core/Model.h\"\n");
    write(QStringLiteral("design/Kit.cpp"), "#include \"screenkit/Kit.h\"\n");
    write(QStringLiteral("screens/a/Up.cpp"), "#include \"shell/Window.h\"\n#include \"../../shell/Window.h\"\n");
    write(QStringLiteral("screenkit/Up.h"), "#include \"screens/a/Screen.h\"\n#include \"shell/Window.h\"\n");
    EXPECT_EQ(layerViolations(src.path()), (QStringList{
                                               QStringLiteral("bridge/Relative.h: ../design/Ink.h"),
                                               QStringLiteral("bridge/Up.cpp: core/Model.h"),
                                               QStringLiteral("core/Screen.cpp: screens/a/Screen.h"),
                                               QStringLiteral("core/Widgets.h: design/Ink.h"),
                                               QStringLiteral("core/Widgets.h: shell/Window.h"),
                                               QStringLiteral("design/Kit.cpp: screenkit/Kit.h"),
                                               QStringLiteral("design/Model.cpp: core/Model.h"),
                                               QStringLiteral("screenkit/Up.h: screens/a/Screen.h"),
                                               QStringLiteral("screenkit/Up.h: shell/Window.h"),
                                               QStringLiteral("screens/a/Up.cpp: ../../shell/Window.h"),
                                               QStringLiteral("screens/a/Up.cpp: shell/Window.h"),
                                           }));
}

// The bridge includes only itself; core only the bridge; design only the bridge; the screen kit
// the three below it; the screens those and the kit, never the shell.
TEST(Layering, NoLayerIncludesAHigherOneOrASibling)
{
    const QString src = QStringLiteral(KESTREL_SOURCE_DIR "/src");
    ASSERT_TRUE(QFileInfo::exists(src + QStringLiteral("/core/AppModel.h")));
    EXPECT_EQ(layerViolations(src), QStringList());
}

} // namespace
