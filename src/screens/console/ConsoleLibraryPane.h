#pragma once

#include <QWidget>

class AppModel;
class ConsoleLibraryModel;
class ConsoleViewState;
class DeckParagraph;
class DeckSegmented;
class QListView;

// The command library beside the transcript: a tab control (favourites, snippets, history), the
// tab's rows (or its hint while empty), and a note that a picked command is only put into the
// command line. A row fills the command line (favourites through the model, which also ends a
// step through the history; snippets and history entries set mode and command) and then
// `picked` asks for the command field's focus. A favourite's context menu removes it.
class ConsoleLibraryPane : public QWidget {
    Q_OBJECT
public:
    ConsoleLibraryPane(ConsoleViewState *state, QWidget *parent = nullptr);

    DeckSegmented *tabs() const { return m_tabs; }
    QListView *list() const { return m_list; }
    DeckParagraph *hint() const { return m_hint; }
    ConsoleLibraryModel *rows() const { return m_rows; }

    // What a click on `row` does.
    void activate(int row);
    // The favourite's context menu action.
    void removeFavorite(int row);

    static QString emptyHint(int tab);

    static constexpr int kMinimumWidth = 190;
    static constexpr int kIdealWidth = 244;
    static constexpr int kMaximumWidth = 320;
    // The width it opens at: the ideal one, or wider (up to the maximum) when the tab control
    // needs more; it never gets narrower than the tab control either.
    int idealWidth() const;

Q_SIGNALS:
    void picked();

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void syncTab();

    ConsoleViewState *m_state;
    AppModel *m_model;
    DeckSegmented *m_tabs;
    ConsoleLibraryModel *m_rows;
    QListView *m_list;
    DeckParagraph *m_hint;
};
