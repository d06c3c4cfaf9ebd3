#pragma once

#include "design/DeckSize.h"

#include <QPointer>
#include <QWidget>

#include <optional>

class DeckSizeReader;
class QBoxLayout;
class DeckParagraph;

// One labelled control of the Settings screen: title and optional description, then the
// control. In a compact screen area the control goes below the label block; otherwise it sits
// to its right at its natural size, top-aligned.
class SettingsRow : public QWidget {
    Q_OBJECT
public:
    SettingsRow(const QString &title, const std::optional<QString> &description, QWidget *control,
                QWidget *parent = nullptr);

    QString title() const { return m_title; }
    QWidget *control() const { return m_control; }
    DeckParagraph *descriptionLabel() const { return m_description; }
    // The width class in use: the nearest DeckSizeReader's (wide outside one).
    DeckSize deckSize() const;
    bool isStacked() const { return m_stacked; }

protected:
    bool event(QEvent *event) override;

private:
    void arrange();

    QString m_title;
    QWidget *m_control;
    DeckParagraph *m_description = nullptr;
    QWidget *m_label;
    QBoxLayout *m_layout;
    bool m_stacked = false;
    QPointer<DeckSizeReader> m_reader;
};
