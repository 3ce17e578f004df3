// The small sample pictures beside the graph style choice of the setup dialog.
#pragma once

#include <QPixmap>
#include <QSize>

// Style 0 "Standard": a day's curve over a plain grid. Style 1 "with Date/Time": the same
// with times along the axis and the date above. Any other style gives a null pixmap.
QPixmap graphStyleSample(int style, QSize size = QSize(200, 120));
