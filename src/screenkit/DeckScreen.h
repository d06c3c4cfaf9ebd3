#pragma once

#include <QColor>
#include <QPointer>
#include <QWidget>

#include <optional>

class AuroraBackdrop;

// The page frame of a screen: its header above its content, filling the space given, with an
// optional aurora glow behind the top 360 px of the page. Without a tint nothing is drawn
// behind the content.
class DeckScreen : public QWidget {
    Q_OBJECT
public:
    DeckScreen(std::optional<QColor> auroraTint, QWidget *header, QWidget *content, QWidget *parent = nullptr);

    QWidget *header() const { return m_header; }
    QWidget *content() const { return m_content; }
    AuroraBackdrop *backdrop() const { return m_backdrop; }

    static constexpr int kAuroraHeight = 360;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QPointer<QWidget> m_header;
    QPointer<QWidget> m_content;
    AuroraBackdrop *m_backdrop = nullptr;
};
