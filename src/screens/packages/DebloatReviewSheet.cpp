#include "DebloatReviewSheet.h"

#include "DebloatReviewDelegate.h"
#include "PaddedListView.h"
#include "RowPainting.h"

#include "screenkit/ConfirmationTexts.h"
#include "screenkit/ViewUpdates.h"

#include "bridge/Bytes.h"
#include "core/AppModel.h"
#include "design/DeckButton.h"
#include "design/DeckParagraph.h"
#include "design/DeckText.h"
#include "design/Hairline.h"
#include "design/Ink.h"
#include "design/ShownText.h"
#include "design/Squircle.h"
#include "design/SymbolGlyph.h"
#include "design/Symbols.h"
#include "design/Theme.h"
#include "design/ToneInk.h"
#include "design/Tokens.h"
#include "design/Typo.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int kShownCritical = 4;

// A widget that fills itself with one colour role (the canvas, the warning block).
class Filled : public QWidget {
public:
    Filled(std::function<QColor()> ink, QWidget *parent = nullptr) : QWidget(parent), m_ink(std::move(ink)) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), m_ink());
    }

private:
    std::function<QColor()> m_ink;
};

bool isUninstall(PresetAction action) { return action == PresetAction::uninstall; }

} // namespace

// The action's 40 px tile: its symbol on the soft fill of its tone.
class DebloatReviewSheet::HeaderTile : public QWidget {
public:
    explicit HeaderTile(QWidget *parent) : QWidget(parent) { setFixedSize(40, 40); }
    void setAction(PresetAction action)
    {
        m_action = action;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const bool uninstall = isUninstall(m_action);
        p.fillPath(Squircle::path(QRectF(rect()), Radius::m), uninstall ? Ink::dangerSoft() : Ink::warningSoft());
        Symbols::paint(p, uninstall ? QStringLiteral("minus.circle.fill") : QStringLiteral("pause.circle.fill"),
                       QRectF(rect()), 22, uninstall ? Ink::danger() : Ink::warning());
    }

private:
    PresetAction m_action = PresetAction::disable;
};

// One figure of the summary row: the value in its tone (shrunk to no less than 70 % to fit),
// the label under it.
class DebloatReviewSheet::SummaryCell : public QWidget {
public:
    explicit SummaryCell(QString label, QWidget *parent) : QWidget(parent), m_label(std::move(label))
    {
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }
    void setValue(const QString &value, Tone tone)
    {
        m_value = value;
        m_tone = tone;
        setAccessibleName(m_label + QStringLiteral(": ") + m_value);
        update();
    }
    QString value() const { return m_value; }
    QString label() const { return m_label; }
    QSize sizeHint() const override
    {
        return QSize(80, int(std::ceil(RowPainting::lineHeight(Typo::metricSmall()) + 3
                                       + RowPainting::lineHeight(Typo::caption()))));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        QFont font = Typo::metricSmall();
        const qreal full = Typo::pixelSize(font);
        const qreal width = QFontMetricsF(font).horizontalAdvance(m_value);
        if (width > this->width() && width > 0)
            font.setPixelSize(std::max(1, int(std::floor(full * std::max(0.7, this->width() / width)))));
        const qreal valueHeight = RowPainting::lineHeight(Typo::metricSmall());
        RowPainting::text(p, QRectF(0, 0, this->width(), valueHeight), m_value, font, foreground(m_tone),
                          Qt::ElideRight, Qt::AlignHCenter);
        RowPainting::text(p, QRectF(0, valueHeight + 3, this->width(), RowPainting::lineHeight(Typo::caption())),
                          m_label, Typo::caption(), Ink::textTertiary(), Qt::ElideRight, Qt::AlignHCenter);
    }

private:
    QString m_label;
    QString m_value;
    Tone m_tone = Tone::neutral;
};

// --- AcknowledgementBox ---

AcknowledgementBox::AcknowledgementBox(QWidget *parent) : QAbstractButton(parent)
{
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    m_label = new DeckParagraph(QString(), Typo::supporting(), [] { return Ink::textSecondary(); }, this);
    m_label->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto *line = new QHBoxLayout(this);
    line->setContentsMargins(20, 0, 0, 0);
    line->addWidget(m_label);
}

void AcknowledgementBox::setLabel(const QString &text)
{
    m_label->setText(text);
    setAccessibleName(text);
    updateGeometry();
}

QString AcknowledgementBox::label() const { return m_label->text(); }

QSize AcknowledgementBox::sizeHint() const { return layout()->sizeHint(); }

