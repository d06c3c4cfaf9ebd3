#pragma once

#include "core/ListModelAdapter.h"

#include <QHash>
#include <QListView>
#include <QStyledItemDelegate>
#include <QWidget>

class AppModel;
class DeckButton;
class DeckEmptyState;

// Paints one activity-log line: the whole text, wrapped, in the secondary colour, or in the
// danger colour when it tells of a failure. Heights are remembered per text and width, so the
// list lays out its 500 lines again without measuring them again.
class ActivityRowDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static constexpr qreal kSideInset = 24;
    static constexpr qreal kVerticalInset = 1;
    static constexpr qreal kSpacing = 2;

    // Whether a line tells of a failure ("Ошибка" or "не удалось", exactly as written).
    static bool isFailure(const QString &text);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    mutable QHash<QString, int> m_heights;
    mutable int m_heightsWidth = -1;
};

// The application's journal tab: a header with copy and clear, then every line of
// AppModel::logs, following the newest one (also at the journal's cap, where the number of
// lines stays the same), with an empty state while the journal is empty.
class ActivityLogView : public QWidget {
    Q_OBJECT
public:
    explicit ActivityLogView(AppModel *model, QWidget *parent = nullptr);

    QListView *list() const { return m_list; }
    ListModelAdapter<QString> *rows() const { return m_rows; }
    DeckButton *copyButton() const { return m_copy; }
    DeckButton *clearButton() const { return m_clear; }
    DeckEmptyState *emptyState() const { return m_empty; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void logsChanged();

    AppModel *m_model;
    DeckButton *m_copy;
    DeckButton *m_clear;
    QListView *m_list;
    ListModelAdapter<QString> *m_rows;
    DeckEmptyState *m_empty;
};
