#pragma once

#include <QWidget>

// The 1 px divider (Ink::stroke) between sections, rows and panes. Horizontal: 1 px high and
// as wide as its layout makes it; vertical: 1 px wide and as tall. Hidden from assistive
// technology.
class Hairline : public QWidget {
    Q_OBJECT
public:
    explicit Hairline(bool vertical = false, QWidget *parent = nullptr);

    bool isVertical() const { return m_vertical; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_vertical;
};
