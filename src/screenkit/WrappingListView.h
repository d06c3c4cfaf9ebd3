#pragma once

#include <QListView>

// A list whose rows wrap their text at its width, so that a row's height follows the width (the
// console transcript, the application's journal). Rows differ in height, and the list lays
// them out again whenever its viewport's width changes: a list that flows top to bottom does
// so by itself only when its height changes, and never while it lays its rows out, which is
// when its own scroll bar comes or goes. A new width alone would leave every row below a wrapped
// one where the old heights put it, drawn over its neighbours. The delegate keeps its heights
// for one width, so only a change of width measures the rows again.
class WrappingListView : public QListView {
    Q_OBJECT
public:
    explicit WrappingListView(QWidget *parent = nullptr);

protected:
    void resizeEvent(QResizeEvent *event) override;
};
