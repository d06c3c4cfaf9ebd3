#include "SettingsView.h"

#include "screenkit/ScreenDialogs.h"

#include "screens/packages/AppIconCache.h"

#include "screenkit/DesktopServices.h"

#include "screenkit/DeckScreen.h"
#include "screenkit/DeckTextField.h"
#include "SettingsCard.h"
#include "SettingsRow.h"
#include "core/PlatformTexts.h"
#include "screenkit/ViewUpdates.h"

#include "design/FocusRing.h"
#include "design/DeckParagraph.h"

#include "bridge/AndroidPackage.h"
#include "bridge/DebloatCatalog.h"
#include "core/AppModel.h"
#include "core/AppSettings.h"
#include "core/PreferenceBounds.h"
#include "design/AnimatedValue.h"
#include "design/Accessibility.h"
#include "design/DeckButton.h"
#include "design/DeckSegmented.h"
#include "design/DeckText.h"
#include "design/FilterChip.h"
#include "design/InfoRow.h"
#include "design/ScreenHeader.h"
#include "design/SlimScrollBars.h"
#include "design/Ink.h"
#include "design/Labels.h"
#include "design/Theme.h"
#include "design/Tokens.h"
#include "design/Typo.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int kColumnWidth = 720;
constexpr int kPathFieldWidth = 260;
constexpr int kSliderWidth = 180;
constexpr int kIntervalLabelWidth = 34;

// A switch-style toggle: a capsule whose knob slides to the accent side when on. The caller
// owns the value: clicks emit `clicked(bool)` with the new value and the owner stores it.
class SwitchToggle : public QAbstractButton {
public:
    explicit SwitchToggle(QWidget *parent) : QAbstractButton(parent), m_knob(new AnimatedValue(0, this))
    {
        setCheckable(true);
        setCursor(Qt::PointingHandCursor);
        setFixedSize(34, 20);
        connect(this, &QAbstractButton::toggled, this, [this](bool on) {
            m_knob->animateTo(on ? 1 : 0, Motion::resolve(Motion::quick(), A11y::reduceMotion()));
        });
    }
    QSize sizeHint() const override { return {34, 20}; }
    void setValue(bool on)
    {
        if (on == isChecked())
            return;
        setChecked(on);
        m_knob->jumpTo(on ? 1 : 0);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        const qreal t = m_knob->value();
        QPainterPath capsule;
        capsule.addRoundedRect(r, r.height() / 2, r.height() / 2);
        p.fillPath(capsule, mix(Ink::neutralSoft(), Ink::accent(), t));
        p.setPen(QPen(mix(Ink::strokeStrong(), Ink::accent(), t), Stroke::hairline));
        p.drawPath(capsule);
        const qreal d = r.height() - 4;
        const QRectF knob(r.left() + 2 + t * (r.width() - 4 - d), r.top() + 2, d, d);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(Qt::white));
        p.drawEllipse(knob);
        FocusRing::paintIfShown(p, this, QRectF(rect()), Radius::pill);
    }

private:
    AnimatedValue *m_knob;
};

// A line of caller-owned controls with the given spacing.
QWidget *line(QWidget *parent, const QList<QWidget *> &controls, int spacing = int(Space::s))
{
    auto *box = new QWidget(parent);
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(spacing);
    for (QWidget *control : controls)
        row->addWidget(control);
    box->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return box;
}

QString bundleValue(const char *value) { return value && *value ? QString::fromUtf8(value) : QStringLiteral("—"); }

} // namespace

const QList<qint64> &SettingsView::logcatBufferSizes()
{
    static const QList<qint64> sizes{2000, 5000, 10000, 20000};
    return sizes;
}

QString SettingsView::intervalText(double seconds)
{
    const double bounded = PreferenceBounds::monitorInterval(seconds);
    return QString::number(qint64(std::trunc(bounded))) + QStringLiteral(" с");
}

QString SettingsView::bufferTitle(qint64 lines) { return QString::number(lines / 1000) + QStringLiteral("k"); }

