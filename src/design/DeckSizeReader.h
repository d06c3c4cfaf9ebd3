#pragma once

#include "DeckSize.h"

#include <QWidget>

// Wraps a window's screen area, measures its width and publishes the width class to every
// widget inside. Widgets read it with DeckSizeReader::sizeFor(this) and follow changes by
// connecting to the nearest reader's deckSizeChanged (DeckSizeReader::of(this)).
class DeckSizeReader : public QWidget {
    Q_OBJECT
public:
    // Takes `content` (may be null) and lays it out to fill the reader.
    explicit DeckSizeReader(QWidget *content = nullptr, QWidget *parent = nullptr);

    QWidget *content() const { return m_content; }
    void setContent(QWidget *content);
    // The class of the current width (live, also before the first resize event).
    DeckSize deckSize() const { return DeckSizes::measuring(width()); }

    // The nearest reader above `widget` (or the widget itself), null when none.
    static DeckSizeReader *of(const QWidget *widget);
    // The class published to `widget`; wide outside any reader.
    static DeckSize sizeFor(const QWidget *widget);

Q_SIGNALS:
    void deckSizeChanged(DeckSize size);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *m_content = nullptr;
    DeckSize m_size = DeckSize::wide;
};
