// Describes Quillon1 to Qt Designer and creates it on forms.
#include "quillon1plugin.h"

#include "quillon1.h"

#include <QIcon>

Quillon1Plugin::Quillon1Plugin(QObject *parent) : QObject(parent) {}

QString Quillon1Plugin::name() const
{
    return QStringLiteral("Quillon1");
}

QString Quillon1Plugin::group() const
{
    return QStringLiteral("Weather Gauges");
}

QString Quillon1Plugin::toolTip() const
{
    return QStringLiteral("Barometer dial, 29 to 31 inches of mercury");
}

QString Quillon1Plugin::whatsThis() const
{
    return QStringLiteral("A round barometer dial whose hand follows the BaroPressure property.");
}

QString Quillon1Plugin::includeFile() const
{
    return QStringLiteral("quillon1.h");
}

QIcon Quillon1Plugin::icon() const
{
    // The control's own face, so the widget box shows what will be placed.
    Quillon1 preview;
    preview.resize(64, 64);
    preview.SetHand(30.0);
    return QIcon(preview.grab());
}

bool Quillon1Plugin::isContainer() const
{
    return false;
}

QWidget *Quillon1Plugin::createWidget(QWidget *parent)
{
    return new Quillon1(parent);
}

bool Quillon1Plugin::isInitialized() const
{
    return m_initialized;
}

void Quillon1Plugin::initialize(QDesignerFormEditorInterface *)
{
    m_initialized = true;
}

QString Quillon1Plugin::domXml() const
{
    return QStringLiteral(R"(<ui language="c++">
 <widget class="Quillon1" name="Quillon1">
  <property name="geometry">
   <rect><x>0</x><y>0</y><width>100</width><height>100</height></rect>
  </property>
 </widget>
</ui>
)");
}
