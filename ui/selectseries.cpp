// The field list window of "Add Series".
#include "ui/selectseries.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

SelectSeries::SelectSeries(QWidget *parent)
    : QWidget(parent, Qt::Tool), m_list(new QListWidget(this))
{
    setObjectName(QStringLiteral("SelectSeries"));
    setWindowTitle(QStringLiteral("Select Series To Add"));
    m_list->setObjectName(QStringLiteral("List1"));
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    connect(ok, &QPushButton::clicked, this, &SelectSeries::choose);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &SelectSeries::choose);
    connect(cancel, &QPushButton::clicked, this, &QWidget::hide);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *box = new QVBoxLayout(this);
    box->addWidget(m_list, 1);
    box->addLayout(buttons);
    resize(260, 320);
}

void SelectSeries::setFields(const QStringList &fields)
{
    m_list->clear();
    m_list->addItems(fields);
}

void SelectSeries::clearFields()
{
    m_list->clear();
}

void SelectSeries::choose()
{
    const QListWidgetItem *item = m_list->currentItem();
    if (item) // nothing selected: nothing to add
        emit fieldChosen(item->text());
}
