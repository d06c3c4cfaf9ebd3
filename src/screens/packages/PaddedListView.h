#pragma once

#include <QListView>

// A list view of painted rows over the screen's background (no frame, no fill, pixel
// scrolling, hover tracked) whose content can scroll `bottomPadding` past its last row, so a
// bar floating over the lower edge never hides it.
class PaddedListView : public QListView {
    Q_OBJECT
public:
    explicit PaddedListView(QWidget *parent = nullptr);

    int bottomPadding() const { return m_bottomPadding; }
    void setBottomPadding(int padding);
    // A strip above and below the rows that the rows never enter.
    void setEdgeMargins(int top, int bottom) { setViewportMargins(0, top, 0, bottom); }

protected:
    void updateGeometries() override;

private:
    int m_bottomPadding = 0;
};
