#pragma once

// For widget tests only: what a person would see wrong in a shown window, found by walking its
// widget tree. Widgets scrolled out of a scroll area's viewport are meant to be cut there and
// are left alone; overlays that float above the content on purpose are not controls.

#include "design/FlowLayout.h"
#include "design/Hairline.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStringList>
#include <QTextEdit>
#include <QWidget>

#include <algorithm>

namespace GeometryWalk {

// A control: something a person clicks, types into or reads as a list.
inline bool isControl(const QWidget *w)
{
    if (qobject_cast<const QScrollBar *>(w))
        return false; // part of its scroll area
    return qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QLineEdit *>(w)
        || qobject_cast<const QComboBox *>(w) || qobject_cast<const QAbstractSlider *>(w)
        || qobject_cast<const QAbstractItemView *>(w) || qobject_cast<const QPlainTextEdit *>(w)
        || qobject_cast<const QTextEdit *>(w) || w->focusPolicy() != Qt::NoFocus;
}

inline QString describe(const QWidget *w)
{
    QString name = w->accessibleName();
    if (name.isEmpty())
        if (auto *button = qobject_cast<const QAbstractButton *>(w))
            name = button->text();
    if (name.isEmpty())
        name = w->objectName();
    return QStringLiteral("%1 \"%2\"").arg(QString::fromLatin1(w->metaObject()->className()), name);
}

// Whether `w` lies in a scroll area's viewport, where being cut is scrolling, not a fault.
inline bool insideViewport(const QWidget *w)
{
    for (const QWidget *p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        if (auto *area = qobject_cast<const QAbstractScrollArea *>(p->parentWidget()); area && area->viewport() == p)
            return true;
    return false;
}

inline QRect inWindow(const QWidget *w) { return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size()); }

// The faults of one shown window: a control outside the window or cut by an ancestor, and two
// sibling controls on top of each other. Each fault is one line naming the widgets.
inline QStringList problems(QWidget *window)
{
    QStringList found;
    const QRect frame = window->rect();
    const QList<QWidget *> all = window->findChildren<QWidget *>();
    for (QWidget *w : all) {
        if (!w->isVisible() || w->isWindow() || !isControl(w) || w->width() <= 0 || w->height() <= 0)
            continue;
        if (insideViewport(w))
            continue;
        const QRect r = inWindow(w);
        if (!frame.contains(r))
            found << QStringLiteral("%1 at %2,%3 %4×%5 lies outside the window")
                         .arg(describe(w)).arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
        else
            for (const QWidget *p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
                if (!inWindow(p).contains(r)) {
                    found << QStringLiteral("%1 is cut by %2").arg(describe(w), describe(p));
                    break;
                }
    }
    for (QWidget *w : all) {
        if (!w->isVisible() || w->isWindow() || insideViewport(w))
            continue;
        QList<QWidget *> controls;
        for (QObject *child : w->children())
            if (auto *c = qobject_cast<QWidget *>(child); c && c->isVisible() && !c->isWindow() && isControl(c))
                controls << c;
        for (int i = 0; i < controls.size(); ++i)
            for (int j = i + 1; j < controls.size(); ++j)
                if (controls[i]->geometry().intersects(controls[j]->geometry()))
                    found << QStringLiteral("%1 and %2 overlap").arg(describe(controls[i]), describe(controls[j]));
    }
    return found;
}

// Texts a person cannot read whole: a one-line label, or a button, narrower than its text.
// Scrolled content counts too: scrolling moves a label, it does not make it wider.
inline QStringList cutTexts(QWidget *window)
{
    QStringList found;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisible() || w->isWindow())
            continue;
        if (auto *label = qobject_cast<QLabel *>(w); label && !label->wordWrap() && !label->text().isEmpty()
                                                        && label->pixmap().isNull()) {
            if (label->minimumSizeHint().width() > label->width() + 1)
                found << QStringLiteral("%1 is %2 px wide for a text of %3 px")
                             .arg(describe(w)).arg(label->width()).arg(label->minimumSizeHint().width());
        } else if (auto *button = qobject_cast<QAbstractButton *>(w); button && !button->text().isEmpty()) {
            if (button->minimumSizeHint().width() > button->width() + 1)
                found << QStringLiteral("%1 is %2 px wide for a text of %3 px")
                             .arg(describe(w)).arg(button->width()).arg(button->minimumSizeHint().width());
        }
    }
    return found;
}

// Both of the above: what a person would see wrong in a shown window.
inline QStringList seenFaults(QWidget *window) { return problems(window) + cutTexts(window); }

// The shown items of the layout that `w` stands in, on the line of `w` and `w` left out, from left
// to right.
inline QList<QWidget *> lineOf(const QWidget *w)
{
    QList<QWidget *> line;
    const QLayout *layout = w->parentWidget() ? w->parentWidget()->layout() : nullptr;
    const int middle = w->geometry().center().y();
    for (int i = 0; layout && i < layout->count(); ++i)
        if (QWidget *c = layout->itemAt(i)->widget();
            c && c != w && c->isVisible() && c->geometry().top() <= middle && c->geometry().bottom() >= middle)
            line << c;
    std::sort(line.begin(), line.end(), [](const QWidget *a, const QWidget *b) { return a->x() < b->x(); });
    return line;
}

// Whether two shown widgets stand on one line: their spans down the window overlap.
inline bool shareALine(const QWidget *a, const QWidget *b)
{
    const QRect ra = inWindow(a), rb = inWindow(b);
    return a->isVisible() && b->isVisible() && ra.top() <= rb.bottom() && rb.top() <= ra.bottom();
}

// Dividers of flows that divide nothing: a shown vertical hairline that ends or starts its line,
// or stands beside another divider.
inline QStringList strayDividers(QWidget *window)
{
    QStringList found;
    for (Hairline *divider : window->findChildren<Hairline *>()) {
        if (!divider->isVisible() || !divider->isVertical() || !divider->parentWidget()
            || !qobject_cast<FlowLayout *>(divider->parentWidget()->layout()))
            continue;
        const QRect at = divider->geometry();
        const QWidget *before = nullptr, *after = nullptr;
        for (QWidget *w : lineOf(divider)) {
            if (w->geometry().right() < at.left())
                before = w;
            else if (w->geometry().left() > at.right() && !after)
                after = w;
        }
        const auto isDivider = [](const QWidget *w) { return qobject_cast<const Hairline *>(w) != nullptr; };
        if (!before || !after)
            found << QStringLiteral("a divider in %1 %2 its line")
                         .arg(describe(divider->parentWidget()), before ? QStringLiteral("ends") : QStringLiteral("starts"));
        else if (isDivider(before) || isDivider(after))
            found << QStringLiteral("two dividers stand side by side in %1").arg(describe(divider->parentWidget()));
    }
    return found;
}

} // namespace GeometryWalk