int AcknowledgementBox::heightForWidth(int width) const { return layout()->totalHeightForWidth(width); }

void AcknowledgementBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const qreal line = RowPainting::lineHeight(Typo::supporting());
    RowPainting::checkBox(p, QRectF(0, 0, 14, line), isChecked(), 13);
    if (hasFocus()) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(withOpacity(Ink::accent(), 0.6), Stroke::focus));
        p.drawPath(Squircle::path(QRectF(-1, line / 2 - 8, 16, 16), Radius::xs));
    }
}

// --- DebloatReviewSheet ---

DebloatReviewSheet::DebloatReviewSheet(AppModel *model, QWidget *parent)
    : QDialog(parent), m_model(model), m_items(new Items(this))
{
    setObjectName(QStringLiteral("debloatReview"));
    setWindowTitle(QStringLiteral("Проверьте план очистки"));
    setFixedSize(kWidth, kHeight);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *canvas = new Filled([] { return Ink::canvas(); }, this);
    outer->addWidget(canvas);
    auto *column = new QVBoxLayout(canvas);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // Header
    auto *header = new QWidget(canvas);
    auto *headerLine = new QHBoxLayout(header);
    headerLine->setContentsMargins(int(Space::l), int(Space::l), int(Space::l), int(Space::l));
    headerLine->setSpacing(int(Space::m));
    m_tile = new HeaderTile(header);
    headerLine->addWidget(m_tile, 0, Qt::AlignTop);
    auto *titles = new QVBoxLayout;
    titles->setSpacing(3);
    titles->addWidget(new DeckText(QStringLiteral("Проверьте план очистки"), Typo::screenTitle(),
                                   [] { return Ink::text(); }, header));
    m_explanation = new DeckParagraph(QString(), Typo::supporting(), [] { return Ink::textSecondary(); }, header);
    titles->addWidget(m_explanation);
    headerLine->addLayout(titles, 1);
    column->addWidget(header);
    column->addWidget(new Hairline(false, canvas));

    // Summary
    auto *summary = new QWidget(canvas);
    auto *cells = new QHBoxLayout(summary);
    cells->setContentsMargins(0, int(Space::m), 0, int(Space::m));
    cells->setSpacing(0);
    const QStringList labels{QStringLiteral("Приложений"), QStringLiteral("Освободится до"),
                             QStringLiteral("Системных"), QStringLiteral("Максимальный риск")};
    for (int i = 0; i < labels.size(); ++i) {
        if (i > 0) {
            auto *rule = new Hairline(true, summary);
            rule->setFixedHeight(44);
            cells->addWidget(rule, 0, Qt::AlignVCenter);
        }
        auto *cell = new SummaryCell(labels.at(i), summary);
        m_cells.append(cell);
        cells->addWidget(cell, 1, Qt::AlignVCenter);
    }
    column->addWidget(summary);
    column->addWidget(new Hairline(false, canvas));

    // Warnings
    m_warnings = new Filled([] { return Ink::warningSoft(); }, canvas);
    m_warnings->setObjectName(QStringLiteral("debloatWarnings"));
    auto *warnings = new QVBoxLayout(m_warnings);
    warnings->setContentsMargins(int(Space::m), int(Space::m), int(Space::m), int(Space::m));
    warnings->setSpacing(int(Space::xs));
    auto *warningHead = new QHBoxLayout;
    warningHead->setSpacing(int(Space::s));
    warningHead->addWidget(new SymbolGlyph(QStringLiteral("exclamationmark.triangle.fill"), 13, [] { return Ink::warning(); },
                                     m_warnings));
    m_warningTitle = new DeckText(QString(), Typo::bodyMedium(), [] { return Ink::text(); }, m_warnings);
    warningHead->addWidget(m_warningTitle, 1);
    warnings->addLayout(warningHead);
    for (int i = 0; i < kShownCritical; ++i) {
        auto *line = new DeckParagraph(QString(), Typo::supporting(), [] { return Ink::textSecondary(); }, m_warnings);
        m_warningLines.append(line);
        warnings->addWidget(line);
    }
    m_moreLine = new DeckText(QString(), Typo::caption(), [] { return Ink::textTertiary(); }, m_warnings);
    warnings->addWidget(m_moreLine);
    column->addWidget(m_warnings);

    // Items
    m_rows = new ListModelAdapter<DebloatPlanItem>(
        m_items->rows,
        [](const DebloatPlanItem &item, int, int role) -> QVariant {
            if (role == Qt::DisplayRole)
                return item.package.displayName;
            if (role == Qt::AccessibleTextRole) {
                const QString label = ShownText::accessible(item.package.displayName);
                return label + QStringLiteral(", ") + shortTitle(item.verdict.risk) + QStringLiteral(". Исключить ")
                    + label + QStringLiteral(" из плана: Delete");
            }
            return {};
        },
        m_items);
    auto *list = new PaddedListView(canvas);
    list->setObjectName(QStringLiteral("debloatReviewList"));
    list->setAccessibleName(QStringLiteral("Пакеты плана"));
    list->setUniformItemSizes(true);
    auto *delegate = new DebloatReviewDelegate(m_rows, list);
    list->setItemDelegate(delegate);
    RowPainting::followIcons(list);
    list->setModel(m_rows);
    list->installEventFilter(this);
    connect(delegate, &DebloatReviewDelegate::excludeRequested, this,
            [this](const QString &name) { m_model->excludeFromPlan(name); });
    m_list = list;
    column->addWidget(list, 1);
    column->addWidget(new Hairline(false, canvas));

    // Footer
    auto *footer = new QWidget(canvas);
    auto *footerColumn = new QVBoxLayout(footer);
    footerColumn->setContentsMargins(int(Space::l), int(Space::l), int(Space::l), int(Space::l));
    footerColumn->setSpacing(int(Space::m));
    m_ack = new AcknowledgementBox(footer);
    m_ack->setObjectName(QStringLiteral("acknowledgement"));
    connect(m_ack, &QAbstractButton::toggled, this, [this] { refresh(); });
    footerColumn->addWidget(m_ack);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(int(Space::s));
    m_cancel = new DeckButton(QStringLiteral("Отмена"), {DeckButtonRole::ghost, DeckButtonSize::regular}, footer);
    connect(m_cancel, &QAbstractButton::clicked, this, &QDialog::reject);
    buttons->addWidget(m_cancel);
    buttons->addStretch(1);
    m_action = new DeckText(QString(), Typo::supporting(), [] { return Ink::textTertiary(); }, footer);
    buttons->addWidget(m_action);
    m_confirm = new DeckButton(QString(), {DeckButtonRole::primary, DeckButtonSize::large}, footer);
    m_confirm->setObjectName(QStringLiteral("confirmPlan"));
    connect(m_confirm, &QAbstractButton::clicked, this, [this] { m_model->runDebloatPlan(); });
    buttons->addWidget(m_confirm);
    footerColumn->addLayout(buttons);
    column->addWidget(footer);

    m_plan = model->debloatPlan();
    for (const DebloatPlanItem &item : m_plan.criticalItems())
        m_criticalNames.insert(item.package.name);
    ViewUpdates::follow(model, this, [this] {
        m_plan = m_model->debloatPlan();
        QSet<QString> critical;
        for (const DebloatPlanItem &item : m_plan.criticalItems())
            critical.insert(item.package.name);
        // A tick covers the risky packages it was given for: one that joins the plan takes it back.
        if (!QSet<QString>(critical).subtract(m_criticalNames).isEmpty())
            m_ack->setChecked(false);
        m_criticalNames = std::move(critical);
        refresh();
    }, model->debloatPlanInputs());
    refresh();
}

