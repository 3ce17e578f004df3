// Chart2D: pictures, clipboard, printing and the chart format file.
#include "charting/chart2d_p.h"
#include "charting/chartformat.h"

#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QMimeData>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>

QImage Chart2D::renderImage(QSize size) const
{
    d->ensureBuilt();
    return d->scene->render(size);
}

bool Chart2D::saveJpeg(const QString &path, int quality, bool grayscale, bool progressive,
                       bool optimize) const
{
    if (quality < 0 || quality > 100)
        return false;
    QImage image = renderImage(size());
    if (grayscale)
        image = image.convertToFormat(QImage::Format_Grayscale8);
    QImageWriter writer(path, "jpeg");
    writer.setQuality(quality);
    writer.setProgressiveScanWrite(progressive);
    writer.setOptimizedWrite(optimize);
    return writer.write(image);
}

bool Chart2D::copyToClipboard(ClipboardFormat format) const
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    const bool bitmap =
        format == ClipboardFormat::Bitmap || format == ClipboardFormat::BitmapAndVector;
    const bool vector =
        format == ClipboardFormat::Vector || format == ClipboardFormat::BitmapAndVector;
    if (!bitmap && !vector)
        return false;
    auto *mime = new QMimeData;
    if (bitmap)
        mime->setImageData(renderImage(size()));
    if (vector) {
        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&pdf);
            writer.setResolution(96);
            writer.setPageSize(QPageSize(QSizeF(size()), QPageSize::Point));
            writer.setPageMargins(QMarginsF());
            QPainter painter(&writer);
            if (!print(&painter, PrintFormat::Vector, PrintScaling::FitPage, 0, 0, writer.width(),
                       writer.height())) {
                delete mime;
                return false;
            }
        }
        mime->setData(QStringLiteral("application/pdf"), pdf.data());
    }
    clipboard->setMimeData(mime);
    const QMimeData *now = clipboard->mimeData();
    return now && (!bitmap || now->hasImage()) &&
           (!vector || now->hasFormat(QStringLiteral("application/pdf")));
}

bool Chart2D::print(QPaintDevice *device, PrintFormat format, PrintScaling scaling, int left,
                    int top, int width, int height) const
{
    if (!device)
        return false;
    QPainter painter(device);
    return print(&painter, format, scaling, left, top, width, height);
}

bool Chart2D::print(QPainter *painter, PrintFormat format, PrintScaling scaling, int left, int top,
                    int width, int height) const
{
    if (!painter || !painter->isActive() || width <= 0 || height <= 0)
        return false;
    if (format != PrintFormat::Picture && format != PrintFormat::Vector)
        return false;
    const QSizeF chart(size());
    if (chart.isEmpty())
        return false;
    // The chart's own size is in screen pixels at 96 per inch.
    const double dpi = painter->device() ? painter->device()->logicalDpiX() / 96.0 : 1.0;
    QSizeF target;
    switch (scaling) {
    case PrintScaling::Standard:
        target = chart * dpi;
        break;
    case PrintScaling::FitWidth:
        target = QSizeF(width, width * chart.height() / chart.width());
        break;
    case PrintScaling::FitHeight:
        target = QSizeF(height * chart.width() / chart.height(), height);
        break;
    case PrintScaling::FitPage:
        target = QSizeF(width, height);
        break;
    default:
        return false;
    }
    d->ensureBuilt();
    painter->save();
    painter->setClipRect(QRect(left, top, width, height), Qt::IntersectClip);
    painter->translate(left, top);
    if (format == PrintFormat::Vector) {
        painter->scale(target.width() / chart.width(), target.height() / chart.height());
        d->scene->paint(painter, size());
    } else {
        // Rendered at up to three times screen resolution: sharp on paper, not gigabytes.
        const double scale = std::clamp(target.width() / chart.width(), 1.0, 3.0);
        painter->drawImage(QRectF(QPointF(0, 0), target), d->scene->render(size(), scale));
    }
    painter->restore();
    return true;
}

bool Chart2D::saveFormat(const QString &path, QString *error) const
{
    ChartSettings s = d->s;
    s.widthTwips = widthTwips();
    s.heightTwips = heightTwips();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(chartFormatToJson(s)) < 0 ||
        !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool Chart2D::loadFormat(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    // A chart format is small; anything much larger is not one.
    if (file.size() > 16 * 1024 * 1024) {
        if (error)
            *error = QStringLiteral("The file is not a chart format file.");
        return false;
    }
    ChartSettings loaded;
    if (!chartFormatFromJson(file.readAll(), &loaded, error))
        return false;
    d->s = loaded;
    if (loaded.widthTwips > 0 && loaded.heightTwips > 0)
        resize(std::max(1, loaded.widthTwips / TwipsPerPixel),
               std::max(1, loaded.heightTwips / TwipsPerPixel));
    for (auto &v : d->view)
        v.reset();
    d->marker.reset();
    d->load(1);
    d->load(2);
    d->changed();
    return true;
}
