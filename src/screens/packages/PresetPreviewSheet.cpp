#include "PresetPreviewSheet.h"

#include "PresetCardDelegate.h"

#include "core/AppModel.h"
#include "design/DeckButton.h"
#include "design/DeckParagraph.h"
#include "design/DeckText.h"
#include "design/Hairline.h"
#include "design/Ink.h"
#include "design/Labels.h"
#include "design/ShownText.h"
#include "design/SymbolTile.h"
#include "design/Symbols.h"
#include "design/ToneInk.h"
#include "design/Tokens.h"
#include "design/Typo.h"
#include "shell/ViewUpdates.h"

#include <QHBoxLayout>
#include <QListView>
#include <QPainter>
#include <QVBoxLayout>

namespace {

constexpr qreal kStatusSymbol = 12;
constexpr qreal kNameGap = 1;

// A strip filled with one colour (the system-package warning).
class FilledRow : public QWidget {
public:
    explicit FilledRow(std::function<QColor()> fill, QWidget *parent = nullptr) : QWidget(parent), m_fill(std::move(fill)) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), m_fill());
    }

private:
    std::function<QColor()> m_fill;
};

class SymbolLabel : public QWidget {
public:
    SymbolLabel(QString symbol, qreal size, std::function<QColor()> ink, QWidget *parent = nullptr)
        : QWidget(parent), m_symbol(std::move(symbol)), m_size(size), m_ink(std::move(ink))
    {
        setFixedSize(int(std::ceil(size)) + 2, int(std::ceil(size)) + 2);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        Symbols::paint(p, m_symbol, QRectF(rect()), m_size, m_ink());
    }

private:
    QString m_symbol;
    qreal m_size;
    std::function<QColor()> m_ink;
};

QWidget *counterCell(const QString &label, int value, Tone tone)
{
    auto *cell = new QWidget;
    auto *column = new QVBoxLayout(cell);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(3);
    auto *figure = new DeckText(QString::number(value), Typo::metricSmall(), [tone] { return foreground(tone); });
    figure->setAlignment(Qt::AlignHCenter);
    auto *caption = new DeckText(label, Typo::caption(), [] { return Ink::textTertiary(); });
    caption->setAlignment(Qt::AlignHCenter);
    column->addWidget(figure);
    column->addWidget(caption);
    cell->setAccessibleName(label + QStringLiteral(": ") + QString::number(value));
    cell->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    return cell;
}

} // namespace

// ---- Entries ----

PresetEntryModel::PresetEntryModel(QList<PresetPackageEntry> entries, QObject *parent)
    : QAbstractListModel(parent), m_entries(std::move(entries))
{
}

int PresetEntryModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_entries.size()); }

QVariant PresetEntryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_entries.size())
        return {};
    const PresetPackageEntry &entry = m_entries.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return entry.displayName;
    case Qt::ToolTipRole:
        return entry.packageName;
    case Qt::AccessibleTextRole:
        return ShownText::accessible(entry.displayName) + QStringLiteral(", ")
               + (entry.kind ? shortTitle(*entry.kind) : QStringLiteral("Нет на устройстве"));
    default:
        return {};
    }
}

PresetEntryDelegate::PresetEntryDelegate(QObject *parent)
    : QStyledItemDelegate(parent),
      m_badge(new StatusBadge(QStringLiteral("xmark.circle"), QString(), Tone::neutral, BadgeStyle::outline, true))
{
    m_badge->setAttribute(Qt::WA_DontShowOnScreen);
}

PresetEntryDelegate::~PresetEntryDelegate() { delete m_badge; }

int PresetEntryDelegate::rowHeight()
{
    const qreal names = QFontMetricsF(Typo::body()).lineSpacing() + kNameGap + QFontMetricsF(Typo::monoSmall()).lineSpacing();
    return int(std::ceil(Space::s + names + Space::s)) + int(Stroke::hairline);
}

QSize PresetEntryDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    return {option.rect.width(), rowHeight()};
}

