#pragma once

#include "bridge/AndroidPackage.h"

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QSet>
#include <QSize>

#include <optional>

class AppModel;

// Package icons decoded from the catalogue's icon bytes, once per package name until reset,
// for the life of the process. Only images at the sizes drawn are kept (never the decoded
// original), each also in the faded grey look of a package that is not enabled.
//
// The bytes come from the device, so they are not trusted: an image is decoded no larger than
// the largest size it is shown at (kLargestSide times the screens' pixel ratio) and within an
// allocation limit; one whose header announces a large picture is decoded on a worker thread
// and shows the kind tile until it is ready (`iconReady`). A failed decode is remembered for
// that package and those bytes, so a bad icon is not decoded again on every repaint.
//
// Main thread only: workers only turn bytes into an image.
class AppIconCache : public QObject {
    Q_OBJECT
public:
    // The inspector's icon, the largest place a package icon is shown.
    static constexpr qreal kLargestSide = 56;
    // Pictures with more pixels than this are decoded off the main thread.
    static constexpr qint64 kSynchronousPixels = 256 * 256;
    // What one decode may allocate for its image, and the largest picture decoded at all.
    static constexpr qint64 kAllocationLimitBytes = 32 * 1024 * 1024;
    static constexpr qint64 kMaxPixels = 64'000'000;

    static AppIconCache &shared();

    // The package's icon fitted into a `side` × `side` square at `devicePixelRatio` (faded and
    // grey when `faded`), or null when there is none yet: no icon bytes, bytes that do not
    // decode, or a large picture still being decoded. The bytes of the first lookup of a name
    // are the ones decoded, for every size, until reset().
    QPixmap pixmap(const AndroidPackage &package, qreal side, qreal devicePixelRatio, bool faded);
    // Whether an image of this package is held (at any size).
    bool contains(const QString &packageName) const;
    int count() const { return int(m_entries.size()); }
    // Decodes tried since the start (tests count them).
    int decodeCount() const { return m_decodes; }
    bool isPending(const QString &packageName) const;

    // Forgets every image and failure; decodes still running are dropped when they end.
    void reset();
    // Resets whenever `model` stores icon data read afresh from the device (a forced refresh):
    // images drawn from the older data are stale then.
    void follow(AppModel *model);

    // Decodes `bytes` into an image that fits `maxSide` pixels square, or a null image: also for
    // a picture that does not say its size, has more than kMaxPixels, or whose decoder would
    // allocate more than kAllocationLimitBytes (the whole picture, unless it scales while
    // reading). Thread-safe.
    static QImage decode(const QByteArray &bytes, int maxSide);
    // The decode size cap at a pixel ratio.
    static int pixelCap(qreal devicePixelRatio);
    // The greyscale, half-opaque look of a package that is not enabled.
    static QImage faded(const QImage &image);

Q_SIGNALS:
    // An icon decoded off the main thread is ready: views showing it repaint.
    void iconReady(const QString &packageName);
    // The cache was emptied.
    void cleared();

private:
    explicit AppIconCache(QObject *parent = nullptr);

    struct Sized {
        QPixmap normal;
        QPixmap faded;
    };
    struct Entry {
        QByteArray bytes;          // the bytes every size is decoded from
        QHash<int, Sized> images;  // by pixel side
    };
    // A decoded image for `pixelSide`, or null; starts a worker for a large picture.
    QImage decodeFor(const QString &name, const QByteArray &bytes, int pixelSide);
    void store(const QString &name, const QByteArray &bytes, int pixelSide, const QImage &image);

    QHash<QString, Entry> m_entries;
    QHash<QString, size_t> m_failed;      // name -> hash of the bytes that failed
    QSet<QPair<QString, int>> m_pending;  // name and pixel side being decoded by a worker
    quint64 m_generation = 0;
    int m_decodes = 0;
};
