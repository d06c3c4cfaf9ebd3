#pragma once

#include <QListView>
#include <QPointer>
#include <QWidget>

#include <optional>

class DeckEmptyState;
class DeckSizeReader;
class LogcatModel;
class LogRowDelegate;
class LogRowsModel;

// The scrolling list of the logcat tab: the model's visible lines, one row per text line with
// long messages wrapped, on a sunken background. While auto-scroll is on and the stream is not
// paused it follows the newest line, also when the window is full and each batch trims as many
// lines as it adds. While nothing is visible an empty state says why.
class LogStreamView : public QWidget {
    Q_OBJECT
public:
    explicit LogStreamView(LogcatModel *model, QWidget *parent = nullptr);

    QListView *list() const { return m_list; }
    LogRowsModel *rows() const { return m_rows; }
    LogRowDelegate *delegate() const { return m_delegate; }
    DeckEmptyState *emptyState() const; // the one shown, or null
    // Pins the width class (tests, previews); nullopt follows the window.
    void setCompact(std::optional<bool> compact);
    bool isCompact() const;

    // The selected lines as text, one per line (Ctrl+C copies them).
    QString selectedText() const;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void linesChanged();
    void relayoutRows();
    void updateEmptyState();
    void findReader();

    LogcatModel *m_model;
    QListView *m_list;
    LogRowsModel *m_rows;
    LogRowDelegate *m_delegate;
    DeckEmptyState *m_idle;
    DeckEmptyState *m_waiting;
    std::optional<qint64> m_newest; // the newest visible line seen
    std::optional<bool> m_pinnedCompact;
    QPointer<DeckSizeReader> m_reader;
    QMetaObject::Connection m_readerConnection;
};