QString DebloatReviewSheet::explanation(const DebloatPlan &plan)
{
    if (!isUninstall(plan.action))
        return QStringLiteral("Выбранные пакеты будут отключены для пользователя 0. Действие полностью обратимо кнопкой "
                              "«Включить».");
    // Only a package of the firmware stays on the phone to be restored.
    const int system = plan.systemCount();
    const qsizetype user = plan.items.size() - system;
    if (user == 0)
        return QStringLiteral("Выбранные пакеты будут удалены для пользователя 0. APK остаётся в прошивке — "
                              "восстановление возможно через «Восстановить».");
    QStringList sentences;
    if (system > 0)
        sentences << QStringLiteral("Системные пакеты будут удалены для пользователя 0. APK остаётся в прошивке — "
                                    "восстановление возможно через «Восстановить».");
    sentences << ConfirmationTexts::userAppsRemoval(user);
    return sentences.join(QLatin1Char(' '));
}

QString DebloatReviewSheet::confirmTitle(const DebloatPlan &plan)
{
    return (isUninstall(plan.action) ? QStringLiteral("Удалить ") : QStringLiteral("Отключить "))
        + QString::number(plan.items.size());
}

QString DebloatReviewSheet::warningTitle(int criticalCount)
{
    return QStringLiteral("В плане есть %1 пакетов с повышенным риском").arg(criticalCount);
}