SettingsView::SettingsView(AppModel *model, AppSettings *settings, QWidget *parent)
    : QWidget(parent), m_model(model), m_settings(settings)
{

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);


    auto *scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus); // a page: Tab stops at its controls, and it follows them
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SlimScrollBars::apply(scroll);
    scroll->viewport()->setAutoFillBackground(false);
    auto *page = new QWidget;
    page->setAutoFillBackground(false);
    auto *pageRow = new QHBoxLayout(page);
    pageRow->setContentsMargins(int(Space::gutter), 0, int(Space::gutter), int(Space::xl));
    auto *columnBox = new QWidget(page);
    columnBox->setMaximumWidth(kColumnWidth);
    auto *column = new QVBoxLayout(columnBox);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(int(Space::m));
    for (QWidget *card : {appearanceSection(), listSection(), adbSection(), logsSection(), safetySection(),
                          aboutSection()})
        column->addWidget(card);
    column->addSpacing(int(Space::xl));
    column->addStretch(1);
    // At most 720 px wide, leading-aligned: the column grows to that width, the rest stays empty.
    columnBox->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    pageRow->addWidget(columnBox, 1);
    pageRow->addStretch(0);
    scroll->setWidget(page);
    // setWidget turns background filling on; what lies behind must show through.
    page->setAutoFillBackground(false);
    // The page frame without aurora tint.
    outer->addWidget(new DeckScreen(std::nullopt,
                                    new ScreenHeader(eyebrow(AppRoute::settings), tr("Настройки"),
                                                     tr("Оформление, поведение списков и подключение к ADB")),
                                    scroll, this));

    for (SettingsCard *card : m_cards)
        for (QWidget *row : card->rows())
            if (auto *settingsRow = qobject_cast<SettingsRow *>(row))
                m_rows.append(settingsRow);

    // Every shown value follows the preferences and the model.
    // The preferences change through these controls: they show at once.
    ViewUpdates::observeEach(settings, this, [this] { refresh(); }, settings->appearance, settings->density,
                             settings->showRiskColumn, settings->customADBPath, settings->monitorInterval,
                             settings->logcatBufferSize, settings->confirmDestructive);
    ViewUpdates::follow(model, this, [this] { refresh(); }, model->adbPath, model->adbVersionText);
    refresh();
}

QWidget *SettingsView::appearanceSection()
{
    auto *card = new SettingsCard(QStringLiteral("paintbrush"), tr("Оформление"), this);
    m_cards.append(card);
    QList<DeckSegmented::Item> modes;
    for (AppearanceMode mode : allCases<AppearanceMode>())
        modes.append({QVariant(rawValue(mode)), ::title(mode), ::icon(mode), std::nullopt});
    m_appearance = new DeckSegmented(modes, QVariant(rawValue(m_settings->appearance())), tr("Тема оформления"));
    connect(m_appearance, &DeckSegmented::selectionChanged, this, [this](const QVariant &value) {
        if (const auto mode = fromRawValue<AppearanceMode>(value.toString()))
            m_settings->appearance.set(*mode);
    });
    card->addRow(new SettingsRow(
        tr("Тема"), PlatformTexts::text(PlatformTexts::systemAppearance), m_appearance));

    QList<DeckSegmented::Item> densities;
    for (ListDensity density : allCases<ListDensity>())
        densities.append({QVariant(rawValue(density)), ::title(density), std::nullopt, std::nullopt});
    m_density = new DeckSegmented(densities, QVariant(rawValue(m_settings->density())), tr("Плотность списков"));
    connect(m_density, &DeckSegmented::selectionChanged, this, [this](const QVariant &value) {
        if (const auto density = fromRawValue<ListDensity>(value.toString()))
            m_settings->density.set(*density);
    });
    card->addRow(new SettingsRow(tr("Плотность списков"),
                                 tr("Влияет на высоту строк в разделах «Приложения» и «Очистка»."), m_density));
    return card;
}

