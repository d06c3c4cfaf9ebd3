#include "AppModel.h"

#include "bridge/TextLines.h"

#include <vector>

namespace {

// Fields of a device line: runs of characters that are not white space.
template <typename F>
void forEachField(QStringView line, F &&f)
{
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (i < n) {
        while (i < n && line[i].isSpace())
            ++i;
        const qsizetype start = i;
        while (i < n && !line[i].isSpace())
            ++i;
        if (i > start)
            f(line.sliced(start, i - start));
    }
}

} // namespace

QList<AndroidDevice> AppModel::parseDevices(const QString &output)
{
    QList<AndroidDevice> result;
    forEachLine(output, [&](QStringView line) {
        if (line.startsWith(u"List of devices"))
            return;
        int index = 0;
        std::optional<QString> model;
        std::optional<QString> transport;
        AndroidDevice device;
        forEachField(line, [&](QStringView field) {
            switch (index++) {
            case 0: device.id = field.toString(); return;
            case 1: device.state = field.toString(); return;
            default: break;
            }
            // key:value; leading colons are dropped and the value keeps later colons.
            qsizetype start = 0;
            while (start < field.size() && field[start] == u':')
                ++start;
            const qsizetype colon = field.indexOf(u':', start);
            if (colon < 0 || colon + 1 >= field.size())
                return;
            const QStringView key = field.sliced(start, colon - start);
            const QStringView value = field.sliced(colon + 1);
            // adb never repeats a key; should it, the first value counts.
            if (key == u"model" && !model)
                model = value.toString();
            else if (key == u"transport_id" && !transport)
                transport = value.toString();
        });
        if (index < 2)
            return;
        device.model = model.value_or(QString());
        device.transport = transport.value_or(QString());
        result.append(std::move(device));
    });
    return result;
}

QList<AndroidPackage> AppModel::parsePackages(const QString &output, PackageKind kind)
{
    // Thousands of lines: find them first so the list grows once.
    std::vector<QStringView> lines;
    forEachLine(output, [&](QStringView line) {
        if (line.startsWith(u"package:"))
            lines.push_back(line);
    });
    QList<AndroidPackage> result;
    result.reserve(qsizetype(lines.size()));
    for (const QStringView line : lines) {
        const QStringView rest = line.sliced(8);
        const qsizetype equals = rest.lastIndexOf(u'=');
        if (equals < 0) {
            if (!rest.isEmpty())
                result.emplaceBack(rest.toString(), std::nullopt, kind);
            continue;
        }
        if (equals + 1 >= rest.size())
            continue;
        result.emplaceBack(rest.sliced(equals + 1).toString(), rest.first(equals).toString(), kind);
    }
    return result;
}