QStringList DebloatReviewSheet::warningLines(const DebloatPlan &plan)
{
    const QList<DebloatPlanItem> critical = plan.criticalItems();
    QStringList lines;
    for (qsizetype i = 0; i < critical.size() && i < kShownCritical; ++i)
        lines << QStringLiteral("• ") + ShownText::line(critical.at(i).package.displayName) + QStringLiteral(": ")
                + critical.at(i).verdict.consequence;
    if (critical.size() > kShownCritical)
        lines << QStringLiteral("и ещё %1 — они отмечены в списке ниже.").arg(critical.size() - kShownCritical);
    return lines;
}

QString DebloatReviewSheet::acknowledgementText(RemovalRisk highest)
{
    return QStringLiteral("Я понимаю, что в плане есть пакеты уровня «") + title(highest)
        + QStringLiteral("», и последствия описаны выше.");
}

bool DebloatReviewSheet::eventFilter(QObject *watched, QEvent *event)
{
    // Delete takes the current package out of the plan, as its exclude button does.
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        const QModelIndex current = m_list->currentIndex();
        if ((key == Qt::Key_Delete || key == Qt::Key_Backspace) && current.isValid()) {
            m_model->excludeFromPlan(m_rows->rowAt(current.row()).package.name);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool DebloatReviewSheet::isAcknowledged() const { return m_ack->isChecked(); }

void DebloatReviewSheet::refresh()
{
    const PresetAction action = m_plan.action;
    m_tile->setAction(action);
    m_explanation->setText(explanation(m_plan));

    const RemovalRisk highest = m_plan.highestRisk();
    const int system = m_plan.systemCount();
    m_cells[0]->setValue(QString::number(m_plan.items.size()), Tone::accent);
    m_cells[1]->setValue(Bytes::shortText(m_plan.reclaimableBytes()), Tone::success);
    m_cells[2]->setValue(QString::number(system), system > 0 ? Tone::warning : Tone::neutral);
    m_cells[3]->setValue(title(highest), tone(highest));

    const QList<DebloatPlanItem> critical = m_plan.criticalItems();
    m_warnings->setVisible(!critical.isEmpty());
    m_warningTitle->setText(warningTitle(int(critical.size())));
    const QStringList lines = warningLines(m_plan);
    for (int i = 0; i < kShownCritical; ++i) {
        const bool shown = i < critical.size() && i < lines.size();
        m_warningLines[i]->setText(shown ? lines.at(i) : QString());
        m_warningLines[i]->setVisible(shown);
    }
    m_moreLine->setVisible(critical.size() > kShownCritical);
    m_moreLine->setText(critical.size() > kShownCritical ? lines.last() : QString());

    // The list keeps its place when a package leaves it.
    const int scrolled = m_list->verticalScrollBar()->value();
    m_items->rows.set(m_plan.items);
    m_list->verticalScrollBar()->setValue(scrolled);

    const bool risky = highest >= RemovalRisk::advanced;
    m_ack->setVisible(risky);
    if (risky)
        m_ack->setLabel(acknowledgementText(highest));
    m_action->setText(QStringLiteral("Действие: ") + title(action));
    m_confirm->setText(confirmTitle(m_plan));
    m_confirm->setButtonStyle({isUninstall(action) ? DeckButtonRole::destructive : DeckButtonRole::primary,
                               DeckButtonSize::large});
    m_confirm->setEnabled(!m_plan.items.isEmpty() && (!risky || m_ack->isChecked()));
}

QList<QPair<QString, QString>> DebloatReviewSheet::summary() const
{
    QList<QPair<QString, QString>> out;
    for (const SummaryCell *cell : m_cells)
        out.append({cell->value(), cell->label()});
    return out;
}

QStringList DebloatReviewSheet::shownWarningLines() const
{
    QStringList out;
    if (m_warnings->isHidden())
        return out;
    for (const DeckParagraph *line : m_warningLines)
        if (!line->isHidden())
            out << line->text();
    if (!m_moreLine->isHidden())
        out << m_moreLine->text();
    return out;
}

QString DebloatReviewSheet::shownWarningTitle() const
{
    return m_warnings->isHidden() ? QString() : m_warningTitle->text();
}

QString DebloatReviewSheet::actionText() const { return m_action->text(); }

QString DebloatReviewSheet::explanationText() const { return m_explanation->text(); }
