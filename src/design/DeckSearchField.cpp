#include "DeckSearchField.h"

#include "Accessibility.h"
#include "FieldChrome.h"
#include "Ink.h"
#include "Squircle.h"
#include "Symbols.h"
#include "Theme.h"
#include "Tokens.h"
#include "Typo.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QScopedValueRollback>

#include <cmath>

namespace {

constexpr qreal kMagnifier = 11;
constexpr qreal kRingAccent = 0.7; // the focused ring's accent opacity

// The "xmark.circle.fill" clear button, plain: no fill or border of its own.
class ClearButton : public QAbstractButton {
public:
    explicit ClearButton(QWidget *parent) : QAbstractButton(parent)
    {
        setFixedSize(int(kMagnifier) + 2, int(kMagnifier) + 2);
        setCursor(Qt::ArrowCursor);
        setFocusPolicy(Qt::NoFocus); // clearing never moves the focus
        setAccessibleName(DeckSearchField::tr("Очистить поиск"));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        Symbols::paint(p, QStringLiteral("xmark.circle.fill"), QRectF(rect()), kMagnifier, Ink::textTertiary());
    }
};

} // namespace

// --- KeyHint ---

KeyHint::KeyHint(const QString &keys, QWidget *parent) : QWidget(parent), m_keys(keys)
{
    setFont(Typo::caption());
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void KeyHint::setKeys(const QString &keys)
{
    m_keys = keys;
    updateGeometry();
    update();
}

QSize KeyHint::sizeHint() const
{
    const QFontMetricsF fm(font());
    return QSize(int(std::ceil(fm.horizontalAdvance(m_keys) + 8)), int(std::ceil(fm.height() + 2)));
}

void KeyHint::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(rect());
    p.fillPath(Squircle::path(r, Radius::xs), Ink::neutralSoft());
    p.setPen(QPen(Ink::stroke(), Stroke::hairline));
    p.drawPath(Squircle::strokePath(r, Radius::xs, Stroke::hairline));
    p.setPen(Ink::textTertiary());
    p.setFont(font());
    p.drawText(r, Qt::AlignCenter, m_keys);
}

// --- DeckSearchField ---

DeckSearchField::DeckSearchField(const QString &placeholder, std::optional<qreal> width, qreal minWidth,
                                 std::optional<QString> shortcutHint, QWidget *parent)
    : QWidget(parent), m_width(width), m_minWidth(minWidth), m_edit(new QLineEdit(this)),
      m_clear(new ClearButton(this)), m_focus(new AnimatedValue(0, this))
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(int(Space::s + kMagnifier + Space::s), 0, int(Space::s), 0);
    row->setSpacing(int(Space::s));

    m_edit->setFrame(false);
    m_edit->setFont(Typo::body());
    m_edit->setPlaceholderText(placeholder);
    m_edit->setAttribute(Qt::WA_MacShowFocusRect, false);
    m_edit->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; border: none; padding: 0; }"));
    m_edit->installEventFilter(this);
    row->addWidget(m_edit, 1);
    row->addWidget(m_clear, 0, Qt::AlignVCenter);
    if (shortcutHint) {
        m_hint = new KeyHint(*shortcutHint, this);
        row->addWidget(m_hint, 0, Qt::AlignVCenter);
    }

    setFixedHeight(int(kHeight));
    setMinimumWidth(int(std::ceil(std::min(minWidth, width.value_or(minWidth)))));
    if (width)
        setMaximumWidth(int(std::ceil(*width)));
    setSizePolicy(width ? QSizePolicy::Preferred : QSizePolicy::Expanding, QSizePolicy::Fixed);

    // Every change but the owner's own (typing, the clear button, undo, the context menu) is
    // an edit: the owner's filter must follow whatever the field shows.
    connect(m_edit, &QLineEdit::textChanged, this, [this](const QString &t) {
        updateAccessory();
        Q_EMIT textChanged(t);
        if (!m_settingText)
            Q_EMIT textEdited(t);
    });
    connect(m_clear, &QAbstractButton::clicked, this, [this] { m_edit->setText(QString()); });
    auto refreshPalette = [this] {
        QPalette pal = m_edit->palette();
        pal.setColor(QPalette::Text, Ink::text());
        pal.setColor(QPalette::PlaceholderText, Ink::textTertiary());
        m_edit->setPalette(pal);
    };
    refreshPalette();
    connect(Theme::notifier(), &ThemeNotifier::changed, this, refreshPalette);
    updateAccessory();
}

QString DeckSearchField::text() const { return m_edit->text(); }
void DeckSearchField::setText(const QString &text)
{
    if (m_edit->text() == text)
        return;
    const QScopedValueRollback<bool> owner(m_settingText, true);
    m_edit->setText(text);
}

void DeckSearchField::showModelText(const QString &text)
{
    if (m_focused && m_modelText == text && m_edit->text() != text)
        return;
    m_modelText = text;
    setText(text);
}

bool DeckSearchField::showsClearButton() const { return !m_edit->text().isEmpty(); }
bool DeckSearchField::showsKeyHint() const { return m_hint && m_edit->text().isEmpty(); }

void DeckSearchField::updateAccessory()
{
    m_clear->setVisible(showsClearButton());
    if (m_hint)
        m_hint->setVisible(showsKeyHint());
}

void DeckSearchField::setFocused(bool focused)
{
    if (focused == m_focused)
        return;
    m_focused = focused;
    m_focus->animateTo(focused ? 1 : 0, Motion::resolve(Motion::quick(), A11y::reduceMotion()));
}

bool DeckSearchField::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit) {
        if (event->type() == QEvent::FocusIn)
            setFocused(true);
        else if (event->type() == QEvent::FocusOut)
            setFocused(false);
    }
    return QWidget::eventFilter(watched, event);
}

QColor DeckSearchField::ringColor() const { return FieldChrome::ringColor(m_focus->value(), kRingAccent); }
qreal DeckSearchField::ringWidth() const { return FieldChrome::ringWidth(m_focus->value()); }
QColor DeckSearchField::magnifierColor() const { return mix(Ink::textTertiary(), Ink::accent(), m_focus->value()); }

QSize DeckSearchField::sizeHint() const
{
    return QSize(int(std::ceil(m_width.value_or(m_minWidth))), int(kHeight));
}

QSize DeckSearchField::minimumSizeHint() const
{
    return QSize(int(std::ceil(std::min(m_minWidth, m_width.value_or(m_minWidth)))), int(kHeight));
}

void DeckSearchField::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(rect());
    FieldChrome::paint(p, r, m_focus->value(), kRingAccent);
    Symbols::paint(p, QStringLiteral("magnifyingglass"), QRectF(Space::s, 0, kMagnifier, r.height()), kMagnifier,
                   magnifierColor());
}