QWidget *SettingsView::listSection()
{
    auto *card = new SettingsCard(QStringLiteral("list.bullet.rectangle"), tr("Списки приложений"), this);
    m_cards.append(card);
    auto *risk = new SwitchToggle(nullptr);
    m_risk = risk;
    risk->setAccessibleName(tr("Показывать уровень риска"));
    connect(risk, &QAbstractButton::clicked, this, [this](bool on) { m_settings->showRiskColumn.set(on); });
    card->addRow(new SettingsRow(
        tr("Показывать уровень риска"),
        tr("Добавляет колонку и фильтры по классификации Safe / Review / Advanced / Critical."), risk));

    m_catalogue = new QLabel(QString::number(DebloatCatalog::catalogSize) + tr(" правил"));
    m_catalogue->setTextFormat(Qt::PlainText);
    m_catalogue->setFont(Typo::monoSmall());
    QPalette pal = m_catalogue->palette();
    pal.setColor(QPalette::WindowText, Ink::textSecondary());
    m_catalogue->setPalette(pal);
    card->addRow(new SettingsRow(tr("База описаний пакетов"),
                                 tr("Правила классификации применяются к пакетам, реально найденным на устройстве."),
                                 m_catalogue));

    m_clearCache = new DeckButton(tr("Очистить кэш"), {DeckButtonRole::secondary, DeckButtonSize::small});
    connect(m_clearCache, &QAbstractButton::clicked, this, &SettingsView::clearIconCache);
    card->addRow(new SettingsRow(tr("Кэш иконок"), tr("Иконки декодируются один раз и переиспользуются при прокрутке."),
                                 m_clearCache));
    return card;
}

QWidget *SettingsView::adbSection()
{
    auto *card = new SettingsCard(QStringLiteral("server.rack"), tr("ADB"), this);
    m_cards.append(card);
    m_relink = new DeckButton(tr("Найти заново"), {DeckButtonRole::secondary, DeckButtonSize::small});
    connect(m_relink, &QAbstractButton::clicked, this, [this] { m_model->relinkADB(); });
    m_currentADBRow = new SettingsRow(tr("Текущий adb"), QString(), m_relink);
    card->addRow(m_currentADBRow);

    m_path = new DeckTextField(PlatformTexts::text(PlatformTexts::adbPathPlaceholder), true);
    m_path->setFixedWidth(kPathFieldWidth);
    // Half-typed paths ("/", "/usr", ...) never reach the model: the path is stored, and so
    // handed to the model, only when the edit is committed.
    connect(m_path, &DeckTextField::committed, this,
            [this](const QString &text) { m_settings->customADBPath.set(text); });
    m_choose = new DeckButton(tr("Выбрать…"), {DeckButtonRole::secondary, DeckButtonSize::small});
    connect(m_choose, &QAbstractButton::clicked, this, &SettingsView::chooseADBPath);
    card->addRow(new SettingsRow(
        tr("Свой путь к adb"),
        tr("Укажите путь, если используете собственную сборку Platform Tools. Пустое поле — автопоиск."),
        line(nullptr, {m_path, m_choose})));

    m_interval = new QSlider(Qt::Horizontal);
    m_interval->setRange(int(PreferenceBounds::minimumMonitorInterval), int(PreferenceBounds::maximumMonitorInterval));
    m_interval->setSingleStep(1);
    m_interval->setPageStep(1);
    m_interval->setFixedWidth(kSliderWidth);
    m_interval->setAccessibleName(tr("Интервал опроса устройств"));
    connect(m_interval, &QSlider::valueChanged, this, [this](int value) {
        if (!m_interval->signalsBlocked())
            m_settings->monitorInterval.set(double(value));
    });
    m_intervalLabel = new QLabel;
    m_intervalLabel->setTextFormat(Qt::PlainText);
    m_intervalLabel->setFont(Typo::monoSmall());
    m_intervalLabel->setFixedWidth(kIntervalLabelWidth);
    m_intervalLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QPalette pal = m_intervalLabel->palette();
    pal.setColor(QPalette::WindowText, Ink::textSecondary());
    m_intervalLabel->setPalette(pal);
    card->addRow(new SettingsRow(tr("Интервал опроса устройств"),
                                 tr("Как часто приложение проверяет список устройств в фоне. Изменения применяются "
                                    "при следующем запуске."),
                                 line(nullptr, {m_interval, m_intervalLabel})));
    return card;
}

