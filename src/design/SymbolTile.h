#pragma once

#include <QString>
#include <QWidget>

// A square tile with a symbol in the accent colour on a soft accent fill (a sheet's or an
// explainer's leading picture).
class SymbolTile : public QWidget {
public:
    SymbolTile(QString symbol, int side, qreal glyph, qreal radius, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_symbol;
    qreal m_glyph;
    qreal m_radius;
};
