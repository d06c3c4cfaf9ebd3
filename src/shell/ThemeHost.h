#pragma once

#include "core/AppearanceMode.h"

#include "RetiredViews.h"

#include <QWidget>

#include <functional>

class AppSettings;

// Resolves the user's appearance into the process-wide Theme and rebuilds its content
// whenever the resolved theme key changes, so every colour inside is read anew. Wraps the
// console and file-manager windows; the main window's RootView resolves the same way.
class ThemeHost : public QWidget {
    Q_OBJECT
public:
    using Factory = std::function<QWidget *()>;

    // `content` builds the content; it is called again after each change of the key.
    ThemeHost(AppSettings *settings, Factory content, QWidget *parent = nullptr);

    QWidget *content() const { return m_content; }
    QString builtKey() const { return m_key; }

    // Writes the theme for `mode` (the desktop's scheme for `system`, the contrast flag of
    // the accessibility layer) and returns its key. Repaints only when something changed.
    static QString resolve(AppearanceMode mode);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void refresh();
    void rebuild();

    AppSettings *m_settings;
    Factory m_factory;
    QWidget *m_content = nullptr;
    RetiredViews m_retired;
    QString m_key;
};
