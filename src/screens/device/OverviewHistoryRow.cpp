#include "OverviewHistoryRow.h"

#include "OverviewFacts.h"

#include "core/OperationRecord.h"
#include "design/DeckParagraph.h"
#include "design/DeckText.h"
#include "design/Ink.h"
#include "design/Symbols.h"
#include "design/Tokens.h"
#include "design/Typo.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include <functional>

namespace {

// The small symbol of a history row.
class RowSymbol : public QWidget {
public:
    RowSymbol(QString name, std::function<QColor()> ink, QWidget *parent)
        : QWidget(parent), m_name(std::move(name)), m_ink(std::move(ink))
    {
        setFixedSize(16, 18);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        Symbols::paint(p, m_name, QRectF(0, 0, 16, 16), 13, m_ink());
    }

private:
    QString m_name;
    std::function<QColor()> m_ink;
};

} // namespace

QWidget *historySymbol(const QString &name, std::function<QColor()> ink, QWidget *parent)
{
    return new RowSymbol(name, std::move(ink), parent);
}

// One record of the history: state symbol, title over detail, time.
QWidget *overviewHistoryRow(const OperationRecord &record, QWidget *parent)
{
    auto *row = new QWidget(parent);
    row->setObjectName(QStringLiteral("history-row"));
    auto *line = new QHBoxLayout(row);
    line->setContentsMargins(int(Space::m), int(Space::m), int(Space::m), int(Space::m));
    line->setSpacing(int(Space::s));
    const QString symbol = record.succeeded ? QStringLiteral("checkmark.circle.fill")
                                            : QStringLiteral("exclamationmark.triangle.fill");
    line->addWidget(historySymbol(symbol,
                                  record.succeeded ? std::function<QColor()>([] { return Ink::success(); })
                                                   : std::function<QColor()>([] { return Ink::warning(); }),
                                  row),
                    0, Qt::AlignTop);
    auto *texts = new QVBoxLayout;
    texts->setSpacing(int(Space::xxs));
    auto *title = new DeckText(record.title, Typo::bodyMedium(), [] { return Ink::text(); }, row);
    auto *detail = new DeckParagraph(record.detail, Typo::caption(), [] { return Ink::textTertiary(); }, row);
    detail->setMaximumLines(2);
    texts->addWidget(title);
    texts->addWidget(detail);
    line->addLayout(texts, 1);
    const QString time = OverviewFacts::historyTime(record.date);
    line->addWidget(new DeckText(time, Typo::caption(), [] { return Ink::textTertiary(); }, row), 0, Qt::AlignTop);
    row->setProperty("symbol", symbol);
    row->setAccessibleName(record.title + QStringLiteral(", ") + record.detail + QStringLiteral(", ") + time);
    return row;
}
