#pragma once

#include "DeckText.h"
#include "Motion.h"

#include <optional>

class AnimatedValue;

// A line of text whose changes roll, as counts do: the part that differs from the text before
// rises and fades out while the new part rises into place; the unchanged start and end stay
// put ("9 приложений" to "10 приложений" moves only the number). A change shows at once with
// no animation (reduce motion), while hidden, or when the line was empty.
class RollingText : public DeckText {
    Q_OBJECT
public:
    RollingText(const QString &text, const QFont &font, InkRole ink, QWidget *parent = nullptr);

    // Shows `text`, rolling what changed under `animation`.
    void rollTo(const QString &text, const std::optional<Animation> &animation);
    bool isRolling() const;
    const AnimatedValue *roll() const { return m_roll; }

    // The lengths of the unchanged start and end of two texts (never overlapping either text).
    static std::pair<qsizetype, qsizetype> commonEnds(const QString &before, const QString &after);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_previous;
    AnimatedValue *m_roll;
};
