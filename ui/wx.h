// The main window: current readings, gauges, forecast, status bar and every menu command.
#pragma once

#include "config/configuration.h"
#include "ui/preview.h"
#include "ui/transferlogwindow.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

class DetailWindow;
class GaugePanel;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class ReadingPanel;
class ReadingsRecord;
class StationLink;
class StatusBoard;
class TransferLog;

// Shows what it is given by reference: the readings record, the status board and the
// configuration (asked each time, so that a saved setup takes effect at once). The six
// detail windows are created hidden with it and live as long as it does; the station
// link's count and lamp come in through setCommCount() and setLampColor().
//
// Commands whose jobs live elsewhere are disabled until wireAction() gives them a handler.
class Wx : public QMainWindow
{
    Q_OBJECT
public:
    using ConfigurationSource = std::function<const Configuration &()>;

    Wx(ReadingsRecord &record, StatusBoard &status, ConfigurationSource configuration,
       QWidget *parent = nullptr);
    ~Wx() override;

    // Follows the link's receive count (CommCount), activity lamp (Label41) and the time of
    // its last decoded frame (LastFrame).
    void followStationLink(const StationLink &link);
    // The status bar's tooltip shows the newest entry; "Transfer Log" opens the window
    // listing them all. The log must outlive the window.
    void followTransferLog(const TransferLog &log);

    // A menu command by its objectName ("m_UpPage", "m_Gauges", ...); null when unknown.
    QAction *action(const QString &objectName) const;
    // Runs `handler` when the command is chosen, and enables it.
    void wireAction(const QString &objectName, std::function<void()> handler);

    // "Humidity", "Temperature", "Barometer", "Dewpoint", "Rain" or "Wind"; null otherwise
    // and after the windows were unloaded.
    DetailWindow *detailWindow(const QString &name) const;
    // The preview window while it is open.
    Preview *preview() const { return m_preview; }
    // The transfer log window once "Transfer Log" has opened it.
    TransferLogWindow *transferLogWindow() const { return m_transferLogWindow; }
    // Replaces the preview's file dialog (tests answer it without a user).
    void setPreviewFileChooser(Preview::FileChooser chooser) { m_chooseFile = std::move(chooser); }

public slots:
    // Sets every unit caption of every window from DisplayUnits, then offers the gauge
    // panel in English units only.
    void ApplyUnitCaptions();
    void setCommCount(int count);
    // Label41's BackColor in the 0x00BBGGRR form: 255 red, 0 black.
    void setLampColor(int color);
    // "Last frame hh:mm:ss", the whole date in the tooltip.
    void setLastFrameTime(const QDateTime &time);
    void setForecastText(const QString &text);
    // "View Forecast": shows the forecast box when hidden, hides it otherwise.
    void ToggleForecast();
    void showDetailWindow(const QString &name);
    // "Preview HTML".
    void ShowPreview();
    void showTransferLog();
    // "Help" > "About corvane": version, licence and program directory, without blocking.
    void showAbout();
    // "Help" > "Open Program Directory", in the desktop's file manager.
    void openProgramDirectory();
    // Closes the detail and preview windows for good.
    void unloadWindows();

signals:
    // The program should end: the window was closed (after its windows were unloaded) or
    // "E&xit" was chosen. The owner closes the station port and leaves the event loop.
    void endProgram();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    QWidget *buildCentral();
    void buildStatusBar();
    void buildMenus();
    void showReadings();
    void setGaugePanelShown(bool shown);
    QWidget *unitWindow(const QString &name) const;

    ReadingsRecord &m_record;
    StatusBoard &m_status;
    ConfigurationSource m_configuration;

    ReadingPanel *m_readings = nullptr;
    GaugePanel *m_gauges = nullptr;
    QPlainTextEdit *m_forecast = nullptr;
    QLineEdit *m_commCount = nullptr;
    QLabel *m_lamp = nullptr;
    QLabel *m_note = nullptr;
    QLabel *m_lastFrame = nullptr;
    QHash<QString, QAction *> m_actions;
    int m_heightWithGauges = 0;

    std::vector<std::unique_ptr<DetailWindow>> m_details;
    QPointer<Preview> m_preview;
    const TransferLog *m_transferLog = nullptr;
    QPointer<TransferLogWindow> m_transferLogWindow;
    QPointer<QWidget> m_about;
    Preview::FileChooser m_chooseFile;
};
