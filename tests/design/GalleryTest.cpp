// Renders every control in each appearance and state into PNG files under the build folder
// (gallery/<key>.png) for a person to look at.
#include "design/Accessibility.h"
#include "design/AuroraBackdrop.h"
#include "design/DeckButton.h"
#include "design/DeckSearchField.h"
#include "design/DeckSegmented.h"
#include "design/FilterChip.h"
#include "design/Ink.h"
#include "design/InstrumentGrid.h"
#include "design/InteractiveSurface.h"
#include "design/Labels.h"
#include "design/Panel.h"
#include "design/Theme.h"

#include <QApplication>
#include <QDir>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>
#include "GallerySupport.h"
#include "GeometryWalk.h"

#include <gtest/gtest.h>

namespace {

QWidget *buildGallery()
{
    auto *canvas = new GalleryCanvas;
    auto *column = new QVBoxLayout(canvas);
    column->setContentsMargins(24, 24, 24, 24);
    column->setSpacing(8);

    // Buttons: every role in normal, hover, pressed and disabled state.
    for (DeckButtonRole role : {DeckButtonRole::primary, DeckButtonRole::secondary, DeckButtonRole::ghost,
                                DeckButtonRole::destructive}) {
        static const char *names[] = {"primary", "secondary", "ghost", "destructive"};
        auto *r = galleryRow(column, QStringLiteral("DeckButton ") + QLatin1String(names[int(role)]));
        const char *states[] = {"Обычная", "Наведение", "Нажатие", "Недоступна"};
        for (int s = 0; s < 4; ++s) {
            auto *b = new DeckButton(s == 0 ? QStringLiteral("arrow.clockwise") : QString(),
                                     QString::fromUtf8(states[s]), {role, DeckButtonSize::regular});
            r->addWidget(b);
            if (s == 1) b->setHovering(true);
            if (s == 2) b->setDown(true);
            if (s == 3) b->setEnabled(false);
        }
    }
    auto *sizes = galleryRow(column, QStringLiteral("DeckButton sizes"));
    for (DeckButtonSize size : {DeckButtonSize::small, DeckButtonSize::regular, DeckButtonSize::large})
        sizes->addWidget(new DeckButton(QStringLiteral("Установить APK"), {DeckButtonRole::primary, size}));
    sizes->addWidget(new DeckButton(QStringLiteral("Остановить"), {DeckButtonRole::ghost, DeckButtonSize::small}));
    auto *full = new DeckButton(QStringLiteral("camera"), QStringLiteral("Сделать снимок…"),
                                {DeckButtonRole::primary, DeckButtonSize::regular, true});
    column->addWidget(full);

    auto *icons = galleryRow(column, QStringLiteral("IconButton"));
    icons->addWidget(new IconButton(QStringLiteral("folder")));
    auto *hovered = new IconButton(QStringLiteral("gearshape"));
    hovered->setHovering(true);
    icons->addWidget(hovered);
    auto *pressed = new IconButton(QStringLiteral("arrow.clockwise"));
    pressed->setDown(true);
    icons->addWidget(pressed);
    icons->addWidget(new IconButton(QStringLiteral("star.fill"), {26, Tone::neutral, true}));
    auto *disabledActive = new IconButton(QStringLiteral("sidebar.left"), {28, Tone::neutral, true});
    disabledActive->setEnabled(false);
    icons->addWidget(disabledActive);
    icons->addWidget(new IconButton(QStringLiteral("trash"), {24, Tone::danger, false}));
    icons->addWidget(new IconButton(QStringLiteral("xmark"), {22, Tone::neutral, false}));

    auto *chips = galleryRow(column, QStringLiteral("FilterChip"));
    chips->addWidget(new FilterChip(QStringLiteral("Все"), std::nullopt, std::nullopt, false));
    auto *hoverChip = new FilterChip(QStringLiteral("Наведение"), QStringLiteral("magnifyingglass"), 3, false);
    hoverChip->setHovering(true);
    chips->addWidget(hoverChip);
    chips->addWidget(new FilterChip(QStringLiteral("Включено"), QStringLiteral("checkmark.circle.fill"), 128, true));
    chips->addWidget(new FilterChip(QStringLiteral("Безопасно"), std::nullopt, 0, true, Tone::success));
    chips->addWidget(new FilterChip(QStringLiteral("Критично"), QStringLiteral("exclamationmark.triangle.fill"), 7,
                                    true, Tone::danger));
    chips->addWidget(new FilterChip(QStringLiteral("Нейтрально"), std::nullopt, 12, true, Tone::neutral));
    chips->addWidget(new FilterChip(QStringLiteral("2k"), std::nullopt, std::nullopt, false, Tone::violet));

    auto *segs = galleryRow(column, QStringLiteral("DeckSegmented"));
    const QList<DeckSegmented::Item> items{{0, QStringLiteral("Все"), std::nullopt, 214},
                                           {1, QStringLiteral("Пользовательские"), QStringLiteral("person.crop.square"), 38},
                                           {2, QStringLiteral("Системные"), QStringLiteral("gearshape.2"), 176}};
    segs->addWidget(new DeckSegmented(items, 1));
    segs->addWidget(new DeckSegmented(items, 9)); // no match: no puck
    segs->addWidget(new DeckSegmented({{QStringLiteral("sh"), QStringLiteral("Shell устройства"), std::nullopt, std::nullopt},
                                       {QStringLiteral("adb"), QStringLiteral("ADB"), std::nullopt, std::nullopt}},
                                      QStringLiteral("adb")));

    auto *search = galleryRow(column, QStringLiteral("DeckSearchField, KeyHint"));
    search->addWidget(new DeckSearchField(QStringLiteral("Поиск приложений"), 220, 132, QStringLiteral("Ctrl+F")));
    auto *typed = new DeckSearchField(QStringLiteral("Поиск"), 200);
    typed->setText(QStringLiteral("com.android.camera"));
    search->addWidget(typed);
    auto *focused = new DeckSearchField(QStringLiteral("Фильтр журнала"), 200, 132, QStringLiteral("Ctrl+L"));
    focused->setObjectName(QStringLiteral("focused"));
    search->addWidget(focused);
    search->addWidget(new KeyHint(QStringLiteral("Ctrl+K")));

    auto *badges = galleryRow(column, QStringLiteral("StatusBadge, PulseDot"));
    badges->addWidget(new StatusBadge(QStringLiteral("cable.connector"), QStringLiteral("USB")));
    badges->addWidget(new StatusBadge(QStringLiteral("checkmark.circle.fill"), QStringLiteral("Включено"), Tone::success));
    badges->addWidget(new StatusBadge(QStringLiteral("pause.circle.fill"), QStringLiteral("Отключено"), Tone::warning));
    badges->addWidget(new StatusBadge(QStringLiteral("xmark.octagon.fill"), QStringLiteral("Критично"), Tone::danger,
                                      BadgeStyle::solid));
    badges->addWidget(new StatusBadge(QStringLiteral("checkmark.seal.fill"), QStringLiteral("Проверено"), Tone::success,
                                      BadgeStyle::outline));
    badges->addWidget(new StatusBadge(QStringLiteral("bolt.fill"), QStringLiteral("Заряжается"), Tone::accent,
                                      BadgeStyle::soft, true));
    badges->addWidget(new StatusBadge(QStringLiteral("sparkles"), QStringLiteral("Violet"), Tone::violet,
                                      BadgeStyle::outline, true));
    badges->addWidget(new PulseDot(Tone::success, false));
    badges->addWidget(new PulseDot(Tone::danger, false));

    auto *labels = galleryRow(column, QStringLiteral("SectionHeader, CopyableValue"));
    auto *header = new SectionHeader(QStringLiteral("Хранилище"), QStringLiteral("Внутренняя память устройства"),
                                     new DeckButton(QStringLiteral("Обновить"), {DeckButtonRole::ghost, DeckButtonSize::small}));
    header->setFixedWidth(360);
    labels->addWidget(header);
    labels->addWidget(new CopyableValue(QStringLiteral("R58M123ABC")));
    auto *hoverValue = new CopyableValue(QStringLiteral("com.google.android.apps.wellbeing"));
    hoverValue->surface()->setHovering(true);
    labels->addWidget(hoverValue);
    auto *copied = new CopyableValue(QStringLiteral("emulator-5554"));
    copied->setObjectName(QStringLiteral("copied"));
    labels->addWidget(copied);
    auto *squeezed = new CopyableValue(QStringLiteral("com.samsung.android.bixby.agent.very.long.name"));
    squeezed->setFixedWidth(160);
    labels->addWidget(squeezed);

    // Surfaces on an aurora with the instrument grid.
    auto *stage = new QWidget;
    stage->setFixedHeight(190);
    auto *aurora = new AuroraBackdrop(Ink::accent(), Ink::accentCyan(), 1.0, stage);
    aurora->setGeometry(0, 0, 1100, 190);
    auto *grid = new InstrumentGrid(32, 0.028 * 3, stage);
    grid->setGeometry(0, 0, 1100, 190);
    const struct { PanelStyle style; const char *name; } panels[] = {
        {{}, "raised"},
        {{PanelKind::sunken, Radius::l, Elevation::flat(), true, false}, "sunken"},
        {{PanelKind::glass, Radius::m, Elevation::medium(), true, true}, "glass"},
        {{PanelKind::outline, Radius::l, Elevation::low(), true, true}, "outline"},
        {{PanelKind::raised, Radius::m, Elevation::high(), true, true}, "high"},
    };
    int x = 0;
    for (const auto &p : panels) {
        auto *panel = new DeckPanel(p.style, stage);
        panel->setPadding(QMarginsF(12, 10, 12, 10));
        auto *l = new QVBoxLayout(panel);
        l->addWidget(new Eyebrow(QString::fromLatin1(p.name)));
        l->addWidget(new DeckText(QStringLiteral("Панель"), Typo::cardTitle(), [] { return Ink::text(); }));
        const QMarginsF m = Panel::shadowMargins(p.style);
        panel->setGeometry(x, 10, int(170 + m.left() + m.right()), int(100 + m.top() + m.bottom()));
        x += 200;
    }
    auto *selectedRow = new DeckText(QStringLiteral("Выбранная строка"), Typo::body(), [] { return Ink::text(); }, stage);
    selectedRow->setGeometry(1000 - 10, 150, 150, 26);
    (new InteractiveSurface(selectedRow))->setSelected(true);
    auto *hoverRow = new DeckText(QStringLiteral("Строка под курсором"), Typo::body(), [] { return Ink::text(); }, stage);
    hoverRow->setGeometry(820, 150, 160, 26);
    (new InteractiveSurface(hoverRow))->setHovering(true);
    column->addWidget(stage);
    return canvas;
}

TEST(Gallery, RendersEveryControlInEveryAppearance)
{
    A11y::setReduceMotion(true); // states show at once
    const QString dir = galleryFolder();
    for (const GalleryAppearance &k : kGalleryAppearances) {
        Theme::apply(k.scheme, k.increaseContrast);
        std::unique_ptr<QWidget> gallery(buildGallery());
        gallery->resize(1160, gallery->sizeHint().height());
        gallery->show();
        QApplication::processEvents();
        if (auto *f = gallery->findChild<DeckSearchField *>(QStringLiteral("focused"))) {
            QFocusEvent in(QEvent::FocusIn);
            QApplication::sendEvent(f->lineEdit(), &in);
        }
        if (auto *c = gallery->findChild<CopyableValue *>(QStringLiteral("copied")))
            c->click();
        QApplication::processEvents();
        const QString file = dir + QLatin1Char('/') + Theme::key() + QStringLiteral(".png");
        EXPECT_EQ(GeometryWalk::seenFaults(gallery.get()), QStringList()) << file.toStdString();
        const QImage image = gallery->grab().toImage();
        ASSERT_TRUE(image.save(file)) << file.toStdString();
        EXPECT_GT(image.height(), 600);
    }
    Theme::apply(ColorScheme::dark, false);
    A11y::resetForTesting();
}

} // namespace
