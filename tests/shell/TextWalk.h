#pragma once

#include "screens/settings/SettingsRow.h"

#include "design/DeckParagraph.h"
#include "design/DeckSegmented.h"
#include "design/DeckText.h"
#include "design/ScreenHeader.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStringList>
#include <QWidget>

// Every text a person can meet in `root` and its children, shown or not yet: labels, painted
// texts, button and field texts, placeholders, window titles, tooltips, accessible names and
// descriptions, and every action of every menu (menu bars and context menus included).
inline void collectActionTexts(const QList<QAction *> &actions, QStringList &out)
{
    for (QAction *action : actions) {
        out << action->text() << action->toolTip() << action->statusTip() << action->whatsThis();
        if (QMenu *menu = action->menu()) {
            out << menu->title();
            collectActionTexts(menu->actions(), out);
        }
    }
}

inline QStringList shownTexts(QWidget *root)
{
    QStringList out;
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    for (QWidget *w : widgets) {
        out << w->windowTitle() << w->toolTip() << w->accessibleName() << w->accessibleDescription()
            << w->statusTip() << w->whatsThis();
        if (auto *label = qobject_cast<QLabel *>(w))
            out << label->text();
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            out << button->text();
        if (auto *edit = qobject_cast<QLineEdit *>(w))
            out << edit->text() << edit->placeholderText();
        if (auto *edit = qobject_cast<QPlainTextEdit *>(w))
            out << edit->toPlainText() << edit->placeholderText();
        if (auto *text = qobject_cast<DeckText *>(w))
            out << text->text();
        if (auto *text = qobject_cast<DeckParagraph *>(w))
            out << text->text();
        if (auto *text = qobject_cast<FittedTitle *>(w))
            out << text->text();
        if (auto *row = qobject_cast<SettingsRow *>(w))
            out << row->title();
        if (auto *segments = qobject_cast<DeckSegmented *>(w))
            for (const DeckSegmented::Item &item : segments->items())
                out << item.title;
        if (auto *menu = qobject_cast<QMenu *>(w))
            out << menu->title();
        collectActionTexts(w->actions(), out);
    }
    out.removeAll(QString());
    return out;
}