QWidget *SettingsView::logsSection()
{
    auto *card = new SettingsCard(QStringLiteral("waveform.path.ecg"), tr("Логи"), this);
    m_cards.append(card);
    QList<QWidget *> chips;
    for (qint64 size : logcatBufferSizes()) {
        auto *chip = new FilterChip(bufferTitle(size), std::nullopt, std::nullopt, false);
        connect(chip, &QAbstractButton::clicked, this, [this, size] { m_settings->logcatBufferSize.set(size); });
        m_chips.append(chip);
        chips.append(chip);
    }
    card->addRow(new SettingsRow(
        tr("Размер буфера logcat"),
        tr("Больше строк — выше нагрузка на память. Значение применяется при следующем открытии раздела."),
        line(nullptr, chips)));
    return card;
}

QWidget *SettingsView::safetySection()
{
    auto *card = new SettingsCard(QStringLiteral("shield.lefthalf.filled"), tr("Безопасность"), this);
    m_cards.append(card);
    auto *confirm = new SwitchToggle(nullptr);
    m_confirm = confirm;
    confirm->setAccessibleName(tr("Подтверждать необратимые действия"));
    connect(confirm, &QAbstractButton::clicked, this, [this](bool on) { m_settings->confirmDestructive.set(on); });
    card->addRow(new SettingsRow(
        tr("Подтверждать необратимые действия"),
        tr("Дополнительное подтверждение для удаления, очистки данных и безвозвратного удаления файлов."), confirm));

    card->addBlock(ViewUpdates::divider(card));
    auto *note = new QWidget(card);
    auto *noteColumn = new QVBoxLayout(note);
    noteColumn->setContentsMargins(0, 0, 0, 0);
    noteColumn->setSpacing(int(Space::xs));
    noteColumn->addWidget(
        ViewUpdates::wrappingLabel(tr("Чего приложение не делает"), Typo::bodyMedium(), [] { return Ink::text(); }, note));
    const QStringList lines{
        tr("• Не прошивает разделы и не разблокирует загрузчик — эти операции необратимы и стирают данные."),
        tr("• Удаление приложений выполняется только для пользователя 0: APK остаётся в прошивке и может быть "
           "восстановлен."),
        tr("• Все команды выполняются локально; приложение не отправляет данные в сеть."),
    };
    noteColumn->addWidget(ViewUpdates::wrappingLabel(lines.join(QLatin1Char('\n')), Typo::supporting(),
                                                     [] { return Ink::textSecondary(); }, note));
    card->addBlock(note);
    return card;
}

QWidget *SettingsView::aboutSection()
{
    auto *card = new SettingsCard(QStringLiteral("info.circle"), tr("О программе"), this);
    m_cards.append(card);
    auto *rows = new QWidget(card);
    m_aboutColumn = new QVBoxLayout(rows);
    m_aboutColumn->setContentsMargins(0, 0, 0, 0);
    m_aboutColumn->setSpacing(int(Space::s));
    card->addBlock(rows);
    card->addBlock(ViewUpdates::divider(card));
    m_openPresets = new DeckButton(tr("Открыть папку пресетов"), {DeckButtonRole::secondary, DeckButtonSize::small});
    m_reset = new DeckButton(tr("Сбросить настройки"), {DeckButtonRole::destructive, DeckButtonSize::small});
    connect(m_openPresets, &QAbstractButton::clicked, this, &SettingsView::openPresetFolder);
    connect(m_reset, &QAbstractButton::clicked, this, &SettingsView::askReset);
    auto *buttons = new QWidget(card);
    auto *buttonRow = new QHBoxLayout(buttons);
    buttonRow->setContentsMargins(0, 0, 0, 0);
    buttonRow->addWidget(m_openPresets);
    buttonRow->addStretch(1);
    buttonRow->addWidget(m_reset);
    card->addBlock(buttons);
    return card;
}

QList<QPair<QString, QString>> SettingsView::aboutRows() const
{
    return {
        {tr("Версия"), bundleValue(KESTREL_VERSION)},
        {tr("Сборка"), bundleValue(KESTREL_BUILD_NUMBER)},
        {PlatformTexts::text(PlatformTexts::systemRowTitle), PlatformTexts::text(PlatformTexts::systemRowValue)},
        {tr("Версия ADB"), m_model->adbVersionText().value_or(QStringLiteral("—"))},
        {tr("Библиотека пресетов"), presetFolder()},
    };
}

