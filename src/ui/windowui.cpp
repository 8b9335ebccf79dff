#include "ui/windowui.h"

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>

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

TWindowUserInterface::TWindowUserInterface(QMainWindow& window) : window(window)
{
}

void TWindowUserInterface::Message(const std::string& text)
{
    QMessageBox::information(&window, "Zanvik", Text(text));
}

void TWindowUserInterface::Error(const std::string& text)
{
    QMessageBox::critical(&window, "Zanvik", Text(text));
}

void TWindowUserInterface::Warning(const std::string& text)
{
    QMessageBox::warning(&window, "Zanvik", Text(text));
}

bool TWindowUserInterface::Ask(const std::string& text)
{
    return QMessageBox::question(&window, "Zanvik", Text(text), QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes;
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
    auto* box = new QMessageBox(QMessageBox::Warning, Text(caption), Text(text), QMessageBox::Ok, &window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

bool TWindowUserInterface::AskGrabNow(const std::string& url, const std::string& moment)
{
    QMessageBox box(QMessageBox::Question, "Zanvik", Text(url + "\r" + moment), QMessageBox::NoButton, &window);
    QAbstractButton* now = box.addButton("立即下載", QMessageBox::AcceptRole);
    box.addButton("下次下載", QMessageBox::RejectRole);
    box.exec();
    return box.clickedButton() == now;
}

void TWindowUserInterface::SiteFinished(const std::string& url)
{
    auto* box = new QMessageBox(QMessageBox::Information, "Zanvik", Text(url), QMessageBox::NoButton, &window);
    box->addButton("知道了", QMessageBox::AcceptRole);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

void TWindowUserInterface::Beep()
{
    QApplication::beep();
}