void PresetEntryDelegate::paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const auto *entries = qobject_cast<const PresetEntryModel *>(index.model());
    if (!entries)
        return;
    const PresetPackageEntry &entry = entries->entryAt(index.row());
    const QRectF row = QRectF(option.rect).adjusted(Space::l, 0, -Space::l, -Stroke::hairline);
    p->save();
    p->setRenderHint(QPainter::Antialiasing);

    const bool installed = entry.isInstalled();
    const QRectF status(row.left(), row.center().y() - 8, 14, 16);
    Symbols::paint(*p, installed ? QStringLiteral("checkmark.circle.fill") : QStringLiteral("questionmark.circle"), status,
                   kStatusSymbol, installed ? Ink::success() : Ink::warning());

    if (installed) {
        m_badge->setIcon(icon(*entry.kind));
        m_badge->setText(shortTitle(*entry.kind));
        m_badge->setTone(Tone::neutral);
    } else {
        m_badge->setIcon(QStringLiteral("xmark.circle"));
        m_badge->setText(QStringLiteral("Нет на устройстве"));
        m_badge->setTone(Tone::warning);
    }
    const QSize badge = m_badge->sizeHint();
    const QRectF badgeRect(row.right() - badge.width(), row.center().y() - badge.height() / 2.0, badge.width(),
                           badge.height());
    m_badge->resize(badge);
    p->save();
    p->translate(badgeRect.topLeft());
    m_badge->render(p, QPoint(), QRegion(), QWidget::DrawChildren);
    p->restore();

    const qreal textLeft = status.right() + Space::m;
    const qreal textWidth = std::max<qreal>(0, badgeRect.left() - Space::s - textLeft);
    const QFontMetricsF nameMetrics(Typo::body());
    const QFontMetricsF monoMetrics(Typo::monoSmall());
    const bool twoLines = entry.displayName != entry.packageName;
    const qreal block = nameMetrics.height() + (twoLines ? kNameGap + monoMetrics.height() : 0);
    const qreal top = row.center().y() - block / 2;
    p->setFont(Typo::body());
    p->setPen(Ink::text());
    p->drawText(QPointF(textLeft, top + nameMetrics.ascent()),
                nameMetrics.elidedText(ShownText::line(entry.displayName), Qt::ElideRight, textWidth));
    if (twoLines) {
        p->setFont(Typo::monoSmall());
        p->setPen(Ink::textTertiary());
        p->drawText(QPointF(textLeft, top + nameMetrics.height() + kNameGap + monoMetrics.ascent()),
                    monoMetrics.elidedText(ShownText::line(entry.packageName), Qt::ElideMiddle, textWidth));
    }

    // The divider starts under the names.
    const qreal y = option.rect.bottom() + 1 - Stroke::hairline / 2;
    p->setPen(QPen(Ink::stroke(), Stroke::hairline));
    p->drawLine(QPointF(option.rect.left() + Space::l + 26, y), QPointF(option.rect.right() + 1, y));
    p->restore();
}

// ---- The sheet ----

