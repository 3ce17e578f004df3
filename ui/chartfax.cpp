// The chart window's "Fax Graph": the enlarged picture, the number, and the send.
#include "ui/chartmain.h"

#include "charting/chart2d.h"
#include "fax/graphfax.h"
#include "ui/chartdialogs.h"

#include <QAction>

namespace {

// The fax picture's size: landscape, about 22.6 by 17.4 inches.
constexpr int kFaxWidthTwips = 32500;
constexpr int kFaxHeightTwips = 25000;

QFont arial(QFont font, int points)
{
    // Only the name and size change; bold, italic and the like stay as the user set them.
    font.setFamily(QStringLiteral("Arial"));
    font.setPointSize(points);
    return font;
}

} // namespace

void ChartMain::setFaxSender(GraphFaxSender *fax)
{
    m_fax = fax;
    m_actions.value(QStringLiteral("m_faxgraph"))->setEnabled(fax != nullptr);
}

QImage ChartMain::faxPicture()
{
    const QFont header = m_chart->headerFont();
    const QFont footer = m_chart->footerFont();
    const QFont xLabels = m_chart->axisLabelFont(ChartAxis::X);
    const int lineWidth = m_chart->seriesStyle(1, 1).lineWidth;

    m_chart->setHeaderFont(arial(header, 16));
    m_chart->setFooterFont(arial(footer, 16));
    m_chart->setAxisLabelFont(ChartAxis::X, arial(xLabels, 14));
    m_chart->setLineWidth(1, 1, 2);
    // Drawn off screen at the fax size, so the window itself never changes size.
    const QImage picture = m_chart->renderImage(
        QSize(kFaxWidthTwips / TwipsPerPixel, kFaxHeightTwips / TwipsPerPixel));

    // The series gets back the width it had, which need not be 1.
    m_chart->setHeaderFont(header);
    m_chart->setFooterFont(footer);
    m_chart->setAxisLabelFont(ChartAxis::X, xLabels);
    m_chart->setLineWidth(1, 1, lineWidth);
    return picture;
}

void ChartMain::faxGraph()
{
    if (!m_fax || !m_fax->mayStart() || !m_fax->prepare(faxPicture()))
        return;
    // The send belongs to the sender, not to this window, which may be closed meanwhile.
    QPointer<GraphFaxSender> fax(m_fax);
    m_dialogs.askText(this, QStringLiteral("Please enter fax number"), QString(),
                      [fax](const QString &number) {
                          if (fax)
                              fax->send(number);
                      });
}
