// The wait window: a continuation on the clock's timer instead of a wait loop.
#include "ui/waitform.h"

#include "core/clock.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

WaitForm::WaitForm(Clock &clock, QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::FramelessWindowHint), m_timer(clock.createTimer())
{
    setObjectName(QStringLiteral("WaitForm"));
    setWindowTitle(QStringLiteral("Corvane Graphing"));
    // Input to the chart waits too, so that no command starts between a load's steps.
    setWindowModality(Qt::ApplicationModal);
    auto *label = new QLabel(QStringLiteral("Loading Data....Please Wait"), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setAlignment(Qt::AlignCenter);
    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(24, 18, 24, 18);
    box->addWidget(label);
    setFixedSize(sizeHint());

    m_timer->setSingleShot(true);
    m_timer->setInterval(1000);
    connect(m_timer.get(), &ClockTimer::timeout, this, &WaitForm::timerFired);
}

WaitForm::~WaitForm() = default;

void WaitForm::runAfterWait(std::function<void()> then)
{
    m_pending.push_back(std::move(then));
    if (m_timer->isActive())
        return;
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move(s.x() + (s.width() - width()) / 2, s.y() + (s.height() - height()) / 2);
    }
    show();
    m_timer->start();
}

void WaitForm::timerFired()
{
    // Work queued by a step runs after it, on a wait of its own.
    std::vector<std::function<void()>> work;
    work.swap(m_pending);
    for (const auto &step : work)
        step();
    if (m_pending.empty())
        hide();
}
