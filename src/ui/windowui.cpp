#include "ui/windowui.h"

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>

#include "ui/busythread.h"
#include "ui/grabdialog.h"
#include "ui/warndialog.h"

namespace {

// Texts of the program use CR for line breaks, as its message boxes did.
QString Text(const std::string& text)
{
    QString result = QString::fromStdString(text);
    result.replace("\r\n", "\n");
    result.replace('\r', '\n');
    return result;
}

}  // namespace

TWindowUserInterface::TWindowUserInterface(QMainWindow& window, TBusyThread& busy) : window(window), busy(busy)
{
}

// A box over the dialog that is waiting for the user, so that it is not hidden behind a
// dialog kept above other windows.
QWidget* TWindowUserInterface::BoxParent() const
{
    QWidget* modal = QApplication::activeModalWidget();
    return modal ? modal : &window;
}

void TWindowUserInterface::Message(const std::string& text)
{
    QMessageBox::information(BoxParent(), "Zanvik", Text(text));
}

void TWindowUserInterface::Error(const std::string& text)
{
    QMessageBox::critical(BoxParent(), "Zanvik", Text(text));
}

void TWindowUserInterface::Warning(const std::string& text)
{
    QMessageBox::warning(BoxParent(), "Zanvik", Text(text));
}

bool TWindowUserInterface::Ask(const std::string& text)
{
    return QMessageBox::question(BoxParent(), "Zanvik", Text(text), QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes;
}

bool TWindowUserInterface::Confirm(const std::string& text)
{
    return QMessageBox::warning(BoxParent(), "Zanvik", Text(text), QMessageBox::Ok | QMessageBox::Cancel)
        == QMessageBox::Ok;
}

void TWindowUserInterface::Status(const std::string& text)
{
    window.statusBar()->showMessage(Text(text));
}

void TWindowUserInterface::Title(const std::string& text)
{
    window.setWindowTitle(text.empty() ? QString("Zanvik") : Text(text));
}

void TWindowUserInterface::WarningDialog(const std::string& caption, const std::string& text)
{
    auto* dialog = new TwarnDialog(&window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->Show(Text(text).toStdString(), caption, false);
}

bool TWindowUserInterface::AskGrabNow(const std::string& url, const std::string& moment)
{
    TGrabDialog dialog(url, moment, &window);
    return dialog.Execute();
}

void TWindowUserInterface::SiteFinished(const std::string& url)
{
    if (!grabOk)
        grabOk = new TgrabOkDialog(&window);
    grabOk->ShowSite(url);
}

void TWindowUserInterface::ShowBusy(const std::string& text)
{
    busy.Show(text);
}

void TWindowUserInterface::HideBusy()
{
    busy.Hide();
}

void TWindowUserInterface::Beep()
{
    QApplication::beep();
}
