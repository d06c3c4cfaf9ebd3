// Renders the feedback views, the metric displays and the device illustration in each
// appearance into PNG files under the build folder (gallery/feedback-<key>.png,
// gallery/metrics-<key>.png, gallery/device-<key>.png) for a person to look at.
#include "design/Accessibility.h"
#include "design/ArcGauge.h"
#include "design/DeckButton.h"
#include "design/DeckEmptyState.h"
#include "design/DeckText.h"
#include "design/DeviceGlyph.h"
#include "design/DeviceObject.h"
#include "design/Hairline.h"
#include "design/InfoRow.h"
#include "design/Ink.h"
#include "design/Labels.h"
#include "design/MeterBar.h"
#include "design/MetricTile.h"
#include "design/OperationBar.h"
#include "design/ScreenHeader.h"
#include "design/Skeleton.h"
#include "design/Theme.h"
#include "design/ToastView.h"
#include "design/Typo.h"

#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>
#include "GallerySupport.h"
#include "GeometryWalk.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

QWidget *fixedWidth(QWidget *w, int width)
{
    w->setFixedWidth(width);
    return w;
}

QWidget *buildFeedback()
{
    auto *canvas = new GalleryCanvas;
    auto *column = new QVBoxLayout(canvas);
    column->setContentsMargins(24, 24, 24, 24);
    column->setSpacing(8);

    auto *empties = galleryRow(column, QStringLiteral("DeckEmptyState: neutral с действием, danger, без пояснения"), Qt::AlignTop);
    auto *actions = new QWidget;
    auto *al = new QHBoxLayout(actions);
    al->setContentsMargins(0, 0, 0, 0);
    al->addWidget(new DeckButton(QStringLiteral("arrow.clockwise"), QStringLiteral("Обновить"), {DeckButtonRole::primary}));
    al->addWidget(new DeckButton(QStringLiteral("Сбросить фильтры")));
    for (QWidget *e : {static_cast<QWidget *>(new DeckEmptyState(
                           QStringLiteral("magnifyingglass"), QStringLiteral("Ничего не найдено"),
                           QStringLiteral("Ни одно приложение не подходит под выбранные фильтры и строку поиска. "
                                          "Измените условия или сбросьте их."),
                           Tone::neutral, actions)),
                       static_cast<QWidget *>(new DeckEmptyState(QStringLiteral("cable.connector.slash"),
                                                                 QStringLiteral("ADB не найден"),
                                                                 QStringLiteral("Укажите путь к adb в настройках."),
                                                                 Tone::danger)),
                       static_cast<QWidget *>(new DeckEmptyState(QStringLiteral("folder"),
                                                                 QStringLiteral("Папка пуста")))}) {
        auto *frame = new DeckPanel({PanelKind::sunken, Radius::l, Elevation::flat(), true, false});
        auto *fl = new QVBoxLayout(frame);
        fl->setContentsMargins(0, 0, 0, 0);
        fl->addWidget(e);
        frame->setFixedSize(380, 340);
        empties->addWidget(frame);
    }

    auto *skeletons = galleryRow(column, QStringLiteral("Skeleton: во всю ширину, 80 × 12, 160 × 20 с бликом"), Qt::AlignTop);
    auto *sk = new QWidget;
    auto *skl = new QVBoxLayout(sk);
    skl->setContentsMargins(0, 0, 0, 0);
    auto *wide = new Skeleton;
    wide->setObjectName(QStringLiteral("sweep"));
    skl->addWidget(wide);
    skl->addWidget(new Skeleton(80));
    auto *tall = new Skeleton(160, 20, Radius::s);
    tall->setObjectName(QStringLiteral("sweep"));
    skl->addWidget(tall);
    sk->setFixedWidth(400);
    skeletons->addWidget(sk);

    auto *headers = galleryRow(column, QStringLiteral("ScreenHeader: широкое окно, компактное, без пояснения; Hairline"), Qt::AlignTop);
    auto *hcol = new QVBoxLayout;
    auto controls = [] {
        return QList<QWidget *>{new DeckButton(QStringLiteral("arrow.clockwise"), QStringLiteral("Обновить")),
                                new DeckButton(QStringLiteral("Установить APK"), {DeckButtonRole::primary}),
                                new DeckButton(QStringLiteral("Экспорт")), new DeckButton(QStringLiteral("Фильтры"))};
    };
    auto *wideHeader = new ScreenHeader(QStringLiteral("Управление"), QStringLiteral("Приложения"),
                                        QStringLiteral("214 пакетов: 38 пользовательских и 176 системных"), controls());
    wideHeader->setDeckSize(DeckSize::wide);
    hcol->addWidget(fixedWidth(wideHeader, 1100));
    hcol->addWidget(new Hairline);
    auto *compact = new ScreenHeader(QStringLiteral("Управление"),
                                     QStringLiteral("Очень длинное название экрана, которое не помещается"),
                                     QStringLiteral("Пояснение в две строки: список устройств, подключённых по USB и "
                                                    "по Wi-Fi, с их состоянием и способом подключения к компьютеру."),
                                     controls());
    compact->setDeckSize(DeckSize::compact);
    auto *hrow = new QHBoxLayout;
    hrow->addWidget(fixedWidth(compact, 420));
    hrow->addWidget(new Hairline(true));
    auto *bare = new ScreenHeader(QStringLiteral("Система"), QStringLiteral("Настройки"));
    bare->setDeckSize(DeckSize::medium);
    hrow->addWidget(fixedWidth(bare, 420), 0, Qt::AlignTop);
    hrow->addStretch(1);
    hcol->addLayout(hrow);
    headers->addLayout(hcol);

    auto *toasts = galleryRow(column, QStringLiteral("ToastView: neutral, success, danger с длинным текстом, пустое пояснение"), Qt::AlignTop);
    auto *tgrid = new QGridLayout;
    tgrid->setSpacing(0);
    tgrid->addWidget(new ToastView(ToastMessage(QStringLiteral("doc.on.doc"), QStringLiteral("Скопировано"))), 0, 0);
    tgrid->addWidget(new ToastView(ToastMessage(QStringLiteral("checkmark.circle.fill"), QStringLiteral("Отключено: 3"),
                                                QStringLiteral("com.facebook.katana и ещё 2"), Tone::success)),
                     0, 1);
    tgrid->addWidget(
        new ToastView(ToastMessage(QStringLiteral("xmark.octagon.fill"),
                                   QStringLiteral("Не удалось удалить приложение для пользователя 0 на устройстве"),
                                   QStringLiteral("Failure [DELETE_FAILED_INTERNAL_ERROR]: пакет защищён политикой "
                                                  "устройства и не может быть удалён без прав администратора, "
                                                  "попробуйте отключить его."),
                                   Tone::danger)),
        1, 0);
    tgrid->addWidget(new ToastView(ToastMessage(QStringLiteral("info.circle"), QStringLiteral("Пустое пояснение"),
                                                QString(), Tone::accent)),
                     1, 1);
    toasts->addLayout(tgrid);

    auto *bars = galleryRow(column, QStringLiteral("OperationBar: без прогресса, 0, 0,999 с кнопкой, 1,5, без прогресса с кнопкой"), Qt::AlignTop);
    auto *bcol = new QVBoxLayout;
    bcol->setSpacing(0);
    bcol->addWidget(new OperationBar(QStringLiteral("Загрузка списка пакетов"), QStringLiteral("R58M123ABC")));
    bcol->addWidget(new OperationBar(QStringLiteral("Экспорт APK"), std::nullopt, 0.0));
    bcol->addWidget(new OperationBar(QStringLiteral("Отключение пакетов"),
                                     QStringLiteral("com.samsung.android.bixby.agent — очень длинная строка пояснения, "
                                                    "которая не помещается в одну строку"),
                                     0.999, [] {}));
    bcol->addWidget(new OperationBar(QStringLiteral("Применение набора"), QStringLiteral("12 из 8"), 1.5, [] {}));
    bcol->addWidget(new OperationBar(QStringLiteral("Поиск устройства"), std::nullopt, std::nullopt, [] {}));
    for (int i = 0; i < bcol->count(); ++i)
        bcol->itemAt(i)->widget()->setFixedWidth(520);
    bars->addLayout(bcol);
    return canvas;
}