QString SettingsView::presetFolder() const { return m_model->presetLibraryFolder; }

void SettingsView::refresh()
{
    m_appearance->blockSignals(true);
    m_appearance->setSelection(QVariant(rawValue(m_settings->appearance())));
    m_appearance->blockSignals(false);
    m_density->blockSignals(true);
    m_density->setSelection(QVariant(rawValue(m_settings->density())));
    m_density->blockSignals(false);
    static_cast<SwitchToggle *>(m_risk)->setValue(m_settings->showRiskColumn());
    static_cast<SwitchToggle *>(m_confirm)->setValue(m_settings->confirmDestructive());

    m_currentADBRow->descriptionLabel()->setText(m_model->service ? m_model->service->executableURL
                                                                  : tr("Исполняемый файл не найден"));
    m_path->showModelText(m_settings->customADBPath());

    const double interval = PreferenceBounds::monitorInterval(m_settings->monitorInterval());
    m_interval->blockSignals(true);
    m_interval->setValue(int(std::trunc(interval)));
    m_interval->blockSignals(false);
    m_intervalLabel->setText(intervalText(m_settings->monitorInterval()));

    for (int i = 0; i < m_chips.size(); ++i)
        m_chips[i]->setOn(m_settings->logcatBufferSize() == logcatBufferSizes()[i]);

    const auto about = aboutRows();
    if (about != m_shownAbout) {
        m_shownAbout = about;
        while (QLayoutItem *item = m_aboutColumn->takeAt(0)) {
            delete item->widget();
            delete item;
        }
        const bool mono[] = {false, true, false, true, true};
        QWidget *owner = m_aboutColumn->parentWidget();
        for (int i = 0; i < about.size(); ++i)
            m_aboutColumn->addWidget(
                new InfoRow(about[i].first, about[i].second, mono[i], i == about.size() - 1, {}, owner));
    }
}

void SettingsView::chooseADBPath()
{
    // The chooser returns files only; what it returns is stored as it is and the model judges it.
    FileRequest request;
    request.title = tr("Выберите исполняемый файл adb");
    request.showHidden = true;
    DesktopServices::current().chooseOpenFiles(this, request, false, [self = QPointer(this)](const QStringList &files) {
        if (self && !files.isEmpty())
            self->m_settings->customADBPath.set(files.first());
    });
}

void SettingsView::clearIconCache()
{
    AppIconCache::shared().reset();
    m_model->toast(tr("Кэш иконок очищен"), std::nullopt, QStringLiteral("sparkles"), Tone::accent);
}

void SettingsView::openPresetFolder()
{
    const QString folder = presetFolder();
    // A library that was never written to has no folder yet: make it, so opening shows it.
    const bool exists = QDir().mkpath(folder);
    if (!exists || !DesktopServices::current().openPath(folder))
        m_model->toast(tr("Не удалось открыть папку пресетов"), folder, QStringLiteral("exclamationmark.triangle.fill"),
                       Tone::warning);
}

void SettingsView::askReset()
{
    if (m_resetDialog)
        return;
    auto *dialog = new QMessageBox(this);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setTextFormat(Qt::PlainText);
    dialog->setWindowTitle(tr("Сбросить настройки приложения?"));
    dialog->setText(tr("Сбросить настройки приложения?"));
    dialog->setInformativeText(tr("Оформление, плотность списка и параметры ADB вернутся к значениям по умолчанию. "
                                  "Пресеты и избранные команды не затрагиваются."));
    QPushButton *reset = ScreenDialogs::addButton(dialog, tr("Сбросить"), QMessageBox::DestructiveRole);
    QPushButton *cancel = ScreenDialogs::addButton(dialog, tr("Отмена"), QMessageBox::RejectRole);
    dialog->setDefaultButton(cancel);
    dialog->setEscapeButton(cancel);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QMessageBox::buttonClicked, this, [this, reset](QAbstractButton *button) {
        if (button == reset)
            m_settings->resetToDefaults();
    });
    m_resetDialog = dialog;
    connect(dialog, &QDialog::finished, this, [this] { m_resetDialog = nullptr; });
    dialog->open();
}
