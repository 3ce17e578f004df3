// "&Math": the active series' statistics, and for a flow series its total cost.
#include "ui/chartmain.h"

#include "charting/chart2d.h"
#include "ui/chartdialogs.h"
#include "ui/waitform.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPointer>

void ChartMain::Math()
{
    const int g = activeGroup();
    const int s = activeSeries();
    const QListWidgetItem *item = seriesList(g)->currentItem();
    const QString name = item ? item->text() : QString();
    m_wait->runAfterWait([this, g, s, name] {
        const std::optional<SeriesStatistics> stats = computeStatistics(m_chart->yValues(g, s));
        showStatistics(stats);
        if (stats) // a series without points has no figures to offer
            offerCost(name, *stats);
    });
}

void ChartMain::showStatistics(const std::optional<SeriesStatistics> &s)
{
    const QString none = QStringLiteral("N/A");
    m_minimum->setText(s ? plainNumber(s->minimum) : none);
    m_maximum->setText(s ? plainNumber(s->maximum) : none);
    m_average->setText(s ? plainNumber(s->average) : none);
    m_stdDev->setText(s ? plainNumber(s->standardDeviation) : none);
}

void ChartMain::offerCost(const QString &series, const SeriesStatistics &s)
{
    if (!isFlowSeries(series)) {
        offerFooter(series, s, std::nullopt);
        return;
    }
    QPointer<ChartMain> self(this);
    m_dialogs.askYesNo(
        this, QStringLiteral("Would you like to calculate total cost?"),
        [self, series, s](bool yes) {
            if (!self)
                return;
            if (!yes) {
                self->offerFooter(series, s, std::nullopt);
                return;
            }
            self->m_dialogs.askText(
                self, QStringLiteral("Enter sample rate of database in minutes?"),
                QStringLiteral("15"), [self, series, s](const QString &rate) {
                    if (!self)
                        return;
                    const std::optional<Currency> cost = totalCost(s, rate, self->m_price->text());
                    if (!cost) // no number for the rate or the price: no cost, no footer
                        return;
                    self->m_totalCost->setText(formatCurrency(*cost));
                    self->offerFooter(series, s, cost);
                });
        });
}

void ChartMain::offerFooter(const QString &series, const SeriesStatistics &s,
                            std::optional<Currency> cost)
{
    QPointer<ChartMain> self(this);
    m_dialogs.askYesNo(this, QStringLiteral("Add Math Figures To Chart Footer?"),
                       [self, series, s, cost](bool yes) {
                           if (self && yes)
                               self->m_chart->setFooterText(mathFooter(series, s, cost));
                       });
}
