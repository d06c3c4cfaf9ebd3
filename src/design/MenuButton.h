#pragma once

#include <QToolButton>

#include <optional>

// A borderless button that opens its menu on a press (or Space, Return, Down): a symbol, a
// title or both, with no menu indicator, on the hover fill of the icon buttons. The menu opens
// as a popup placed by PopupPlacement (under the button, kept in the window and on the screen),
// never in a nested event loop. Icon-only buttons get a fixed width and need an accessible name.
class MenuButton : public QToolButton {
    Q_OBJECT
public:
    // `width`: the fixed width of an icon-only button (28 px high either way).
    MenuButton(std::optional<QString> symbol, const QString &title, std::optional<qreal> width = std::nullopt,
               QWidget *parent = nullptr);

    QString symbol() const { return m_symbol.value_or(QString()); }
    QString title() const { return m_title; }
    bool isHovering() const { return m_hovering; }

    QColor inkColor() const;
    // Shows the menu set with setMenu, if it is not shown already.
    void openMenu();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    static constexpr qreal kHeight = 28;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void menuClosed();

    std::optional<QString> m_symbol;
    QString m_title;
    std::optional<qreal> m_width;
    bool m_hovering = false;
    // The press that closed the menu (a click on this button while it is open) must not open
    // it again.
    bool m_closingPress = false;
};
