// The files of a graph fax: the chart picture, its two-colour bitmap and the fax document.
#pragma once

#include "fax/faxdevice.h"

#include <QImage>
#include <QString>

// Their names in the program directory.
inline const QString GraphPictureName = QStringLiteral("graph.jpg");
inline const QString MonoBitmapName = QStringLiteral("TestMono.BMP");
inline const QString FaxDocumentName = QStringLiteral("GI2.FMF");

// A fax page: 1728 dots across at 204 dpi, 196 lines per inch (fine), U.S. letter length.
struct FaxPage
{
    static constexpr int Width = 1728;
    static constexpr int Length = 2156; // 11 inches
    static constexpr int XDpi = 204;
    static constexpr int YDpi = 196;
};

// Writes `chart` to "graph.jpg" (quality 100) in `dir`, then its two-colour form to
// "TestMono.BMP".
FaxResult saveGraphPictures(const QImage &chart, const QString &dir);
// Writes the two-colour form of the picture `imagePath` to the BMP file `bitmapPath`.
FaxResult saveMonoBitmap(const QString &imagePath, const QString &bitmapPath);

// The picture turned into one fax page: a landscape picture is turned a quarter to fill the
// portrait page, scaled to fit within it keeping its proportions, centred and dithered to
// black and white. Grayscale8, 0 black and 255 white, FaxPage::Width x FaxPage::Length.
QImage faxPageImage(const QImage &picture);

// Writes `page` (as faxPageImage gives it) to `faxPath` as a TIFF class F file: one
// CCITT Group 3 (1-D) strip per page, as efax reads it.
FaxResult writeFaxDocument(const QImage &page, const QString &faxPath);
