#pragma once

#include "design/Panel.h"

#include <QList>

class QVBoxLayout;

// A titled card of the Settings screen: a symbol tile and the title, then the content, whose
// consecutive rows are separated by hairlines.
class SettingsCard : public DeckPanel {
    Q_OBJECT
public:
    SettingsCard(const QString &icon, const QString &title, QWidget *parent = nullptr);

    QString icon() const { return m_icon; }
    QString title() const { return m_title; }
    // Appends a row (a hairline goes before every row but the first) or any other block.
    void addRow(QWidget *row);
    void addBlock(QWidget *block);
    QList<QWidget *> rows() const { return m_rows; }

private:
    QString m_icon;
    QString m_title;
    QVBoxLayout *m_column;
    QList<QWidget *> m_rows;
};
