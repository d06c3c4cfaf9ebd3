#pragma once

#include "design/DeckParagraph.h"

// The Overview's device name: at most two lines; a name too long for them first shrinks, down
// to `kMinimumScale` of the font's size, and only then is the second line elided.
class HeroTitle : public DeckParagraph {
    Q_OBJECT
public:
    HeroTitle(const QString &text, const QFont &font, QWidget *parent = nullptr);

    void setTitle(const QString &text);
    void setTitleFont(const QFont &font);
    QFont titleFont() const { return m_base; }
    // The scale the text is drawn at for `width` (1 when it fits at full size).
    qreal scaleFor(qreal width) const;

    int heightForWidth(int width) const override;

    static constexpr qreal kMinimumScale = 0.65;
    static constexpr int kMaximumLines = 2;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QFont scaled(qreal scale) const;
    void fit();

    QFont m_base;
};
