#include "ui/windowui.h"

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QLineEdit>

#include "ui/animated.h"
#include "ui/busythread.h"
#include "ui/dbmeter.h"
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

// A control of the window by its name; the controls' classes have no meta-object of
// their own, so the name finds the widget and the class is checked by the language.
template <typename Control> Control* Named(QWidget& window, const QString& name)
{
    return dynamic_cast<Control*>(window.findChild<QWidget*>(name));
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
    statusPace.Show([this, text] {
        if (QLineEdit* line = StatusLine())
            line->setText(Text(text));
    });
}

void TWindowUserInterface::Meter(int slot, int position)
{
    std::unique_ptr<TPacedDisplay>& pace = meterPaces[slot];
    if (!pace)
        pace = std::make_unique<TPacedDisplay>(ShowIntervalMs);
    pace->Show([this, slot, position] {
        if (Tdbmeter* meter = MeterOf(slot))
            meter->SetPosition(position);
    });
}

QLineEdit* TWindowUserInterface::StatusLine()
{
    if (!statusLine)
        statusLine = Named<QLineEdit>(window, "statusLabel");
    return statusLine;
}

Tdbmeter* TWindowUserInterface::MeterOf(int slot)
{
    QPointer<Tdbmeter>& meter = meters[slot];
    if (!meter)
        meter = Named<Tdbmeter>(window, QString("dbmeter%1").arg(slot));
    return meter;
}

TAnimated* TWindowUserInterface::Animation(QPointer<TAnimated>& control, const char* name)
{
    if (!control)
        control = Named<TAnimated>(window, name);
    return control;
}

void TWindowUserInterface::Animate(bool on)
{
    if (TAnimated* animation = Animation(mainAnimation, "Animated1"))
        animation->SetPlay(on);
}

void TWindowUserInterface::BrowserAnimate(bool on)
{
    if (TAnimated* animation = Animation(browserAnimation, "Animate2"))
        animation->SetPlay(on);
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