PresetPreviewSheet::PresetPreviewSheet(AppModel *model, PresetPreview preview, QWidget *parent)
    : QDialog(parent), m_model(model), m_preview(std::move(preview))
{
    const PackagePreset &preset = m_preview.preset;
    setWindowTitle(preset.name);
    setFixedSize(kWidth, kHeight);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // Header.
    auto *header = new QWidget;
    auto *headerRow = new QHBoxLayout(header);
    headerRow->setContentsMargins(int(Space::l), int(Space::l), int(Space::l), int(Space::l));
    headerRow->setSpacing(int(Space::m));
    headerRow->addWidget(new SymbolTile(QStringLiteral("rectangle.stack.badge.play.fill"), 40, 20, Radius::m), 0,
                         Qt::AlignTop);
    auto *titles = new QVBoxLayout;
    titles->setSpacing(3);
    auto *name = new DeckText(preset.name, Typo::screenTitle(), [] { return Ink::text(); });
    name->setElideMode(Qt::ElideRight);
    titles->addWidget(name);
    if (!preset.description.isEmpty())
        titles->addWidget(ViewUpdates::wrappingLabel(preset.description, Typo::supporting(),
                                                     [] { return Ink::textSecondary(); }));
    titles->addStretch(1);
    headerRow->addLayout(titles, 1);
    const bool uninstall = preset.action == PresetAction::uninstall;
    m_badge = new StatusBadge(PresetCardDelegate::badgeIcon(preset.action), title(preset.action),
                              uninstall ? Tone::danger : Tone::warning, BadgeStyle::soft, false);
    headerRow->addWidget(m_badge, 0, Qt::AlignTop);
    column->addWidget(header);
    column->addWidget(new Hairline);

    // Counters.
    const int found = int(m_preview.installedEntries().size());
    const int missing = int(m_preview.missingEntries().size());
    const int system = m_preview.systemCount();
    const int user = m_preview.userCount();
    const QList<std::tuple<QString, int, Tone>> cells{
        {QStringLiteral("Найдено"), found, Tone::success},
        {QStringLiteral("Отсутствует"), missing, missing > 0 ? Tone::warning : Tone::neutral},
        {QStringLiteral("Системных"), system, system > 0 ? Tone::danger : Tone::neutral},
        {QStringLiteral("Пользовательских"), user, Tone::accent},
    };
    auto *counters = new QWidget;
    counters->setObjectName(QStringLiteral("preset-counters"));
    auto *counterRow = new QHBoxLayout(counters);
    counterRow->setContentsMargins(0, int(Space::m), 0, int(Space::m));
    counterRow->setSpacing(0);
    for (qsizetype i = 0; i < cells.size(); ++i) {
        const auto &[label, value, tone] = cells[i];
        if (i > 0) {
            auto *divider = new Hairline(true);
            divider->setFixedHeight(40);
            counterRow->addWidget(divider, 0, Qt::AlignVCenter);
        }
        counterRow->addWidget(counterCell(label, value, tone), 1);
        m_counters.append({label, QString::number(value)});
    }
    column->addWidget(counters);
    column->addWidget(new Hairline);

    // The system-package warning.
    if (system >= 1) {
        m_warning = new FilledRow([] { return Ink::warningSoft(); });
        m_warning->setObjectName(QStringLiteral("preset-system-warning"));
        auto *row = new QHBoxLayout(m_warning);
        row->setContentsMargins(int(Space::m), int(Space::m), int(Space::m), int(Space::m));
        row->setSpacing(int(Space::s));
        row->addWidget(new SymbolLabel(QStringLiteral("exclamationmark.triangle.fill"), 13, [] { return Ink::warning(); }),
                       0, Qt::AlignVCenter);
        row->addWidget(ViewUpdates::wrappingLabel(
                           QStringLiteral("В пресете есть системные приложения. Их отключение или удаление может "
                                          "нарушить работу устройства."),
                           Typo::supporting(), [] { return Ink::text(); }),
                       1);
        column->addWidget(m_warning);
    }
    // Entries of the file that are no package names never reach the device: say which.
    if (!m_preview.inapplicableNames.isEmpty()) {
        auto *skipped = new FilledRow([] { return Ink::neutralSoft(); });
        skipped->setObjectName(QStringLiteral("preset-inapplicable"));
        auto *row = new QHBoxLayout(skipped);
        row->setContentsMargins(int(Space::m), int(Space::s), int(Space::m), int(Space::s));
        auto *text = new DeckText(QStringLiteral("Не являются именами пакетов и будут пропущены: ")
                                      + m_preview.inapplicableNames.join(QStringLiteral(", ")),
                                  Typo::supporting(), [] { return Ink::textSecondary(); });
        text->setElideMode(Qt::ElideRight);
        row->addWidget(text, 1);
        column->addWidget(skipped);
    }

    // Entries.
    m_list = new QListView;
    m_list->setObjectName(QStringLiteral("preset-entries"));
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setUniformItemSizes(true);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->viewport()->setAutoFillBackground(false);
    m_list->setModel(new PresetEntryModel(m_preview.entries, m_list));
    m_list->setItemDelegate(new PresetEntryDelegate(m_list));
    column->addWidget(m_list, 1);
    column->addWidget(new Hairline);

    // Footer.
    auto *footer = new QWidget;
    auto *footerRow = new QHBoxLayout(footer);
    footerRow->setContentsMargins(int(Space::l), int(Space::l), int(Space::l), int(Space::l));
    footerRow->setSpacing(int(Space::s));
    m_close = new DeckButton(QStringLiteral("Закрыть"), {DeckButtonRole::ghost, DeckButtonSize::regular});
    m_select = new DeckButton(QStringLiteral("Только выбрать в списке"), {DeckButtonRole::secondary, DeckButtonSize::regular});
    m_execute = new DeckButton(QStringLiteral("Выполнить…"),
                               {uninstall ? DeckButtonRole::destructive : DeckButtonRole::primary, DeckButtonSize::large});
    m_select->setEnabled(found > 0);
    m_execute->setEnabled(found > 0);
    footerRow->addWidget(m_close);
    footerRow->addStretch(1);
    footerRow->addWidget(m_select);
    footerRow->addWidget(m_execute);
    column->addWidget(footer);

    // Escape rejects the dialog like "Закрыть"; the presenter then clears the model's preview.
    connect(m_close, &QAbstractButton::clicked, this, &QDialog::reject);
    connect(m_select, &QAbstractButton::clicked, this, [this] { m_model->selectPackages(m_preview); });
    connect(m_execute, &QAbstractButton::clicked, this, [this] { m_model->requestPresetExecution(m_preview); });
}

QList<std::pair<QString, QString>> PresetPreviewSheet::counters() const { return m_counters; }

void PresetPreviewSheet::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Ink::canvas());
}
