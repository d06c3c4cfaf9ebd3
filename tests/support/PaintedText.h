#pragma once

// For widget tests only (they link Qt Gui).
#include <QFont>
#include <QList>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QTextItem>
#include <QWidget>

#include <algorithm>
#include <memory>

// A paint device that keeps the texts handed to the painter instead of pixels: each run of
// text (Qt hands text over in runs of one script and format) with where its baseline begins, in
// the device's coordinates. A test paints a widget or a delegate onto it and reads what was
// drawn as text, whatever fonts the machine has.
class PaintedText : public QPaintDevice {
public:
    struct Run {
        QString text;
        QPointF at; // the baseline's start
        QFont font;
    };

    explicit PaintedText(QSize size = {1600, 1200}) : m_size(size), m_engine(std::make_unique<Engine>(this)) {}
    ~PaintedText() override = default;

    // What `widget` draws with its children, in its own coordinates.
    static std::unique_ptr<PaintedText> of(QWidget &widget)
    {
        auto painted = std::make_unique<PaintedText>(widget.size());
        widget.render(painted.get(), QPoint(), QRegion(), QWidget::DrawChildren);
        return painted;
    }

    QList<Run> runs;

    // Every run's text, in the order drawn.
    QStringList texts() const
    {
        QStringList out;
        for (const Run &r : runs)
            out << r.text;
        return out;
    }
    // The runs whose baseline starts inside `area`, joined in the order drawn.
    QString textIn(const QRectF &area) const
    {
        QString out;
        for (const Run &r : runs)
            if (area.contains(r.at))
                out += r.text;
        return out;
    }
    // The distinct baselines of the runs inside `area`: one per line of text drawn there.
    int linesIn(const QRectF &area) const
    {
        QList<qreal> ys;
        for (const Run &r : runs)
            if (area.contains(r.at) && !ys.contains(r.at.y()))
                ys << r.at.y();
        return int(ys.size());
    }
    // Whether some drawn run contains `text`.
    bool drew(const QString &text) const
    {
        return std::any_of(runs.begin(), runs.end(), [&](const Run &r) { return r.text.contains(text); });
    }

    QPaintEngine *paintEngine() const override { return m_engine.get(); }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth: return m_size.width();
        case PdmHeight: return m_size.height();
        case PdmWidthMM: return m_size.width() * 254 / 960;
        case PdmHeightMM: return m_size.height() * 254 / 960;
        case PdmNumColors: return 1 << 24;
        case PdmDepth: return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return 96;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    class Engine : public QPaintEngine {
    public:
        explicit Engine(PaintedText *device) : QPaintEngine(QPaintEngine::AllFeatures), m_device(device) {}
        bool begin(QPaintDevice *) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState &state) override
        {
            if (state.state() & QPaintEngine::DirtyTransform)
                m_transform = state.transform();
            if (state.state() & QPaintEngine::DirtyFont)
                m_font = state.font();
        }
        void drawTextItem(const QPointF &p, const QTextItem &item) override
        {
            m_device->runs.append({item.text(), m_transform.map(p), item.font()});
        }
        void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
        void drawPath(const QPainterPath &) override {}
        void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
        void drawImage(const QRectF &, const QImage &, const QRectF &, Qt::ImageConversionFlags) override {}
        void drawTiledPixmap(const QRectF &, const QPixmap &, const QPointF &) override {}
        Type type() const override { return QPaintEngine::User; }

    private:
        PaintedText *m_device;
        QTransform m_transform;
        QFont m_font;
    };

    QSize m_size;
    std::unique_ptr<Engine> m_engine;
};
