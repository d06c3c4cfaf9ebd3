#include "FileNaming.h"

#include <QTextBoundaryFinder>

namespace {

// Calls `f` with each Unicode scalar; a lone surrogate comes as U+FFFD.
template <typename F>
void forEachScalar(QStringView text, F &&f)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            f(QChar::surrogateToUcs4(c, text[i + 1]));
            ++i;
        } else if (c.isSurrogate()) {
            f(char32_t(0xFFFD));
        } else {
            f(char32_t(c.unicode()));
        }
    }
}

qsizetype utf8Size(QStringView text)
{
    qsizetype bytes = 0;
    forEachScalar(text, [&](char32_t c) { bytes += c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4; });
    return bytes;
}

// The longest prefix of `text` that ends on a character boundary and fits `maxBytes`.
QString prefixWithin(const QString &text, qsizetype maxBytes)
{
    if (maxBytes <= 0)
        return {};
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype best = 0;
    for (qsizetype end = finder.toNextBoundary(); end > 0; end = finder.toNextBoundary()) {
        if (utf8Size(QStringView(text).left(end)) > maxBytes)
            break;
        best = end;
    }
    return text.left(best);
}

// Splits "stem.ext" at its last dot; a name whose only dot leads or ends it has no extension.
std::pair<QString, QString> splitExtension(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0 || dot == name.size() - 1)
        return {name, QString()};
    return {name.left(dot), name.mid(dot)};
}

bool isAllowed(char32_t c)
{
    if (c == U'.' || c == U'_' || c == U'-')
        return true;
    switch (QChar::category(c)) {
    case QChar::Letter_Uppercase: case QChar::Letter_Lowercase: case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier: case QChar::Letter_Other:
    case QChar::Mark_NonSpacing: case QChar::Mark_SpacingCombining: case QChar::Mark_Enclosing:
    case QChar::Number_DecimalDigit: case QChar::Number_Letter: case QChar::Number_Other:
        return true;
    default:
        return false;
    }
}

} // namespace

QString FileNaming::fitFileName(const QString &name, qsizetype maxBytes)
{
    if (utf8Size(name) <= maxBytes)
        return name;
    const auto [stem, extension] = splitExtension(name);
    const qsizetype extensionBytes = utf8Size(extension);
    // An extension that leaves no room for the stem is not worth keeping.
    if (extension.isEmpty() || extensionBytes >= maxBytes / 2)
        return prefixWithin(name, maxBytes);
    return prefixWithin(stem, maxBytes - extensionBytes) + extension;
}

QString FileNaming::safeFileName(const QString &name, const QString &fallback)
{
    QString out;
    out.reserve(name.size());
    forEachScalar(name, [&](char32_t c) {
        if (isAllowed(c))
            out.append(QString::fromUcs4(&c, 1));
        else
            out.append(QLatin1Char('_'));
    });
    qsizetype from = 0;
    qsizetype to = out.size();
    while (from < to && out[from] == u'.')
        ++from;
    while (to > from && out[to - 1] == u'.')
        --to;
    out = out.mid(from, to - from);
    if (out.isEmpty())
        return fallback;
    return fitFileName(out);
}

QString FileNaming::nameKey(const QString &name, NameMatch match)
{
    const QString canonical = name.normalized(QString::NormalizationForm_C);
    // Folding may take a letter out of its composed form: compose again.
    return match == NameMatch::ignoringCase ? canonical.toCaseFolded().normalized(QString::NormalizationForm_C)
                                            : canonical;
}

QString FileNaming::freeFileName(const QString &name, const std::function<bool(const QString &)> &taken,
                                 bool keepExtension)
{
    const QString wanted = fitFileName(name);
    if (!taken(wanted))
        return wanted;
    auto [stem, extension] = splitExtension(wanted);
    if (!keepExtension)
        extension.clear();
    for (qint64 n = 2;; ++n) {
        const QString suffix = QLatin1Char('-') + QString::number(n) + extension;
        QString candidate = stem + suffix;
        if (utf8Size(candidate) > maxNameBytes)
            candidate = prefixWithin(stem, maxNameBytes - utf8Size(suffix)) + suffix;
        if (!taken(candidate))
            return candidate;
    }
}

QString FileNaming::uniqueFileName(const QString &name, QSet<QString> &usedKeys, NameMatch match)
{
    const QString chosen =
        freeFileName(name, [&](const QString &candidate) { return usedKeys.contains(nameKey(candidate, match)); });
    usedKeys.insert(nameKey(chosen, match));
    return chosen;
}

QString FileNaming::uniqueFileName(const QString &name, QSet<QString> &usedNames)
{
    return uniqueFileName(name, usedNames, NameMatch::exact);
}

DomainError FileNaming::presetError(const QString &message)
{
    return DomainError{QStringLiteral("KestrelPreset"), 1, message};
}

QString FileNaming::timestamp(const QDateTime &when) { return when.toString(QStringLiteral("yyyyMMdd-HHmmss")); }