QWidget *buildMetrics()
{
    auto *canvas = new GalleryCanvas;
    auto *column = new QVBoxLayout(canvas);
    column->setContentsMargins(24, 24, 24, 24);
    column->setSpacing(8);

    auto *tiles = galleryRow(column, QStringLiteral("MetricTile: нейтральная, warning с полосой и значком, success, узкая"), Qt::AlignTop);
    tiles->addWidget(fixedWidth(new MetricTile(QStringLiteral("clock"), QStringLiteral("Время работы"),
                                               QStringLiteral("3 д 4 ч")),
                                260));
    tiles->addWidget(fixedWidth(
        new MetricTile(QStringLiteral("internaldrive.fill"), QStringLiteral("Хранилище"), QStringLiteral("118"),
                       QStringLiteral("ГБ"), QStringLiteral("Свободно 10 ГБ из 128 ГБ. Очистите кэш приложений."),
                       Tone::warning, 0.92,
                       new StatusBadge(QStringLiteral("exclamationmark.triangle.fill"), QStringLiteral("Мало места"),
                                       Tone::warning, BadgeStyle::soft, true)),
        300));
    tiles->addWidget(fixedWidth(new MetricTile(QStringLiteral("battery.100percent"), QStringLiteral("Батарея"),
                                               QStringLiteral("85"), QStringLiteral("%"),
                                               QStringLiteral("Заряжается, 31 °C"), Tone::success, 0.85),
                                260));
    tiles->addWidget(fixedWidth(new MetricTile(QStringLiteral("memorychip"), QStringLiteral("Память"),
                                               QStringLiteral("5,1"), QStringLiteral("ГБ"),
                                               QStringLiteral("Доступно 2,9 ГБ из 8 ГБ; длинная сноска обрезается "
                                                              "после второй строки, а не сжимается"),
                                               Tone::accent, 0.64),
                                190));

    auto *meters = galleryRow(column, QStringLiteral("MeterBar: −0,2, 0,5 accent, 0,92 warning, 1,7 success, NaN danger"), Qt::AlignTop);
    auto *mcol = new QVBoxLayout;
    const struct { double p; Tone t; } ms[] = {{-0.2, Tone::accent}, {0.5, Tone::accent}, {0.92, Tone::warning},
                                               {1.7, Tone::success}, {std::nan(""), Tone::danger}};
    for (const auto &m : ms)
        mcol->addWidget(fixedWidth(new MeterBar(m.p, m.t), 360));
    meters->addLayout(mcol);

    auto *gauges = galleryRow(column, QStringLiteral("ArcGauge: 0, 0,3 danger, 0,72 accent, 1 success, trim 0,5, NaN"), Qt::AlignTop);
    const struct { double p; Tone t; double trim; qreal line; } gs[] = {
        {0, Tone::accent, 0.72, 4}, {0.3, Tone::danger, 0.72, 6}, {0.72, Tone::accent, 0.72, 4},
        {1, Tone::success, 0.72, 4}, {0.5, Tone::violet, 0.5, 5}, {std::nan(""), Tone::warning, 0.72, 4}};
    for (const auto &g : gs) {
        auto *gauge = new ArcGauge(g.p, g.t, g.line, g.trim);
        gauge->setFixedSize(84, 84);
        gauges->addWidget(gauge);
    }

    auto *rows = galleryRow(column, QStringLiteral("InfoRow: обычная, моноширинная с переносом, копируемая, цветная"), Qt::AlignTop);
    auto *rcol = new QVBoxLayout;
    rcol->addWidget(new InfoRow(QStringLiteral("Модель"), QStringLiteral("Pixel 8 Pro")));
    rcol->addWidget(new InfoRow(QStringLiteral("Путь APK"),
                                QStringLiteral("/data/app/~~Xb3pQ==/com.google.android.apps.photos-1A2B/base.apk "
                                               "/data/app/~~Xb3pQ==/com.google.android.apps.photos-1A2B/split_config.ru.apk"),
                                true));
    rcol->addWidget(new InfoRow(QStringLiteral("Серийный номер устройства"),
                                QStringLiteral("R58M123ABC-очень-длинный-серийный-номер-устройства"), true, true));
    rcol->addWidget(new InfoRow(QStringLiteral("Патч безопасности"), QStringLiteral("2021-03-05"), false, false,
                                [] { return Ink::warning(); }));
    auto *rw = new QWidget;
    rw->setLayout(rcol);
    rw->setFixedWidth(560);
    rows->addWidget(rw);
    return canvas;
}

