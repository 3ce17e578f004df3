// The fax device window: detects the fax modems and stores the one chosen in "FaxConfig.cfg".
#pragma once

#include <QDialog>
#include <QList>

class FaxDevice;
class QButtonGroup;
class QLabel;
class QRadioButton;

class FrmDevices : public QDialog
{
    Q_OBJECT
public:
    FrmDevices(FaxDevice &fax, const QString &programDir, QWidget *parent = nullptr);

    // Detection again, as "&Auto Configure" does.
    void autoConfigure();
    // Writes the chosen device's index, or an empty line when none is chosen.
    void save();
    // The chosen index, -1 for none.
    int selectedIndex() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void detected();

    FaxDevice &m_fax;
    QString m_programDir;
    QList<QRadioButton *> m_options;
    QButtonGroup *m_group;
    QLabel *m_status;
    bool m_opened = false;
    bool m_preselect = false;
};
