// The setup dialog on its own: what it hands back for what it was given and what was done
// to its controls.
#include "config/configfile.h"
#include "ui/newsetup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

namespace {

template <typename T> T *element(const NewSetup &dialog, const char *name, int index)
{
    return qobject_cast<T *>(dialog.element(QString::fromLatin1(name), index));
}

} // namespace

class TstNewSetup : public QObject
{
    Q_OBJECT
private slots:
    void eachControlEditsItsField_data();
    void eachControlEditsItsField();
    void rowRules_data();
    void rowRules();
    void graphStyleShowsItsSample();
};

// Each control against the field the file's table gives it: a value typed, checked or
// chosen there comes back in that field and in no other.
void TstNewSetup::eachControlEditsItsField_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("index"); // element of a control array, -1 for a single control
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    const char *boxes[][2] = {
        {"Text1", "RemoteHost"},
        {"Text2", "RemotePort"},
        {"Text3", "UserName"},
        {"Text4", "Password"},
        {"Text5", "UploadPath"},
        {"Text6", "TemplateFile1"},
        {"Text7", "OutputFile1"},
        {"Text8", "NwsRemoteHost"},
        {"Text9", "NwsDownloadPath"},
        {"Text10", "NwsStartKey"},
        {"Text11", "NwsEndKey"},
        {"Text12", "HourlyPageTemplate"},
        {"Text13", "TemplateFile2"},
        {"Text14", "OutputFile2"},
        {"Text16", "UploadPath2"},
        {"Text18", "DailyPageTemplate"},
        {"GHtext", "Graph[2].GraphHeader"},
        {"GFText", "Graph[3].GraphUploadPath"},
    };
    for (const auto &b : boxes)
        QTest::newRow(b[0]) << b[0] << -1 << b[1] << QVariant(QStringLiteral("typed"));
    QTest::newRow("Text15") << "Text15" << -1 << "UploadInterval" << QVariant(30);
    QTest::newRow("Text17") << "Text17" << -1 << "LoggingInterval"
                            << QVariant(QStringLiteral("12"));
    QTest::newRow("PagNumText(3)")
        << "PagNumText" << 3 << "Pagers[3].PagerNumber" << QVariant(QStringLiteral("typed"));
    QTest::newRow("PagCompNumText(0)")
        << "PagCompNumText" << 0 << "Pagers[0].CompanyNumber" << QVariant(QStringLiteral("typed"));
    QTest::newRow("ASetting(4)") << "ASetting" << 4 << "Pagers[4].AlarmSetting"
                                 << QVariant(QStringLiteral("typed"));
    QTest::newRow("PagerEnabled(2)") << "PagerEnabled" << 2 << "Pagers[2].Enabled" << QVariant(1);
    QTest::newRow("AlarmType(1)") << "AlarmType" << 1 << "Pagers[1].AlarmType" << QVariant(2);
    QTest::newRow("Check1") << "Check1" << -1 << "AutoDisconnect" << QVariant(1);
    QTest::newRow("Check2") << "Check2" << -1 << "Graph[5].UploadGraphs" << QVariant(1);
    QTest::newRow("Combo4") << "Combo4" << -1 << "Graph[1].GraphSize" << QVariant(1);
    QTest::newRow("Option1(4)") << "Option1" << 4 << "StationPort" << QVariant(5);
    QTest::newRow("Option3(7)") << "Option3" << 7 << "PagerPort" << QVariant(8);
    QTest::newRow("Option4(0)") << "Option4" << 0 << "FtpPort" << QVariant(1);
    QTest::newRow("DisplayUnits(1)") << "DisplayUnits" << 1 << "DisplayUnits" << QVariant(1);
}

void TstNewSetup::eachControlEditsItsField()
{
    QFETCH(QString, control);
    QFETCH(int, index);
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    NewSetup dialog;
    dialog.load(Configuration());
    QWidget *w = index < 0 ? dialog.findChild<QWidget *>(control) : dialog.element(control, index);
    QVERIFY2(w, qPrintable(control));
    if (auto *box = qobject_cast<QLineEdit *>(w))
        box->setText(value.toString());
    else if (auto *button = qobject_cast<QAbstractButton *>(w))
        button->click();
    else if (auto *combo = qobject_cast<QComboBox *>(w))
        combo->setCurrentIndex(value.toInt());

    const ConfigValues before = configValues(Configuration());
    const ConfigValues after = configValues(dialog.edited());
    const QList<ConfigField> &fields = configFields();
    for (int i = 0; i < ConfigValueCount; ++i) {
        if (fields.at(i).name == field)
            QCOMPARE(after.at(i), value);
        else
            QVERIFY2(after.at(i) == before.at(i), qPrintable(fields.at(i).name));
    }
}

void TstNewSetup::rowRules_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("pageType");
    QTest::addColumn<int>("alarmType");
    QTest::newRow("Temperature Alarm chosen") << "Temperature Alarm" << 3 << 1;
    QTest::newRow("Rainfall Alarm chosen") << "Rainfall Alarm" << 7 << 1;
    QTest::newRow("Daily chosen") << "Daily" << 1 << 0;
    QTest::newRow("Enabled checked") << "Enabled" << 0 << 0;
}

void TstNewSetup::rowRules()
{
    QFETCH(QString, action);
    QFETCH(int, pageType);
    QFETCH(int, alarmType);
    Configuration c;
    c.Pagers[2].Enabled = 0;
    c.Pagers[2].PageType = 5;  // "Humidity Alarm"
    c.Pagers[2].AlarmType = 2; // "Low"
    NewSetup dialog;
    dialog.load(c);
    if (action == QLatin1String("Enabled")) {
        element<QCheckBox>(dialog, "PagerEnabled", 2)->click();
    } else {
        auto *combo = element<QComboBox>(dialog, "PageType", 2);
        const int chosen = combo->findText(action);
        QVERIFY(chosen >= 0);
        combo->setCurrentIndex(chosen);
        emit combo->activated(chosen); // as the user's choice in the list
    }
    const Configuration edited = dialog.edited();
    QCOMPARE(edited.Pagers[2].PageType, QVariant(pageType));
    QCOMPARE(edited.Pagers[2].AlarmType, QVariant(alarmType));
    QCOMPARE(edited.Pagers[1].PageType, QVariant()); // other rows stay as they were
}

void TstNewSetup::graphStyleShowsItsSample()
{
    Configuration none;
    none.Graph[GraphStyle] = -1; // nothing chosen; an empty value counts as 0
    NewSetup dialog;
    dialog.load(none);
    auto *sample = dialog.findChild<QLabel *>("GraphStyleSample");
    QVERIFY(sample->pixmap().isNull());
    auto *styles = dialog.findChild<QComboBox *>("Combo2");
    styles->setCurrentIndex(0);
    const QImage standard = sample->pixmap().toImage();
    styles->setCurrentIndex(1);
    const QImage dated = sample->pixmap().toImage();
    QVERIFY(!standard.isNull() && !dated.isNull());
    QVERIFY(standard != dated);
}

QTEST_MAIN(TstNewSetup)
#include "tst_newsetup.moc"
