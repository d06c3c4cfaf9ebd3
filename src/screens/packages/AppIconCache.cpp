#include "AppIconCache.h"

#include "core/AppModel.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImageReader>
#include <QPointer>
#include <QtConcurrent>

#include <algorithm>
#include <cmath>

AppIconCache::AppIconCache(QObject *parent) : QObject(parent) {}

AppIconCache &AppIconCache::shared()
{
    static QPointer<AppIconCache> instance;
    if (!instance)
        instance = new AppIconCache(QCoreApplication::instance());
    return *instance;
}

int AppIconCache::pixelCap(qreal devicePixelRatio)
{
    // The screens' largest ratio is read once per ratio asked for.
    static qreal askedFor = -1;
    static int cap = 0;
    if (devicePixelRatio != askedFor) {
        const qreal screens = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
        cap = int(std::ceil(kLargestSide * std::max({devicePixelRatio, screens, 1.0})));
        askedFor = devicePixelRatio;
    }
    return cap;
}

QImage AppIconCache::decode(const QByteArray &bytes, int maxSide)
{
    if (bytes.isEmpty() || maxSide < 1)
        return {};
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(&buffer);
    // The size in the header bounds what decoding costs; without one nothing does.
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty() || qint64(size.width()) * size.height() > kMaxPixels)
        return {};
    QSize target = size;
    if (size.width() > maxSide || size.height() > maxSide) {
        target = size.scaled(maxSide, maxSide, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
        reader.setScaledSize(target);
    }
    // A decoder that cannot scale while reading makes the whole picture first.
    const QSize allocated = reader.supportsOption(QImageIOHandler::ScaledSize) ? target : size;
    if (qint64(allocated.width()) * allocated.height() * 4 > kAllocationLimitBytes)
        return {};
    QImage image = reader.read();
    if (image.isNull())
        return {};
    if (image.width() > maxSide || image.height() > maxSide)
        image = image.scaled(maxSide, maxSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage AppIconCache::faded(const QImage &image)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = line[x];
            // Premultiplied channels stay consistent under a weighted sum and a common factor.
            const int grey = (qRed(p) * 11 + qGreen(p) * 16 + qBlue(p) * 5) / 32;
            line[x] = qRgba(grey / 2, grey / 2, grey / 2, qAlpha(p) / 2);
        }
    }
    return out;
}

bool AppIconCache::contains(const QString &packageName) const
{
    const auto it = m_entries.constFind(packageName);
    return it != m_entries.constEnd() && !it->images.isEmpty();
}

bool AppIconCache::isPending(const QString &packageName) const
{
    return std::any_of(m_pending.cbegin(), m_pending.cend(),
                       [&](const QPair<QString, int> &key) { return key.first == packageName; });
}

void AppIconCache::reset()
{
    m_entries.clear();
    m_failed.clear();
    m_pending.clear();
    ++m_generation;
    Q_EMIT cleared();
}

void AppIconCache::follow(AppModel *model)
{
    model->observe(model->metadataGeneration, this, [this] { reset(); });
}

QPixmap AppIconCache::pixmap(const AndroidPackage &package, qreal side, qreal devicePixelRatio, bool fade)
{
    const int pixelSide = std::clamp(int(std::lround(side * devicePixelRatio)), 1, pixelCap(devicePixelRatio));
    QByteArray bytes;
    if (const auto entry = m_entries.find(package.name); entry != m_entries.end()) {
        if (const auto sized = entry->images.find(pixelSide); sized != entry->images.end()) {
            if (!fade)
                return sized->normal;
            if (sized->faded.isNull())
                sized->faded = QPixmap::fromImage(faded(sized->normal.toImage()));
            return sized->faded;
        }
        bytes = entry->bytes;
    } else {
        if (!package.iconData || package.iconData->isEmpty())
            return {};
        bytes = *package.iconData;
    }
    if (const auto failed = m_failed.constFind(package.name);
        failed != m_failed.constEnd() && *failed == qHash(bytes))
        return {};
    if (decodeFor(package.name, bytes, pixelSide).isNull())
        return {};
    return pixmap(package, side, devicePixelRatio, fade); // now held
}

QImage AppIconCache::decodeFor(const QString &name, const QByteArray &bytes, int pixelSide)
{
    const QPair<QString, int> key(name, pixelSide);
    if (m_pending.contains(key))
        return {};
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const QSize announced = QImageReader(&buffer).size();
    const bool large = bytes.size() > 1024 * 1024
        || (announced.isValid() && qint64(announced.width()) * announced.height() > kSynchronousPixels);
    ++m_decodes;
    if (!large) {
        const QImage image = decode(bytes, pixelSide);
        store(name, bytes, pixelSide, image);
        return image;
    }
    m_pending.insert(key);
    const quint64 generation = m_generation;
    QtConcurrent::run(&AppIconCache::decode, bytes, pixelSide)
        .then(this, [this, name, bytes, pixelSide, key, generation](const QImage &image) {
            if (generation != m_generation)
                return; // reset meanwhile: these bytes may be stale
            m_pending.remove(key);
            store(name, bytes, pixelSide, image);
            Q_EMIT iconReady(name);
        });
    return {};
}

void AppIconCache::store(const QString &name, const QByteArray &bytes, int pixelSide, const QImage &image)
{
    if (image.isNull()) {
        m_failed.insert(name, qHash(bytes));
        return;
    }
    Entry &entry = m_entries[name];
    if (entry.images.isEmpty())
        entry.bytes = bytes;
    entry.images.insert(pixelSide, Sized{QPixmap::fromImage(image), QPixmap()});
}
