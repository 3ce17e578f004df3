// The graph fax steps, and the sender that the chart window's command drives.
#include "fax/graphfax.h"

#include "core/statusboard.h"
#include "fax/faxdocument.h"

#include <QDir>
#include <QFileInfo>

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

QString pagerHoldsModem(const QString &faxDevice, const QString &pagerDevice, bool pagerBusy)
{
    if (!pagerBusy || faxDevice.isEmpty() || pagerDevice.isEmpty())
        return {};
    const auto real = [](const QString &path) {
        const QString target = QFileInfo(path).canonicalFilePath();
        return target.isEmpty() ? path : target;
    };
    if (real(faxDevice) != real(pagerDevice))
        return {};
    return QStringLiteral("the pager is using the modem on %1; try again when the page is sent")
        .arg(faxDevice);
}

GraphFaxSender::GraphFaxSender(FaxDevice &fax, StatusBoard &status, const QString &programDir,
                               QObject *parent)
    : QObject(parent), m_fax(fax), m_status(status), m_dir(programDir)
{
    connect(&m_fax, &FaxDevice::sendFinished, this, &GraphFaxSender::finished);
}

bool GraphFaxSender::mayStart()
{
    QString why;
    if (m_sending)
        why = QStringLiteral("the fax to %1 is still being sent").arg(m_number);
    else if (m_modemBusy)
        why = m_modemBusy();
    if (why.isEmpty())
        return true;
    m_status.setStatusText(QStringLiteral("The graph was not faxed: %1.").arg(why));
    return false;
}

bool GraphFaxSender::prepare(const QImage &chart)
{
    // A failed step stops the fax: the next one would go on from the last fax's files and
    // send that graph again.
    const FaxResult prepared = prepareGraphFax(m_fax, chart, m_dir);
    if (prepared.ok())
        return true;
    m_status.setStatusText(
        QStringLiteral("The fax document could not be made: %1").arg(prepared.error));
    return false;
}

bool GraphFaxSender::send(const QString &number)
{
    const QString typed = number.trimmed();
    if (typed.isEmpty())
        return false;
    if (!mayStart())
        return false;
    const FaxResult started = sendGraphFax(m_fax, typed);
    if (!started.ok()) {
        m_status.setStatusText(QStringLiteral("The graph was not faxed: %1.").arg(started.error));
        return false;
    }
    m_number = typed;
    m_sending = true;
    m_status.setStatusText(QStringLiteral("Faxing the graph to %1").arg(typed));
    return true;
}

void GraphFaxSender::finished(bool sent, const QString &why)
{
    if (!m_sending)
        return;
    m_sending = false;
    if (sent)
        m_status.setStatusText(QStringLiteral("The graph was faxed to %1.").arg(m_number));
    else
        m_status.setStatusText(QStringLiteral("The fax to %1 failed: %2").arg(m_number, why));
}
