#pragma once

#include "DeckSize.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <optional>

class DeckParagraph;
class DeckSizeReader;
class Eyebrow;
class FlowLayout;
class QBoxLayout;

// A one-line title that first shrinks its font down to `minimumScale` of its size to fit the
// width, then is elided.
class FittedTitle : public QWidget {
    Q_OBJECT
public:
    FittedTitle(const QString &text, const QFont &font, QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setTitleFont(const QFont &font);
    // The pixel size the text is drawn at in the current width.
    qreal shownPixelSize() const;
    bool isElided() const;

    static constexpr qreal kMinimumScale = 0.8;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QFont shownFont() const;

    QString m_text;
};

// The block at the top of every screen: eyebrow, title (one line; 21 px, or 15 px in a compact
// window) and an optional subtitle (at most two lines), with the screen's controls. In a
// medium or wide window the controls sit on one line at the trailing end at their natural
// width (they wrap only when the window is narrower than title and controls together),
// centred on the title block, 16 px from it; in a compact window they wrap (FlowLayout)
// under the title block, 8 px below it. Padding: 24 px at the sides, 16 px top, 12 px bottom.
// The width class comes from the nearest DeckSizeReader (wide outside one) unless set here.
class ScreenHeader : public QWidget {
    Q_OBJECT
public:
    ScreenHeader(const QString &eyebrow, const QString &title, std::optional<QString> subtitle = std::nullopt,
                 const QList<QWidget *> &trailing = {}, QWidget *parent = nullptr);

    // Appends one control to the trailing group.
    void addControl(QWidget *control);
    QList<QWidget *> controls() const { return m_controls; }

    // The width class in use; setDeckSize pins one (previews, tests), nullopt follows the reader.
    DeckSize deckSize() const;
    void setDeckSize(std::optional<DeckSize> size);

    Eyebrow *eyebrowLabel() const { return m_eyebrow; }
    FittedTitle *titleLabel() const { return m_title; }
    DeckParagraph *subtitleLabel() const { return m_subtitle; } // null without subtitle
    QWidget *titleBlock() const { return m_titleBlock; }
    QWidget *controlsBox() const { return m_controlsBox; }

protected:
    bool event(QEvent *event) override;

private:
    void findReader();
    void arrange();

    Eyebrow *m_eyebrow;
    FittedTitle *m_title;
    DeckParagraph *m_subtitle = nullptr;
    QWidget *m_titleBlock;
    QWidget *m_controlsBox;
    FlowLayout *m_flow;
    QBoxLayout *m_layout;
    QList<QWidget *> m_controls;
    std::optional<DeckSize> m_pinned;
    QPointer<DeckSizeReader> m_reader;
    QMetaObject::Connection m_readerConnection;
    std::optional<DeckSize> m_arranged;
};
