// The chart window's file, colour and print dialogs, message boxes and input boxes, opened
// without exec().
#include "ui/chartdialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>

namespace {

const QString kTitle = QStringLiteral("Corvane Graphing");

} // namespace

void WindowChartDialogs::chooseDatabase(QWidget *parent, const QString &folder,
                                        std::function<void(const QString &)> chosen)
{
    auto *dialog = new QFileDialog(parent, QStringLiteral("Open"), folder);
    dialog->setObjectName(QStringLiteral("CommonDialog1"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    // Month files are named "JAN2026.MDB", the template "Wx_Temp.mdb".
    dialog->setNameFilters(
        {QStringLiteral("Log databases (*.MDB *.mdb)"), QStringLiteral("All files (*)")});
    QObject::connect(dialog, &QDialog::finished, dialog, [dialog, chosen](int result) {
        const QStringList files = dialog->selectedFiles();
        chosen(result == QDialog::Accepted && !files.isEmpty() ? files.constFirst() : QString());
    });
    dialog->open();
}

void WindowChartDialogs::askYesNo(QWidget *parent, const QString &question,
                                  std::function<void(bool)> answered)
{
    auto *box = new QMessageBox(QMessageBox::Question, kTitle, question,
                                QMessageBox::Yes | QMessageBox::No, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::finished, box, [box, answered](int) {
        answered(box->clickedButton() == box->button(QMessageBox::Yes));
    });
    box->open();
}

void WindowChartDialogs::askText(QWidget *parent, const QString &prompt, const QString &preset,
                                 std::function<void(const QString &)> answered)
{
    askTextTitled(parent, kTitle, prompt, preset, std::move(answered));
}

void WindowChartDialogs::askTextTitled(QWidget *parent, const QString &title, const QString &prompt,
                                       const QString &preset,
                                       std::function<void(const QString &)> answered)
{
    auto *box = new QInputDialog(parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowTitle(title);
    box->setLabelText(prompt);
    box->setTextValue(preset);
    QObject::connect(box, &QInputDialog::finished, box, [box, answered](int result) {
        answered(result == QDialog::Accepted ? box->textValue() : QString());
    });
    box->open();
}

void WindowChartDialogs::tell(QWidget *parent, const QString &message)
{
    auto *box = new QMessageBox(QMessageBox::NoIcon, kTitle, message, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void WindowChartDialogs::chooseFile(QWidget *parent, bool save, const QString &filter,
                                    const QString &suffix,
                                    std::function<void(const QString &)> chosen)
{
    auto *dialog =
        new QFileDialog(parent, save ? QStringLiteral("Save As") : QStringLiteral("Open"));
    dialog->setObjectName(QStringLiteral("CommonDialog1"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!filter.isEmpty())
        dialog->setNameFilters({filter, QStringLiteral("All files (*)")});
    dialog->setDefaultSuffix(suffix);
    QObject::connect(dialog, &QDialog::finished, dialog, [dialog, chosen](int result) {
        const QStringList files = dialog->selectedFiles();
        chosen(result == QDialog::Accepted && !files.isEmpty() ? files.constFirst() : QString());
    });
    dialog->open();
}

void WindowChartDialogs::chooseColor(QWidget *parent, const QColor &initial,
                                     std::function<void(const QColor &)> chosen)
{
    auto *dialog = new QColorDialog(initial, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QDialog::finished, dialog, [dialog, chosen](int result) {
        chosen(result == QDialog::Accepted ? dialog->selectedColor() : QColor());
    });
    dialog->open();
}

void WindowChartDialogs::choosePrinter(QWidget *parent, QPrinter *printer,
                                       std::function<void(bool)> answered)
{
    auto *dialog = new QPrintDialog(printer, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QDialog::finished, dialog,
                     [answered](int result) { answered(result == QDialog::Accepted); });
    dialog->open();
}
