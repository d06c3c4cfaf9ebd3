#include "screens/packages/AppIconCache.h"
#include "screens/packages/PackageIconView.h"

#include "ApplicationsHarness.h"

#include "design/Ink.h"

#include <QPainter>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

struct Fresh {
    AppIconCache &cache = AppIconCache::shared();
    Fresh() { cache.reset(); }
    ~Fresh() { cache.reset(); }
};

AndroidPackage withIcon(const QString &name, std::optional<QByteArray> bytes, PackageState state = PackageState::enabled)
{
    return package(name, name, PackageKind::user, state, 1000, std::move(bytes));
}

QRgb centre(const QPixmap &pixmap)
{
    const QImage image = pixmap.toImage();
    return image.pixel(image.width() / 2, image.height() / 2);
}

quint32 crc32(const QByteArray &data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : data) {
        crc ^= quint8(byte);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void appendChunk(QByteArray &png, const char *type, const QByteArray &data)
{
    const auto be32 = [](quint32 v) {
        const char bytes[] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
        return QByteArray(bytes, 4);
    };
    png += be32(quint32(data.size()));
    const QByteArray body = QByteArray(type) + data;
    png += body;
    png += be32(crc32(body));
}

// A PNG whose header announces `width` × `height` pixels and whose pixel data is missing: what a
// hostile device could send to make a naive decoder allocate gigabytes.
QByteArray announcedPng(quint32 width, quint32 height)
{
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    for (quint32 v : {width, height}) {
        const char bytes[] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
        header += QByteArray(bytes, 4);
    }
    header += QByteArray("\x08\x06\x00\x00\x00", 5); // 8-bit RGBA, no interlace
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", QByteArray("\x78\x9c\x03\x00\x00\x00\x00\x01", 8));
    appendChunk(png, "IEND", {});
    return png;
}

TEST(AppIconCache, MissingAndBadIconBytesShowTheKindTileAndAreNotStored)
{
    Fresh f;
    for (const std::optional<QByteArray> &bytes : {std::optional<QByteArray>(), std::optional<QByteArray>(QByteArray()),
                                                   std::optional<QByteArray>(QByteArray("not an image"))}) {
        const AndroidPackage p = withIcon(QStringLiteral("com.example.none"), bytes);
        EXPECT_TRUE(f.cache.pixmap(p, 28, 1, false).isNull());
        EXPECT_EQ(f.cache.count(), 0);
        PackageIconView view(p, 40);
        EXPECT_FALSE(view.showsImage());
    }
    // The tile's measures at 40 px.
    EXPECT_DOUBLE_EQ(PackageIconView::tileRadius(40), 9.6);
    EXPECT_DOUBLE_EQ(PackageIconView::glyphSize(40), 18);
}

TEST(AppIconCache, AFailedDecodeIsRememberedForThoseBytesUntilReset)
{
    Fresh f;
    const AndroidPackage bad = withIcon(QStringLiteral("com.example.bad"), QByteArray("\x89PNG broken", 11));
    const int before = f.cache.decodeCount();
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(f.cache.pixmap(bad, 28, 1, false).isNull());
    // Repaints do not decode the same bad bytes again.
    EXPECT_EQ(f.cache.decodeCount(), before + 1);

    // Other bytes for the same package are tried.
    const AndroidPackage fixed = withIcon(bad.name, pngBytes(Qt::green));
    EXPECT_FALSE(f.cache.pixmap(fixed, 28, 1, false).isNull());
    EXPECT_EQ(f.cache.decodeCount(), before + 2);

    f.cache.reset();
    EXPECT_TRUE(f.cache.pixmap(bad, 28, 1, false).isNull());
    EXPECT_EQ(f.cache.decodeCount(), before + 3);
}

TEST(AppIconCache, OnlyImagesAtTheDrawnSizeAreKeptAndNewBytesWaitForReset)
{
    Fresh f;
    const AndroidPackage red = withIcon(QStringLiteral("com.example.icon"), pngBytes(Qt::red, 112));
    const QPixmap first = f.cache.pixmap(red, 28, 1, false);
    ASSERT_FALSE(first.isNull());
    // Scaled when decoded: never the 112 px original.
    EXPECT_EQ(first.size(), QSize(28, 28));
    EXPECT_EQ(f.cache.pixmap(red, 28, 2, false).size(), QSize(56, 56));
    EXPECT_EQ(f.cache.pixmap(red, 56, 1, false).size(), QSize(56, 56));
    EXPECT_EQ(qRed(centre(first)), 255);

    // The same name with new bytes (another device, or new metadata): the first image stays, at
    // every size, until the cache is reset.
    const AndroidPackage blue = withIcon(red.name, pngBytes(Qt::blue, 112));
    const int decodes = f.cache.decodeCount();
    EXPECT_EQ(qRed(centre(f.cache.pixmap(blue, 28, 1, false))), 255);
    EXPECT_EQ(qRed(centre(f.cache.pixmap(blue, 36, 1, false))), 255);
    EXPECT_EQ(f.cache.decodeCount(), decodes + 1); // the new size only
    QSignalSpy cleared(&f.cache, &AppIconCache::cleared);
    f.cache.reset();
    EXPECT_EQ(cleared.count(), 1);
    EXPECT_EQ(qBlue(centre(f.cache.pixmap(blue, 28, 1, false))), 255);
}

TEST(AppIconCache, PackagesThatAreNotEnabledAreDrawnHalfOpaqueAndGrey)
{
    Fresh f;
    const struct {
        PackageState state;
        bool faded;
    } cases[] = {{PackageState::enabled, false}, {PackageState::disabled, true}, {PackageState::removedForUser, true}};
    for (const auto &c : cases) {
        for (const std::optional<QByteArray> &bytes : {std::optional<QByteArray>(pngBytes(Qt::red)),
                                                       std::optional<QByteArray>()}) {
            const AndroidPackage p = withIcon(QStringLiteral("com.example.s%1").arg(int(c.state)), bytes, c.state);
            QImage canvas(40, 40, QImage::Format_ARGB32_Premultiplied);
            canvas.fill(Qt::transparent);
            {
                QPainter painter(&canvas);
                PackageIconView::paint(painter, QRectF(0, 0, 40, 40), p, 40);
            }
            SCOPED_TRACE(int(c.state));
            if (bytes) {
                const QColor pixel = canvas.pixelColor(20, 20);
                EXPECT_EQ(pixel.alpha(), c.faded ? 127 : 255);
                EXPECT_EQ(pixel.red() == pixel.green() && pixel.green() == pixel.blue(), c.faded);
            } else {
                // The tile's fill, clear of the glyph: half as opaque when faded.
                const int alpha = canvas.pixelColor(5, 20).alpha();
                const int full = qAlpha(Ink::surfaceSunken().rgba());
                EXPECT_NEAR(alpha, c.faded ? full / 2 : full, 2);
            }
        }
    }
}

TEST(AppIconCache, ALargePictureIsDecodedOffTheMainThreadWithinTheSizeCap)
{
    Fresh f;
    const AndroidPackage big = withIcon(QStringLiteral("com.example.big"), pngBytes(Qt::magenta, 1600));
    QSignalSpy ready(&f.cache, &AppIconCache::iconReady);
    // The kind tile until the worker is done.
    EXPECT_TRUE(f.cache.pixmap(big, 56, 1, false).isNull());
    EXPECT_TRUE(f.cache.isPending(big.name));
    EXPECT_TRUE(f.cache.pixmap(big, 56, 1, false).isNull());
    ASSERT_TRUE(waitUntil([&] { return ready.count() == 1; }));
    EXPECT_EQ(ready.first().first().toString(), big.name);
    const QPixmap shown = f.cache.pixmap(big, 56, 1, false);
    ASSERT_FALSE(shown.isNull());
    EXPECT_LE(std::max(shown.width(), shown.height()), AppIconCache::pixelCap(1));
    EXPECT_EQ(qGreen(centre(shown)), 0);
    // A decode that a reset overtook is dropped when it ends.
    const AndroidPackage other = withIcon(QStringLiteral("com.example.big2"), pngBytes(Qt::cyan, 1600));
    EXPECT_TRUE(f.cache.pixmap(other, 56, 1, false).isNull());
    f.cache.reset();
    const AndroidPackage marker = withIcon(QStringLiteral("com.example.big3"), pngBytes(Qt::yellow, 1600));
    EXPECT_TRUE(f.cache.pixmap(marker, 56, 1, false).isNull());
    ASSERT_TRUE(waitUntil([&] { return f.cache.contains(marker.name); }));
    EXPECT_FALSE(f.cache.contains(other.name));
}

TEST(AppIconCache, AnImageAnnouncingHugeDimensionsFailsWithoutAllocatingThem)
{
    Fresh f;
    const AndroidPackage hostile = withIcon(QStringLiteral("com.example.hostile"), announcedPng(40000, 40000));
    QSignalSpy ready(&f.cache, &AppIconCache::iconReady);
    EXPECT_TRUE(f.cache.pixmap(hostile, 28, 1, false).isNull());
    ASSERT_TRUE(waitUntil([&] { return ready.count() == 1; }));
    EXPECT_FALSE(f.cache.contains(hostile.name));
    const int decodes = f.cache.decodeCount();
    EXPECT_TRUE(f.cache.pixmap(hostile, 28, 1, false).isNull());
    EXPECT_EQ(f.cache.decodeCount(), decodes);
    // Directly, the decoder refuses it as well.
    EXPECT_TRUE(AppIconCache::decode(announcedPng(40000, 40000), 56).isNull());
}

TEST(AppIconCache, APictureItsDecoderWouldMakeWholeBeyondTheLimitIsRefused)
{
    // BMP pictures are read whole before scaling: 3000 × 3000 × 4 bytes is 34 MiB. Qt itself
    // would decode it.
    QImage picture(3000, 3000, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "BMP");
    picture = QImage();
    EXPECT_FALSE(QImage::fromData(bmp).isNull());
    EXPECT_TRUE(AppIconCache::decode(bmp, 56).isNull());
    // A PNG of the same size is scaled while it is read, so it stays within the limit.
    const QImage png = AppIconCache::decode(pngBytes(Qt::darkGreen, 3000), 56);
    EXPECT_EQ(png.size(), QSize(56, 56));
}

} // namespace
