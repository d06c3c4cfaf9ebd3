#pragma once

#include <QLineEdit>

#include <functional>
#include <optional>

// The console's command line: a plain monospaced single-line field (the command bar is its
// surface). Return runs, Up and Down step through the history (always taken, in both modes),
// Tab takes a suggestion when there is one and otherwise moves the focus as usual, Escape
// first hides the suggestions and then clears the line. Text the model writes never overwrites
// what the user is typing (see showModelText).
class ConsoleCommandField : public QLineEdit {
    Q_OBJECT
public:
    explicit ConsoleCommandField(QWidget *parent = nullptr);

    // The model's command line; shown unless the field has the focus and differs from the last
    // shown value only by what the user typed since.
    void showModelText(const QString &text);

    // Tab: true when it was taken (a suggestion went into the line).
    std::function<bool()> onTab;
    // Escape: true when it was taken.
    std::function<bool()> onEscape;

Q_SIGNALS:
    void historyPrevious();
    void historyNext();
    void focusChanged(bool focused);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    std::optional<QString> m_modelText;
};
