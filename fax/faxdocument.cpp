// Chart picture to fax page: JPEG, two-colour BMP, then TIFF class F through libtiff.
#include "fax/faxdocument.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QTransform>

#include <tiffio.h>

namespace {

QImage toBlackAndWhite(const QImage &picture)
{
    return picture.convertToFormat(QImage::Format_Grayscale8)
        .convertToFormat(QImage::Format_Mono, Qt::MonoOnly | Qt::DiffuseDither);
}

// libtiff reports through global handlers; a writer that has failed says why here.
QString tiffFailure(const QString &faxPath, const char *step)
{
    return QStringLiteral("%1: libtiff could not %2").arg(faxPath, QLatin1String(step));
}

} // namespace

FaxResult saveGraphPictures(const QImage &chart, const QString &dir)
{
    if (chart.isNull())
        return FaxResult::failure(QStringLiteral("there is no chart picture"));
    const QString jpeg = QDir(dir).filePath(GraphPictureName);
    if (!chart.save(jpeg, "JPEG", 100))
        return FaxResult::failure(QStringLiteral("%1 could not be written").arg(jpeg));
    return saveMonoBitmap(jpeg, QDir(dir).filePath(MonoBitmapName));
}

FaxResult saveMonoBitmap(const QString &imagePath, const QString &bitmapPath)
{
    QImageReader reader(imagePath);
    const QImage picture = reader.read();
    if (picture.isNull())
        return FaxResult::failure(QStringLiteral("%1: %2").arg(imagePath, reader.errorString()));
    if (!toBlackAndWhite(picture).save(bitmapPath, "BMP"))
        return FaxResult::failure(QStringLiteral("%1 could not be written").arg(bitmapPath));
    return FaxResult::success();
}

QImage faxPageImage(const QImage &picture)
{
    QImage page(FaxPage::Width, FaxPage::Length, QImage::Format_Grayscale8);
    page.fill(255);
    if (picture.isNull())
        return page;
    QImage upright = picture.convertToFormat(QImage::Format_Grayscale8);
    if (upright.width() > upright.height())
        upright = upright.transformed(QTransform().rotate(90));

    // Fit in inches, then size in dots: the page's dots are not square (204 x 196 dpi).
    const double pageWidthIn = double(FaxPage::Width) / FaxPage::XDpi;
    const double pageLengthIn = double(FaxPage::Length) / FaxPage::YDpi;
    const double inchesPerPixel =
        qMin(pageWidthIn / upright.width(), pageLengthIn / upright.height());
    const int width =
        qBound(1, qRound(upright.width() * inchesPerPixel * FaxPage::XDpi), FaxPage::Width);
    const int length =
        qBound(1, qRound(upright.height() * inchesPerPixel * FaxPage::YDpi), FaxPage::Length);
    const QImage scaled =
        upright.scaled(width, length, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);

    QPainter painter(&page);
    painter.drawImage((FaxPage::Width - width) / 2, (FaxPage::Length - length) / 2, scaled);
    painter.end();
    return toBlackAndWhite(page).convertToFormat(QImage::Format_Grayscale8);
}

FaxResult writeFaxDocument(const QImage &page, const QString &faxPath)
{
    if (page.isNull() || page.format() != QImage::Format_Grayscale8)
        return FaxResult::failure(QStringLiteral("%1: no fax page to write").arg(faxPath));
    QFile::remove(faxPath);
    TIFF *tif = TIFFOpen(QFile::encodeName(faxPath).constData(), "w");
    if (!tif)
        return FaxResult::failure(tiffFailure(faxPath, "create the file"));

    const uint32_t width = uint32_t(page.width());
    const uint32_t length = uint32_t(page.height());
    TIFFSetField(tif, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, length);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(tif, TIFFTAG_FILLORDER, FILLORDER_LSB2MSB); // bit order on the fax line
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX3);
    // 1-D coding with each line's end code byte-aligned, as class F asks; efax sends no 2-D.
    TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, GROUP3OPT_FILLBITS);
    TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(tif, TIFFTAG_XRESOLUTION, float(FaxPage::XDpi));
    TIFFSetField(tif, TIFFTAG_YRESOLUTION, float(FaxPage::YDpi));
    TIFFSetField(tif, TIFFTAG_PAGENUMBER, uint16_t(0), uint16_t(1));
    // efax reads only the first strip of a page.
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, length);

    QByteArray line((width + 7) / 8, '\0');
    for (uint32_t y = 0; y < length; ++y) {
        const uchar *gray = page.constScanLine(int(y));
        line.fill('\0');
        for (uint32_t x = 0; x < width; ++x) {
            if (gray[x] < 128) // a black dot is a set bit
                line[x / 8] = char(uchar(line[x / 8]) | (0x80 >> (x % 8)));
        }
        if (TIFFWriteScanline(tif, line.data(), y, 0) < 0) {
            TIFFClose(tif);
            QFile::remove(faxPath);
            return FaxResult::failure(tiffFailure(faxPath, "write a line"));
        }
    }
    if (!TIFFWriteDirectory(tif)) {
        TIFFClose(tif);
        QFile::remove(faxPath);
        return FaxResult::failure(tiffFailure(faxPath, "write the page"));
    }
    TIFFClose(tif);
    return FaxResult::success();
}