DeviceSnapshot snapshotFor(int variant)
{
    DeviceSnapshot s;
    s.serial = variant % 2 ? QStringLiteral("192.168.1.20:5555") : QStringLiteral("R58M123ABC");
    s.manufacturer = QStringLiteral("Google");
    s.model = QStringLiteral("Pixel 8");
    s.androidRelease = QStringLiteral("14");
    s.batteryLevel = 12 + 19 * variant % 90;
    if (variant % 3 == 0)
        s.isCharging = true;
    s.storageTotalBytes = 128'000'000'000;
    s.storageUsedBytes = variant % 2 ? 120'000'000'000 : 64'000'000'000;
    s.storageFreeBytes = *s.storageTotalBytes - *s.storageUsedBytes;
    return s;
}

QString caseName(LinkState::Case c)
{
    static const char *names[] = {"working", "failed",  "adbMissing", "searching", "noDevice",  "unauthorized",
                                  "offline", "recovery", "sideload",  "fastboot",  "connected"};
    return QLatin1String(names[int(c)]);
}

QImage renderDevices()
{
    // Each state twice: without a snapshot, band at rest and the arc at 0°; with one, band
    // across the screen and the arc turned (busy states only show the arc).
    const QList<LinkState::Case> cases = allLinkStateCases();
    DeviceObject probe(LinkState::Case::connected);
    const QSize cell = probe.size() + QSize(0, 22);
    const int columns = 6;
    const int count = int(cases.size()) * 2;
    QImage img(QSize(columns * cell.width(), ((count + columns - 1) / columns) * cell.height() + 60),
               QImage::Format_ARGB32_Premultiplied);
    img.fill(Ink::canvas());
    QPainter p(&img);
    for (int i = 0; i < count; ++i) {
        const LinkState::Case c = cases[i / 2];
        const bool withSnapshot = i % 2;
        const LinkState state = c == LinkState::Case::working  ? LinkState::working(QStringLiteral("Отключение"))
                                : c == LinkState::Case::failed ? LinkState::failed(QStringLiteral("Сбой"))
                                                               : LinkState(c);
        DeviceObject object(state, withSnapshot ? std::optional(snapshotFor(i)) : std::nullopt);
        object.setAnimationPhase(withSnapshot ? 0.5 : 1, withSnapshot ? 100 : 0);
        const QPoint at((i % columns) * cell.width(), (i / columns) * cell.height());
        p.save();
        p.translate(at);
        object.paintFrame(p);
        p.restore();
        p.setPen(Ink::textSecondary());
        p.setFont(Typo::caption());
        p.drawText(QRect(at.x(), at.y() + cell.height() - 22, cell.width(), 20), Qt::AlignCenter,
                   caseName(c) + (withSnapshot ? QStringLiteral(" · снимок") : QString()));
    }
    // The sidebar glyphs of every state along the bottom.
    int x = 12;
    const int y = img.height() - 44;
    for (LinkState::Case c : cases) {
        DeviceGlyph glyph(c);
        p.save();
        p.translate(x, y);
        glyph.render(&p, QPoint(), QRegion(), QWidget::DrawChildren);
        p.restore();
        DeviceGlyph big(c, 36);
        p.save();
        p.translate(x + 30, y - 8);
        big.render(&p, QPoint(), QRegion(), QWidget::DrawChildren);
        p.restore();
        x += 90;
    }
    return img;
}

