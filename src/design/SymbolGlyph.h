#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <functional>

// One symbol of the icon set as a small widget of its own, for a row laid out with widgets. The
// ink is asked at each paint, so it follows the scheme.
class SymbolGlyph : public QWidget {
public:
    SymbolGlyph(QString name, qreal size, std::function<QColor()> ink, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_name;
    qreal m_size;
    std::function<QColor()> m_ink;
};
