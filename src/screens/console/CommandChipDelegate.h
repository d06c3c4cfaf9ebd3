#pragma once

#include <QStyledItemDelegate>

class QListView;

// Paints the command library's rows. A command row: its title (when it has one) over the
// command (monospaced, at most two lines, cut at the end of the second) over the mode badge
// ("shell" or "ADB"), inset 8 px, with a rounded hover fill under the pointer; the whole row is
// the click target. A heading row: the group name as an eyebrow caption.
class CommandChipDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit CommandChipDelegate(QListView *view);

    static constexpr qreal kInset = 8;     // Space.s around the label
    static constexpr qreal kLineGap = 2;   // between title, command and badge
    static constexpr qreal kRowGap = 8;    // between rows (Space.s)
    static constexpr int kCommandLines = 2;

    // The command's lines as drawn at `width` (at most two, the second elided when cut).
    static QStringList commandLines(const QString &command, qreal width);

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    qreal contentWidth() const;

    QListView *m_view;
};