TEST(FeedbackGallery, RendersEveryViewInEveryAppearance)
{
    const QString dir = galleryFolder();
    for (const GalleryAppearance &k : kGalleryAppearances) {
        Theme::apply(k.scheme, k.increaseContrast);
        for (const char *name : {"feedback", "metrics"}) {
            A11y::setReduceMotion(true); // states show at once, loops stay still
            std::unique_ptr<QWidget> page(QLatin1String(name) == QLatin1String("feedback") ? buildFeedback()
                                                                                          : buildMetrics());
            page->resize(1200, page->sizeHint().height());
            page->show();
            QApplication::processEvents();
            // Then the moving parts as a frame of their animation would show them.
            A11y::setReduceMotion(false);
            for (Skeleton *s : page->findChildren<Skeleton *>(QStringLiteral("sweep")))
                s->setPhase(-0.3);
            const QString file = dir + QLatin1Char('/') + QLatin1String(name) + QLatin1Char('-') + Theme::key() +
                                 QStringLiteral(".png");
            EXPECT_EQ(GeometryWalk::seenFaults(page.get()), QStringList()) << file.toStdString();
            const QImage image = page->grab().toImage();
            ASSERT_TRUE(image.save(file)) << file.toStdString();
            EXPECT_GT(image.height(), 300);
        }
        A11y::setReduceMotion(false);
        const QImage devices = renderDevices();
        const QString file = dir + QStringLiteral("/device-") + Theme::key() + QStringLiteral(".png");
        ASSERT_TRUE(devices.save(file)) << file.toStdString();
    }
    Theme::apply(ColorScheme::dark, false);
    A11y::resetForTesting();
}

} // namespace
