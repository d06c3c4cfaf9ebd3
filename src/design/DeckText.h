#pragma once

#include <QFont>
#include <QWidget>

#include <functional>

// A line of text in a design font and an Ink role, read at paint time so it follows the theme.
// One line; too long a text is elided (`Qt::ElideNone` keeps it whole and the widget at its
// full width). Line breaks and other invisible characters are drawn as visible stand-ins
// (ShownText::line), so a name from a device never splits the line or reorders it.
class DeckText : public QWidget {
    Q_OBJECT
public:
    using InkRole = std::function<QColor()>;

    DeckText(const QString &text, const QFont &font, InkRole ink, QWidget *parent = nullptr);

    QString text() const { return m_text; }
    // The text as drawn before eliding.
    QString shownText() const { return m_shown; }
    void setText(const QString &text);
    void setInk(InkRole ink);
    void setElideMode(Qt::TextElideMode mode);
    void setAlignment(Qt::Alignment alignment);
    QColor color() const { return m_ink(); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
    QString m_shown;
    InkRole m_ink;
    Qt::TextElideMode m_elide = Qt::ElideRight;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
};
