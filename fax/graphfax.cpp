// The graph fax steps.
#include "fax/graphfax.h"

#include "fax/faxdocument.h"

#include <QDir>

FaxResult prepareGraphFax(FaxDevice &fax, const QImage &chart, const QString &dir)
{
    const QDir folder(dir);
    FaxResult first;
    const auto keep = [&first](const FaxResult &r) {
        if (first.ok() && !r.ok())
            first = r;
    };
    if (!chart.isNull())
        keep(saveGraphPictures(chart, dir));
    else
        keep(saveMonoBitmap(folder.filePath(GraphPictureName), folder.filePath(MonoBitmapName)));
    const QString document = folder.filePath(FaxDocumentName);
    keep(fax.ImportFiles(document, folder.filePath(MonoBitmapName)));
    fax.setFaxFiles(document);
    return first;
}

FaxResult sendGraphFax(FaxDevice &fax, const QString &number)
{
    fax.setFaxNumber(number);
    return fax.SendFax();
}
