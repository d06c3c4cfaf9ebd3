#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringView>

#include <array>
#include <memory>

// Where the cells of a log row sit in a list of a given width, and how a message wraps onto
// rows of that list. Every row of the list is one text line high; a message that does not fit
// its cell continues on the rows below, breaking after a space where it can.
class LogRowLayout {
public:
    static constexpr qreal kSideInset = 24;
    static constexpr qreal kSpacing = 8;
    static constexpr qreal kTimeWidth = 126;
    static constexpr qreal kBadgeWidth = 14;
    static constexpr qreal kTagWidth = 132;
    static constexpr qreal kCompactTagWidth = 96;
    static constexpr qreal kVerticalInset = 1.5;

    LogRowLayout(qreal width, bool compact, const QFont &font);

    qreal width() const { return m_width; }
    bool isCompact() const { return m_compact; }
    const QFont &font() const { return m_font; }
    int rowHeight() const { return m_rowHeight; }

    // Cells of the first row of a line (the time cell is empty in a compact list).
    QRectF timeCell() const;
    QRectF badgeCell() const;
    QRectF tagCell() const;
    qreal messageX() const { return m_messageX; }
    qreal messageWidth() const { return m_messageWidth; }

    // A message as it is drawn and wrapped (ShownText::logMessage: without colour codes, other
    // invisible characters as stand-ins); `storage` holds the text when it differs.
    static QStringView shownMessage(QStringView message, QString &storage);

    // The rows `message` takes, at least one.
    int rowCount(QStringView message) const;
    // Where each row of `message` begins (the first at 0).
    QList<qsizetype> rowStarts(QStringView message) const;
    // The drawn width of `text` as the wrapping measures it.
    qreal advance(QStringView text) const;

private:
    template <typename F>
    void wrap(QStringView message, F &&onBreak) const;
    qreal charAdvance(QStringView text, qsizetype i, qsizetype &length) const;

    qreal m_width;
    bool m_compact;
    QFont m_font;
    QFontMetricsF m_metrics;
    int m_rowHeight;
    qreal m_messageX;
    qreal m_messageWidth;
    // The advance every printable ASCII character shares in a monospaced font (0 when they differ).
    qreal m_asciiAdvance = 0;
    // Advances of the first code points (Latin, Cyrillic, Greek), measured on first use.
    std::shared_ptr<std::array<float, 0x500>> m_advances;
};
