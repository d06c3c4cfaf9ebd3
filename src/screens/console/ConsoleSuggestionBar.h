#pragma once

#include <QStringList>
#include <QWidget>

// The completions above the command line: a "⇥" sign (Tab takes one), then a chip for each of
// the first 8 suggestions, the highlighted one in the accent. Painted in one widget; a click on a
// chip emits `chosen` with its text. It never takes the keyboard focus, so the command field
// keeps it.
class ConsoleSuggestionBar : public QWidget {
    Q_OBJECT
public:
    explicit ConsoleSuggestionBar(QWidget *parent = nullptr);

    static constexpr int kMaximumChips = 8;

    // Shows the first 8 of `suggestions`, `highlighted` (a position in the list) in the accent.
    void setSuggestions(const QStringList &suggestions, int highlighted);
    QStringList chips() const { return m_chips; }
    int highlighted() const { return m_highlighted; }
    // Where each chip is drawn.
    QList<QRectF> chipRects() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

Q_SIGNALS:
    void chosen(const QString &suggestion);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    qreal signWidth() const;

    QStringList m_chips;
    int m_highlighted = 0;
};
