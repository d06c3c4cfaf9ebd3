#pragma once

#include "screenkit/WrappingListView.h"

#include <QPersistentModelIndex>

class ConsoleRowDelegate;
class ConsoleTranscriptModel;

// The scrolling transcript: one delegate paints every row (no widget per row). Rows are
// selected like list items (click, Shift/Ctrl-click, Ctrl+A) and copied with Ctrl+C or the
// context menu; a double-click opens the row's text in a read-only editor to select a part of it.
// Behind the rows: the deep canvas with a faint accent glow along the top edge.
class ConsoleTranscriptView : public WrappingListView {
    Q_OBJECT
public:
    explicit ConsoleTranscriptView(ConsoleTranscriptModel *model, QWidget *parent = nullptr);

    ConsoleTranscriptModel *transcript() const { return m_transcript; }
    ConsoleRowDelegate *rowDelegate() const { return m_delegate; }

    // The selected rows' texts in transcript order, one per line (what Ctrl+C copies).
    QString selectedText() const;
    void copySelection();
    // Opens the read-only text of `index` over its row, with the keyboard focus in it.
    void openRowText(const QModelIndex &index);
    void closeRowText();
    QWidget *rowTextEditor() const;

    static constexpr int kVerticalInset = 12;
    static constexpr int kGlowHeight = 120;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    ConsoleTranscriptModel *m_transcript;
    ConsoleRowDelegate *m_delegate;
    QPersistentModelIndex m_editing;
};

// The transcript on its backdrop: the deep canvas, and a faint accent glow 120 px high along the
// top edge, which stays in place while the rows scroll.
class ConsoleTranscriptPane : public QWidget {
    Q_OBJECT
public:
    explicit ConsoleTranscriptPane(ConsoleTranscriptView *view, QWidget *parent = nullptr);
    ConsoleTranscriptView *view() const { return m_view; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ConsoleTranscriptView *m_view;
};
