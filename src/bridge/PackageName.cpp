#include "PackageName.h"

namespace {
bool isAsciiLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }
} // namespace

bool isValidPackageName(const QString &name)
{
    bool segmentStart = true;
    for (const QChar c : name) {
        if (segmentStart) {
            if (!isAsciiLetter(c))
                return false;
            segmentStart = false;
        } else if (c == u'.') {
            segmentStart = true;
        } else if (!isAsciiLetter(c) && !isAsciiDigit(c) && c != u'_') {
            return false;
        }
    }
    // Empty names and names ending with a dot leave a segment unstarted.
    return !segmentStart;
}

CommandResult invalidPackageNameResult(const QString &name)
{
    return CommandResult{-1, QString(),
                         QStringLiteral("Недопустимое имя пакета «%1»: команда не отправлена на устройство").arg(name)};
}
