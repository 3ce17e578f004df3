// Chart2D: mouse bindings and the chart actions they perform.
#include "charting/chart2d_p.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QRubberBand>

#include <cmath>

namespace {

constexpr ChartAxis allAxes[] = {ChartAxis::X, ChartAxis::Y, ChartAxis::Y2};

// Keyboard state as binding modifiers: 4 Shift, 8 Control (the Windows MK_ values).
int keyModifiers(Qt::KeyboardModifiers mods)
{
    return (mods & Qt::ShiftModifier ? 4 : 0) | (mods & Qt::ControlModifier ? 8 : 0);
}

int buttonModifiers(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0);
}

// Windows virtual-key codes for the keys a binding may name.
int virtualKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Delete:
        return 46;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    default:
        break;
    }
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return qtKey;
    return 0;
}

} // namespace

void Chart2D::clearMouseBindings()
{
    d->s.bindings.clear();
}

void Chart2D::addMouseBinding(const MouseBinding &binding)
{
    d->s.bindings.append(binding);
}

QVector<MouseBinding> Chart2D::mouseBindings() const
{
    return d->s.bindings;
}

bool Chart2D::performAction(int action, QPoint pixel)
{
    Private &p = *d;
    switch (ChartAction(action)) {
    case ChartAction::StartDrag:
        p.ensureBuilt();
        p.dragging = true;
        p.dragStart = pixel;
        for (ChartAxis a : allAxes)
            p.dragRanges[size_t(a)] = p.scene->range(a);
        p.dragDepth = p.s.depth;
        p.dragElevation = p.s.elevation;
        p.dragRotation = p.s.rotation;
        return true;
    case ChartAction::EndDrag:
        p.dragging = false;
        return true;
    case ChartAction::Rotate:
    case ChartAction::Depth:
        if (p.dragging) {
            const QPoint delta = pixel - p.dragStart;
            if (ChartAction(action) == ChartAction::Rotate) {
                p.s.rotation = std::clamp(p.dragRotation + delta.x() / 3, -90, 90);
                p.s.elevation = std::clamp(p.dragElevation - delta.y() / 3, -90, 90);
            } else {
                p.s.depth = std::clamp(p.dragDepth - delta.y() / 4, 0, 100);
            }
            p.viewChanged();
        }
        return true;
    case ChartAction::Scale:
    case ChartAction::Move:
        if (p.dragging) {
            const QRect area = p.scene->plotArea();
            const QPoint delta = pixel - p.dragStart;
            for (ChartAxis a : allAxes) {
                const auto [lo, hi] = p.dragRanges[size_t(a)];
                const bool horizontal = a == ChartAxis::X;
                const double pixels = horizontal ? area.width() : area.height();
                const double moved = horizontal ? delta.x() : -delta.y();
                if (pixels <= 0)
                    continue;
                if (ChartAction(action) == ChartAction::Move) {
                    const double shift = moved / pixels * (hi - lo);
                    p.view[size_t(a)] = std::make_pair(lo - shift, hi - shift);
                } else {
                    // Dragging right or up stretches the picture about the start point.
                    const double factor = std::exp(-moved / 200.0);
                    const double c =
                        p.scene->pixelToValue(a, horizontal ? p.dragStart.x() : p.dragStart.y());
                    p.view[size_t(a)] =
                        std::make_pair(c + (lo - c) * factor, c + (hi - c) * factor);
                }
            }
            p.viewChanged();
        }
        return true;
    case ChartAction::ZoomStart:
        p.ensureBuilt();
        p.zooming = true;
        p.zoomStart = pixel;
        if (!p.band)
            p.band = new QRubberBand(QRubberBand::Rectangle, p.scene->widget());
        p.band->setGeometry(QRect(pixel, QSize()));
        p.band->show();
        return true;
    case ChartAction::ZoomExtend:
        if (p.zooming && p.band)
            p.band->setGeometry(QRect(p.zoomStart, pixel).normalized());
        return true;
    case ChartAction::ZoomEnd: {
        if (!p.zooming)
            return true;
        p.zooming = false;
        if (p.band)
            p.band->hide();
        const QRect box = QRect(p.zoomStart, pixel).normalized();
        if (box.width() < 3 || box.height() < 3)
            return true; // a click, not a box
        for (ChartAxis a : allAxes) {
            const bool horizontal = a == ChartAxis::X;
            double lo = p.scene->pixelToValue(a, horizontal ? box.left() : box.bottom());
            double hi = p.scene->pixelToValue(a, horizontal ? box.right() : box.top());
            if (lo > hi)
                std::swap(lo, hi);
            p.view[size_t(a)] = std::make_pair(lo, hi);
        }
        p.viewChanged();
        return true;
    }
    case ChartAction::ZoomCancel:
        p.zooming = false;
        if (p.band)
            p.band->hide();
        return true;
    case ChartAction::Reset:
        p.zooming = p.dragging = false;
        if (p.band)
            p.band->hide();
        for (auto &v : p.view)
            v.reset();
        p.changed();
        return true;
    case ChartAction::Pick: {
        int bestGroup = 0, bestSeries = 0, bestPoint = -1;
        double bestDistance = std::numeric_limits<double>::infinity();
        for (int g = 1; g <= 2; ++g) {
            for (int s = 1; s <= boundFieldCount(g); ++s) {
                const int point = nearestPoint(g, s, pixel);
                QPointF at;
                if (point < 0 || !p.scene->pointPixel(g, s, point, &at))
                    continue;
                const double dist = std::hypot(at.x() - pixel.x(), at.y() - pixel.y());
                if (dist < bestDistance) {
                    bestDistance = dist;
                    bestGroup = g;
                    bestSeries = s;
                    bestPoint = point;
                }
            }
        }
        if (bestPoint >= 0)
            emit pointPicked(bestGroup, bestSeries, bestPoint);
        return true;
    }
    }
    return false;
}

bool Chart2D::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != d->scene->widget())
        return QWidget::eventFilter(watched, event);
    int message = 0, modifier = 0, key = 0;
    QPoint at;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove: {
        auto *me = static_cast<QMouseEvent *>(event);
        at = me->position().toPoint();
        d->buttons = me->buttons();
        emit mouseAt(at.x() * TwipsPerPixel, at.y() * TwipsPerPixel);
        if (event->type() == QEvent::MouseMove) {
            message = ChartMessage::MouseMove;
            modifier = buttonModifiers(me->buttons()) | keyModifiers(me->modifiers());
        } else {
            const bool press = event->type() == QEvent::MouseButtonPress;
            if (me->button() == Qt::LeftButton)
                message = press ? ChartMessage::LeftButtonDown : ChartMessage::LeftButtonUp;
            else if (me->button() == Qt::RightButton)
                message = press ? ChartMessage::RightButtonDown : ChartMessage::RightButtonUp;
            modifier = keyModifiers(me->modifiers());
        }
        break;
    }
    case QEvent::KeyPress: {
        auto *ke = static_cast<QKeyEvent *>(event);
        message = ChartMessage::KeyDown;
        key = virtualKey(ke->key());
        modifier = buttonModifiers(d->buttons) | keyModifiers(ke->modifiers());
        at = d->scene->widget()->mapFromGlobal(QCursor::pos());
        break;
    }
    default:
        return QWidget::eventFilter(watched, event);
    }
    bool handled = false;
    for (const MouseBinding &b : std::as_const(d->s.bindings)) {
        if (b.message == message && b.modifier == modifier && (message != 256 || b.key == key))
            handled = performAction(b.action, at) || handled;
    }
    return handled;
}
