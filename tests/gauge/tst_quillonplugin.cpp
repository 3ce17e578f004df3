// The Qt Designer plugin loads and places a working Quillon1.
#include "gauge/quillon1.h"

#include <QPluginLoader>
#include <QtTest>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

class TstQuillonPlugin : public QObject
{
    Q_OBJECT
private slots:
    void loadsAndCreates();
};

void TstQuillonPlugin::loadsAndCreates()
{
    QPluginLoader loader(QStringLiteral(QUILLON_DESIGNER_PLUGIN));
    QObject *instance = loader.instance();
    QVERIFY2(instance, qPrintable(loader.errorString()));
    QCOMPARE(loader.metaData().value(QStringLiteral("IID")).toString(),
             QStringLiteral("org.qt-project.Qt.QDesignerCustomWidgetInterface"));

    auto *entry = qobject_cast<QDesignerCustomWidgetInterface *>(instance);
    QVERIFY(entry);
    QCOMPARE(entry->name(), QStringLiteral("Quillon1"));
    QCOMPARE(entry->includeFile(), QStringLiteral("quillon1.h"));
    QVERIFY(entry->domXml().contains(QStringLiteral("class=\"Quillon1\"")));
    QVERIFY(!entry->isContainer());
    QVERIFY(!entry->icon().isNull());

    QWidget form;
    auto *made = qobject_cast<Quillon1 *>(entry->createWidget(&form));
    QVERIFY(made);
    QCOMPARE(made->parentWidget(), &form);
    // The placed control is the library's own class: writes move its hand.
    made->setBaroPressure(31.0);
    QVERIFY(std::abs(made->handFreeEnd().x() - (740.0 + 560.0 * 0.5)) < 0.06);
}

QTEST_MAIN(TstQuillonPlugin)
#include "tst_quillonplugin.moc"
