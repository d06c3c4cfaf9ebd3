#include "DeckTextField.h"

#include "design/Accessibility.h"
#include "design/FieldChrome.h"
#include "design/Ink.h"
#include "design/Theme.h"
#include "design/Tokens.h"
#include "design/Typo.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QScopedValueRollback>

#include <cmath>

DeckTextField::DeckTextField(const QString &placeholder, bool mono, std::function<void()> onSubmit, QWidget *parent)
    : QWidget(parent), m_edit(new QLineEdit(this)), m_mono(mono), m_onSubmit(std::move(onSubmit)),
      m_focus(new AnimatedValue(0, this))
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(int(Space::s), 0, int(Space::s), 0);
    row->setSpacing(0);
    m_edit->setFrame(false);
    m_edit->setFont(mono ? Typo::mono() : Typo::body());
    m_edit->setPlaceholderText(placeholder);
    m_edit->setAttribute(Qt::WA_MacShowFocusRect, false);
    m_edit->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; border: none; padding: 0; }"));
    m_edit->setAccessibleName(placeholder);
    m_edit->installEventFilter(this);
    row->addWidget(m_edit, 1);
    setAccessibleName(placeholder);
    setFocusProxy(m_edit);

    setFixedHeight(int(kHeight));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    // Every change but the owner's own (typing, undo, the context menu) is an edit.
    connect(m_edit, &QLineEdit::textChanged, this, [this](const QString &t) {
        if (m_settingText)
            return;
        m_editedSinceCommit = true;
        Q_EMIT textEdited(t);
    });
    connect(m_edit, &QLineEdit::returnPressed, this, [this] {
        commitIfEdited();
        if (m_onSubmit)
            m_onSubmit();
    });
    auto refreshPalette = [this] {
        QPalette pal = m_edit->palette();
        pal.setColor(QPalette::Text, Ink::text());
        pal.setColor(QPalette::PlaceholderText, Ink::textTertiary());
        m_edit->setPalette(pal);
        update();
    };
    refreshPalette();
    connect(Theme::notifier(), &ThemeNotifier::changed, this, refreshPalette);
}

void DeckTextField::setText(const QString &text)
{
    if (m_edit->text() == text)
        return;
    const QScopedValueRollback<bool> owner(m_settingText, true);
    m_edit->setText(text);
}

void DeckTextField::showModelText(const QString &text)
{
    if (m_focused && m_modelText == text && m_edit->text() != text)
        return;
    m_modelText = text;
    setText(text);
}

void DeckTextField::setFocused(bool focused)
{
    if (focused == m_focused)
        return;
    m_focused = focused;
    m_focus->animateTo(focused ? 1 : 0, Motion::resolve(Motion::quick(), A11y::reduceMotion()));
}

void DeckTextField::commitIfEdited()
{
    if (!m_editedSinceCommit)
        return;
    m_editedSinceCommit = false;
    Q_EMIT committed(m_edit->text());
}

bool DeckTextField::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit) {
        if (event->type() == QEvent::FocusIn) {
            setFocused(true);
        } else if (event->type() == QEvent::FocusOut) {
            setFocused(false);
            commitIfEdited();
        } else if (event->type() == QEvent::KeyPress) {
            // Return belongs to this field alone: without a submit action it must not reach a
            // default button of the surrounding window either.
            const int key = static_cast<QKeyEvent *>(event)->key();
            if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !m_onSubmit) {
                commitIfEdited();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

QColor DeckTextField::ringColor() const { return FieldChrome::ringColor(m_focus->value(), 0.75); }

qreal DeckTextField::ringWidth() const { return FieldChrome::ringWidth(m_focus->value()); }

QSize DeckTextField::sizeHint() const
{
    const QFontMetricsF fm(m_edit->font());
    const qreal textWidth = std::max<qreal>(120, fm.horizontalAdvance(m_edit->placeholderText()) + 4);
    return QSize(int(std::ceil(textWidth + 2 * Space::s)), int(kHeight));
}

QSize DeckTextField::minimumSizeHint() const
{
    return QSize(int(4 * Space::s), int(kHeight));
}

void DeckTextField::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    FieldChrome::paint(p, QRectF(rect()), m_focus->value(), 0.75);
}
