#include "design/Symbols.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "WidgetTestSupport.h"

namespace {

// Every symbol name the application's screens and controls ask for.
const char *const kUsedSymbols[] = {
    "exclamationmark.triangle.fill",
    "exclamationmark.triangle",
    "exclamationmark.circle.fill",
    "checkmark.circle.fill",
    "checkmark.circle",
    "checkmark.shield.fill",
    "checkmark.seal.fill",
    "checkmark.square.fill",
    "checkmark",
    "cable.connector",
    "cable.connector.slash",
    "bolt.fill",
    "bolt",
    "bolt.horizontal.circle.fill",
    "arrow.clockwise",
    "arrow.clockwise.circle",
    "arrow.triangle.2.circlepath",
    "arrow.uturn.backward.circle",
    "arrow.down.to.line",
    "arrow.left",
    "arrow.right",
    "arrow.right.circle",
    "arrow.up",
    "arrow.left.arrow.right",
    "person.crop.square",
    "gearshape.2",
    "gearshape.2.fill",
    "gearshape",
    "gearshape.fill",
    "gearshape.arrow.triangle.2.circlepath",
    "minus.circle",
    "minus.circle.fill",
    "hand.raised.fill",
    "hand.raised",
    "hand.raised.slash",
    "hand.tap",
    "waveform.path.ecg",
    "waveform",
    "shield.lefthalf.filled",
    "shield.lefthalf.filled.slash",
    "questionmark.circle.fill",
    "questionmark.circle",
    "questionmark",
    "pause.circle.fill",
    "pause.circle",
    "pause",
    "play.circle.fill",
    "play.fill",
    "play",
    "stop.circle.fill",
    "stop.fill",
    "lock.trianglebadge.exclamationmark.fill",
    "lock.fill",
    "xmark.circle",
    "xmark.circle.fill",
    "xmark.octagon.fill",
    "xmark.octagon",
    "xmark",
    "doc.on.doc",
    "doc.text",
    "doc.richtext",
    "doc",
    "folder.fill",
    "folder",
    "folder.badge.plus",
    "switch.2",
    "sun.max.fill",
    "sun.max",
    "moon.stars.fill",
    "moon",
    "square.and.arrow.down",
    "square.and.arrow.up",
    "shippingbox.fill",
    "shippingbox",
    "rectangle.stack.badge.play.fill",
    "rectangle.stack.badge.play",
    "rectangle.stack.badge.plus",
    "rectangle.on.rectangle",
    "key.fill",
    "internaldrive.fill",
    "externaldrive",
    "info.circle",
    "dot.radiowaves.left.and.right",
    "antenna.radiowaves.left.and.right",
    "circle.lefthalf.filled",
    "circle",
    "battery.0percent",
    "battery.25percent",
    "battery.25",
    "battery.50percent",
    "battery.75percent",
    "battery.100percent",
    "battery.100percent.bolt",
    "square.stack.3d.up.fill",
    "square.stack.3d.up",
    "square.stack.3d.up.slash",
    "square.on.square",
    "square.grid.2x2.fill",
    "square.grid.2x2",
    "square",
    "slider.horizontal.3",
    "server.rack",
    "text.alignleft",
    "terminal.fill",
    "terminal",
    "apple.terminal",
    "apple.logo",
    "star.fill",
    "star",
    "speaker.wave.2",
    "speaker.wave.1",
    "sidebar.right",
    "sidebar.left",
    "list.bullet.rectangle",
    "line.3.horizontal.decrease.circle",
    "iphone.gen3",
    "camera.viewfinder",
    "camera",
    "chevron.right",
    "chevron.down",
    "chevron.backward",
    "wrench.adjustable",
    "archivebox",
    "bookmark",
    "clock",
    "cpu",
    "ellipsis",
    "film",
    "flame",
    "hammer",
    "house",
    "ladybug",
    "laptopcomputer",
    "magnifyingglass",
    "memorychip",
    "number",
    "paintbrush",
    "photo",
    "power",
    "sparkles",
    "textformat",
    "trash",
    "wifi",
};

TEST(Symbols, EveryUsedNameHasAnIconThatRenders)
{
    for (const char *name : kUsedSymbols) {
        const QString n = QString::fromLatin1(name);
        ASSERT_TRUE(Symbols::contains(n)) << name;
        const QImage img = Symbols::pixmap(n, 16, Qt::red).toImage();
        ASSERT_FALSE(img.isNull()) << name;
        int inked = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                inked += qAlpha(img.pixel(x, y)) > 0;
        EXPECT_GT(inked, 4) << name << " renders blank";
    }
}

TEST(Symbols, IconsAreTintedAndUnknownNamesGiveNothing)
{
    const QImage img = Symbols::pixmap(QStringLiteral("checkmark.circle.fill"), 20, QColor(0x11, 0x87, 0x5A)).toImage();
    const QRgb centre = img.pixel(10, 4);
    EXPECT_EQ(qAlpha(centre), 255);
    EXPECT_EQ(qRed(centre), 0x11);
    EXPECT_EQ(qGreen(centre), 0x87);
    EXPECT_FALSE(Symbols::contains(QStringLiteral("no.such.symbol")));
    EXPECT_TRUE(Symbols::pixmap(QStringLiteral("no.such.symbol"), 16, Qt::red).isNull());
    EXPECT_EQ(Symbols::pixmap(QStringLiteral("star"), 16, Qt::red, 2).size(), QSize(32, 32));
}

// A symbol lands on whole device pixels at the size of its pixmap, so none of its rows or
// columns is lost to scaling, whatever size and place are asked for (0.44 of a 30 px button is
// 13.2 px, centred at a half pixel).
TEST(Symbols, DrawnPixelForPixelWhateverSizeAndPlace)
{
    const char *const names[] = {"doc.on.doc", "square.and.arrow.down", "sidebar.left", "trash"};
    const struct {
        qreal size;
        QPointF at;
    } places[] = {{13.2, {8.4, 8.4}}, {12.32, {7.84, 7.84}}, {11, {3, 3}}, {10.56, {2.5, 4.25}}, {13.2, {0.3, 0.7}}};
    for (const qreal dpr : {1.0, 2.0})
        for (const char *name : names)
            for (const auto &place : places) {
                const QString n = QString::fromLatin1(name);
                QImage image(QSize(32, 32) * dpr, QImage::Format_ARGB32_Premultiplied);
                image.setDevicePixelRatio(dpr);
                image.fill(Qt::transparent);
                {
                    QPainter p(&image);
                    p.setRenderHint(QPainter::Antialiasing);
                    Symbols::paint(p, n, QRectF(place.at, QSizeF(place.size, place.size)), place.size, Qt::white);
                }
                const QPixmap glyph = Symbols::pixmap(n, place.size, Qt::white, dpr);
                EXPECT_EQ(ink(image), ink(glyph.toImage()))
                    << name << " at " << place.size << " px, " << place.at.x() << "," << place.at.y() << ", ratio " << dpr;
            }
}

} // namespace

