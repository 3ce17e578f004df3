// Faxing a graph: the steps around the fax component that the chart window's command takes.
#pragma once

#include "fax/faxdevice.h"

#include <QImage>
#include <QString>

// Writes "graph.jpg" from `chart` (or, given a null image, takes the "graph.jpg" already in
// `dir`), its two-colour "TestMono.BMP", and imports that into "GI2.FMF", which becomes the
// document to send. Every step is tried; the first failure is returned.
FaxResult prepareGraphFax(FaxDevice &fax, const QImage &chart, const QString &dir);

// Sends the prepared document to `number`. An empty or cancelled number sends nothing.
FaxResult sendGraphFax(FaxDevice &fax, const QString &number);
